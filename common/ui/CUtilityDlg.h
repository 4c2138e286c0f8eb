#pragma once
#include "IRunHost.h"

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <string>

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// The kinds of file a browse button chooses; each has its filter, its flags
// and its "Last ... File Name" value.
enum class FileKind { Input, Output, Decoder, Ascii };

// Base of every utility's main dialog: the "&About <Program>..." context-menu
// entry (object name "16"), the window icon, help, browse buttons, the
// auto-run (posted click of 1007, close at a normal end) and the exit status.
// When first shown it keeps the size its layout gives it, chains Tab row by
// row as the layout reads and starts in the first field.
class CUtilityDlg : public QDialog, public IRunHost {
    Q_OBJECT
public:
    explicit CUtilityDlg(QWidget* parent = nullptr);

    // Set by PostAutoRun: the command line named every file the run needs.
    bool m_bAutoRun = false;

    // 0 unless an auto-run ended on an error, was cancelled or showed a message.
    int ExitStatus() const;

    QAction* AboutAction() const { return m_aboutAction; }

    void setVisible(bool visible) override;

    // One run under the progress window: `open` (false: it has shown its
    // message), the progress window (disabling this dialog), then `run`, whose
    // result ends the run. Every path ends in exactly one FinishRun. A wait
    // for a stream's peer, in `open` too, shows the window; a Cancel there
    // ends the run as any Cancel does, without a message blaming a file.
    // Memory that cannot be had ends the run with a message.
    void RunWithProgress(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run) override;
    bool IsHeadlessAutoRun() const override;

public slots:
    void OnAbout();
    // Opens the help page (button 57670), or says what is missing.
    void OnHelp();

protected:
    // Posts a click of the run button "1007" (a queued invocation) and sets
    // m_bAutoRun. Call at the end of the constructor.
    void PostAutoRun();
    // Every run ends here. A normal end (Cancel included) of an auto-run posts
    // IDOK, closing the program; an error end leaves the dialog open, except
    // headless, where the program ends with status 1.
    void FinishRun(bool endedNormally);
    // The browse button of a field: "Select" dialog on the field's text,
    // starting in the last name's directory; OK puts the full path into the
    // field and stores it as the last name of its kind. False when cancelled.
    bool BrowseFile(FileKind kind, QLineEdit* field);
    // A click of `button` browses for a file of `kind` into `field`.
    void ConnectBrowse(QPushButton* button, FileKind kind, QLineEdit* field);

    // Child controls named by their control id (not default buttons).
    QPushButton* MakeButton(int id, const char* text);
    QLineEdit* MakeEdit(int id);
    // The line edit with control id `id`, and its text.
    QLineEdit* Field(int id) const;
    std::string FieldText(int id) const;
    // A file name field shows the name's bytes as text and gives back those
    // very bytes, whatever they are.
    static void SetFileName(QLineEdit* field, const std::string& name);
    static std::string FileName(const QLineEdit* field);

    // A file name row: label, `field` over `fieldColumns` columns, `browse` after them.
    void AddFileRow(QGridLayout* grid, int row, const char* label, QLineEdit* field, QPushButton* browse,
                    int fieldColumns = 2);
    // The start and end ensemble number rows, from `row` on, each with its note.
    void AddRangeRows(QGridLayout* grid, int row, QLineEdit* start, QLineEdit* end);
    // The buttons in a row at the right, in the given order.
    static QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
    // A field the program writes: it looks read-only and Tab passes it by
    // (a click still selects its text for copying).
    static void MakeReadOnly(QLineEdit* field);

private:
    // Fixed size, Tab chain and start focus from the finished layout; the
    // About entry in the text fields' own context menus.
    void ArrangeForKeyboard();
    // RunWithProgress up to the run's end: true when it ended normally.
    bool OpenAndRun(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run);
    void ShowFieldMenu(QLineEdit* field, const QPoint& position);

    QAction* m_aboutAction;
    bool m_bRunEndedNormally = false;
    bool m_bRunCancelled = false;
    bool m_bArranged = false;
};
