#pragma once
#include <QDialog>

#include <vector>

class CPropertyPage;
class QPushButton;
class QStackedWidget;
class QTabWidget;

// Pages shown together: as a property sheet (tabs with OK, Cancel and Apply)
// or as a wizard (one page at a time with Back, Next, Finish and Cancel).
class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Sheet, Wizard };

    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;
    static constexpr int kIdApplyNow = 12321;
    static constexpr int kIdWizBack = 12323;
    static constexpr int kIdWizNext = 12324;
    static constexpr int kIdWizFinish = 12325;

    explicit CPropertySheet(Mode mode, QWidget* parent = nullptr);

    // The sheet shows the page; the caller keeps ownership and keeps it
    // alive as long as the sheet.
    void AddPage(CPropertyPage* page);
    // IDOK or IDCANCEL as a sheet; ID_WIZFINISH or IDCANCEL as a wizard.
    int DoModal();

    // Shows the Finish button with that text and hides Back and Next.
    void SetFinishText(const QString& text);
    int ActiveIndex() const;
    CPropertyPage* ActivePage() const;

private:
    QPushButton* AddButton(int id, const QString& text);
    void ShowPage(int index);
    void OnBack();
    void OnNext();
    void OnFinish();
    void OnOk();
    void OnApplyNow();
    bool ApplyAll();
    void UpdateWizardButtons();

    Mode m_mode;
    std::vector<CPropertyPage*> m_pages;
    QTabWidget* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_apply = nullptr;
};
