#include "CUtilityDlg.h"

#include "CAboutDlg.h"
#include "CProcessingDlg.h"
#include "CSelectFileDlg.h"
#include "FileDialogFilters.h"
#include "FileNameText.h"
#include "Format.h"
#include "HeadlessPlatform.h"
#include "HelpPage.h"
#include "LayoutTabOrder.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "OutOfMemory.h"
#include "ProgramIcon.h"
#include "StreamWait.h"
#include "StreamWaitProgress.h"

#include <QAbstractButton>
#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>

namespace {
const char* const kSelectTitle = "Select";
const char* const kAllFilesFilter = "All Files (*.*)|*.*||";
const char* const kDecoderFilter = "Decoder Files (*.dec)|*.dec|All Files (*.*)|*.*||";
// Room for a typical full path in a file name field.
constexpr int kFileFieldCharacters = 48;

struct FileKindInfo {
    unsigned flags;
    const char* filter;
    std::string (*getLast)();
    void (*saveLast)(const std::string&);
};

FileKindInfo InfoOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Output:
        return {OFN_HIDEREADONLY, kAllFilesFilter, GetLastOutputFileName, SaveLastOutputFileName};
    case FileKind::Decoder:
        return {OFN_FILEMUSTEXIST, kDecoderFilter, GetLastDecoderFileName, SaveLastDecoderFileName};
    case FileKind::Ascii:
        return {OFN_FILEMUSTEXIST, kAllFilesFilter, GetLastAsciiFileName, SaveLastAsciiFileName};
    case FileKind::Input:
    default:
        return {OFN_FILEMUSTEXIST, kAllFilesFilter, GetLastInputFileName, SaveLastInputFileName};
    }
}
} // namespace

CUtilityDlg::CUtilityDlg(QWidget* parent)
    : QDialog(parent)
    , m_aboutAction(new QAction(
          QString::fromStdString(platform::Format("&About %s...", platform::ProgramName().c_str())), this))
{
    m_aboutAction->setObjectName("16");
    addAction(m_aboutAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_aboutAction, &QAction::triggered, this, &CUtilityDlg::OnAbout);
    setWindowIcon(ProgramIcon());
}

int CUtilityDlg::ExitStatus() const
{
    if (!m_bAutoRun)
        return 0;
    return m_bRunEndedNormally && !m_bRunCancelled && platform::MessagesShown() == 0 ? 0 : 1;
}

void CUtilityDlg::setVisible(bool visible)
{
    if (visible && !m_bArranged) {
        m_bArranged = true;
        ArrangeForKeyboard();
    }
    QDialog::setVisible(visible);
}

void CUtilityDlg::ArrangeForKeyboard()
{
    if (QLayout* grid = layout())
        grid->setSizeConstraint(QLayout::SetFixedSize);
    if (QWidget* first = ChainTabsInLayoutOrder(this))
        first->setFocus(Qt::OtherFocusReason);
    // A text field has a context menu of its own, which the dialog's would
    // not reach: the About entry joins it, so the Menu key finds it anywhere.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QWidget::customContextMenuRequested, this,
                [this, field](const QPoint& position) { ShowFieldMenu(field, position); });
    }
}

void CUtilityDlg::ShowFieldMenu(QLineEdit* field, const QPoint& position)
{
    QMenu* menu = field->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(m_aboutAction);
    menu->popup(field->mapToGlobal(position));
}

void CUtilityDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CUtilityDlg::OnHelp()
{
    platform::ShowHelpPage();
}

void CUtilityDlg::PostAutoRun()
{
    m_bAutoRun = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (auto* run = findChild<QAbstractButton*>("1007"))
                run->click();
        },
        Qt::QueuedConnection);
}

void CUtilityDlg::FinishRun(bool endedNormally)
{
    m_bRunEndedNormally = endedNormally;
    if (!m_bAutoRun)
        return;
    if (endedNormally)
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    else if (platform::IsHeadless())
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

bool CUtilityDlg::BrowseFile(FileKind kind, QLineEdit* field)
{
    FileKindInfo info = InfoOf(kind);
    CSelectFileDlg dialog(kSelectTitle, true, "", FileName(field), info.flags, info.filter);
    dialog.SetInitialDir(platform::DirectoryOfName(info.getLast()));
    if (dialog.DoModal() != platform::IDOK)
        return false;
    std::string path = dialog.GetPathName();
    SetFileName(field, path);
    info.saveLast(path);
    return true;
}

void CUtilityDlg::ConnectBrowse(QPushButton* button, FileKind kind, QLineEdit* field)
{
    connect(button, &QPushButton::clicked, this, [this, kind, field] { BrowseFile(kind, field); });
}

void CUtilityDlg::RunWithProgress(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run)
{
    m_bRunCancelled = false;
    FinishRun(RunUnlessOutOfMemory([&] { return OpenAndRun(open, run); }));
}

bool CUtilityDlg::IsHeadlessAutoRun() const
{
    return m_bAutoRun && platform::IsHeadless();
}

bool CUtilityDlg::OpenAndRun(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run)
{
    CProcessingDlg progress;
    StreamWaitProgress waitProgress(progress, this);
    const StreamWait waits(waitProgress);
    const platform::MessageFilter afterCancelledWait(&StreamWait::WasCancelled);
    const bool endedNormally = open() && progress.Create(this) && run(progress);
    m_bRunCancelled = progress.IsStopped();
    // A Cancel during a wait for a stream's peer ends the run as any Cancel does.
    return endedNormally || StreamWait::WasCancelled();
}

void CUtilityDlg::SetFileName(QLineEdit* field, const std::string& name)
{
    field->setText(platform::NameToText(name));
}

std::string CUtilityDlg::FileName(const QLineEdit* field)
{
    return platform::NameFromText(field->text());
}

QPushButton* CUtilityDlg::MakeButton(int id, const char* text)
{
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* CUtilityDlg::MakeEdit(int id)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    return edit;
}

QLineEdit* CUtilityDlg::Field(int id) const
{
    return findChild<QLineEdit*>(QString::number(id));
}

std::string CUtilityDlg::FieldText(int id) const
{
    return Field(id)->text().toStdString();
}

void CUtilityDlg::AddFileRow(QGridLayout* grid, int row, const char* label, QLineEdit* field, QPushButton* browse,
                             int fieldColumns)
{
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kFileFieldCharacters);
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(field, row, 1, 1, fieldColumns);
    grid->addWidget(browse, row, 1 + fieldColumns);
}

void CUtilityDlg::AddRangeRows(QGridLayout* grid, int row, QLineEdit* start, QLineEdit* end)
{
    grid->addWidget(new QLabel("Start Ensemble Number:", this), row, 0);
    grid->addWidget(start, row, 1);
    grid->addWidget(new QLabel("(0 = begining of the file)", this), row, 2);
    grid->addWidget(new QLabel("End Ensemble Number:", this), row + 1, 0);
    grid->addWidget(end, row + 1, 1);
    grid->addWidget(new QLabel("(0 = end of the file)", this), row + 1, 2);
}

QHBoxLayout* CUtilityDlg::ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

void CUtilityDlg::MakeReadOnly(QLineEdit* field)
{
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
}
