#include "CScListDG.h"

#include "CTerminalSettings.h"
#include "CSaveComboBox.h"
#include "FileDialogFilters.h"
#include "FileNameText.h"
#include "Messages.h"
#include "Settings.h"
#include "resource.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace parlim;

namespace {

constexpr const char* kScriptFilter =
    "Text (*.txt)|*.txt|Script (*.scr)|*.scr|QSV Script (*.qvs)|*.qvs|All Files (*.*)|*.*||";
constexpr const char* kLogFilter = "Text (*.txt)|*.txt|All Files (*.*)|*.*||";
// The recent lists (value name prefixes) of script files and of log files.
constexpr const char* kScriptList = "SCBS";
constexpr const char* kLogList = "SCBL";

QString StartDirectory(const char* valueName)
{
    return platform::NameToText(platform::DirectoryOfName(platform::GetProfileString(kSectionSettings, valueName)));
}

} // namespace

CScListDG::CScListDG(CTerminalSettings& settings, bool scriptMode, bool hideCheck, QWidget* parent)
    : COkCancelDialog(kDialogId, "Recent Files", parent), m_settings(settings),
      m_checkBox(new QCheckBox("&Error Checking On Script Files", this)),
      m_label(new QLabel("&Select A Script File", this)),
      m_combo(new CSaveComboBox(kSectionSettings, scriptMode ? kScriptList : kLogList, this)),
      m_bScriptMode(scriptMode), m_bHideCheck(hideCheck)
{
    m_label->setObjectName(QString::number(kLabelId));
    m_label->setBuddy(m_combo);
    m_combo->setObjectName(QString::number(kComboId));
    auto* browse = new QPushButton("&Browse...", this);
    browse->setObjectName(QString::number(kBrowseId));
    m_checkBox->setObjectName(QString::number(kCheckId));
    CreateOkCancel();

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label, 0, 0, 1, 3);
    layout->addWidget(m_combo, 1, 0, 1, 2);
    layout->addWidget(browse, 1, 2);
    layout->addWidget(m_checkBox, 2, 0, 1, 3);
    layout->addWidget(m_ok, 3, 1);
    layout->addWidget(m_cancel, 3, 2);
    layout->setColumnStretch(0, 1);
    setMinimumWidth(430);

    // The keyboard meets the name first, as in the dialog's template.
    setTabOrder(m_combo, browse);
    setTabOrder(browse, m_checkBox);
    setTabOrder(m_checkBox, m_ok);
    setTabOrder(m_ok, m_cancel);
    connect(browse, &QPushButton::clicked, this, &CScListDG::OnBrowse);
    OnInitDialog();
}

CScListDG::~CScListDG() = default;

void CScListDG::OnInitDialog()
{
    if (m_bScriptMode) {
        m_checkBox->setChecked(m_settings.GetScriptErrorCheck());
    } else {
        setWindowTitle("Recent Log Files");
        m_label->setText("&Select Log File");
        m_checkBox->setText("&OverWrite Log File");
        m_checkBox->setChecked(m_settings.GetOverwriteLog());
    }
    if (m_bHideCheck) {
        m_checkBox->setEnabled(false);
        m_checkBox->hide();
    }
    m_combo->setFocus();
}

void CScListDG::OnOK()
{
    const QString text = m_combo->currentText();
    m_strFile = platform::NameFromText(text);
    if (text.isEmpty()) {
        platform::ShowMessage(kCannotBeBlank, platform::MB_OK | platform::MB_ICONEXCLAMATION);
        m_combo->setFocus();
        return;
    }
    if (!m_bHideCheck) {
        if (m_bScriptMode)
            m_settings.CurrentSlot().m_bScriptErrorCheck = m_checkBox->isChecked() ? 1 : 0;
        else
            m_settings.SetOverwriteLog(m_checkBox->isChecked());
    }
    m_combo->AddToTop(0, text);
    accept();
}

void CScListDG::done(int result)
{
    // The recent list is written when the dialog closes, OK or Cancel.
    m_combo->OnDestroy();
    QDialog::done(result);
}

void CScListDG::OnBrowse()
{
    if (m_bScriptMode)
        BrowseScript();
    else
        BrowseLog();
    // Typing and Enter go on with the name, not with another browse.
    m_combo->setFocus();
}

void CScListDG::BrowseScript()
{
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = platform::NameFiltersFromTable(kScriptFilter);
    dialog.setNameFilters(filters);
    const int filterIndex = platform::GetProfileInt(kSectionSettings, kValueFilterIndex, 1);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (!ChooseFile(dialog, kValueScriptPath))
        return;
    platform::WriteProfileInt(kSectionSettings, kValueFilterIndex,
                              static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
}

void CScListDG::BrowseLog()
{
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("txt");
    dialog.setNameFilters(platform::NameFiltersFromTable(kLogFilter));
    ChooseFile(dialog, kValueLogPath);
}

bool CScListDG::ChooseFile(QFileDialog& dialog, const char* directoryValue)
{
    const QString directory = StartDirectory(directoryValue);
    if (!directory.isEmpty())
        dialog.setDirectory(directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_combo->setEditText(platform::NameToText(platform::NameFromDialogText(dialog.selectedFiles().front())));
    return true;
}
