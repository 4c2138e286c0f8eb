#include "CVosticDlg.h"

#include "CCmdLineInfo.h"
#include "CTextEditor.h"
#include "DesktopOpener.h"
#include "FilePaths.h"
#include "Format.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "RunCheck.h"
#include "resource.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace vostic;

namespace {

constexpr int kHelpId = 57670;
constexpr int kExitId = 1;

// The input's directory and file name with its last extension replaced by ".log".
std::string DerivedLogName(const std::string& input)
{
    const std::size_t nameStart = input.find_last_of('/') + 1;
    const std::size_t dot = input.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    return (hasExtension ? input.substr(0, dot) : input) + ".log";
}

} // namespace

CVosticDlg::CVosticDlg(const vostic::CCmdLineInfo& cmdInfo, QWidget* parent)
    : CUtilityDlg(parent)
    , m_openInEditor(CTextEditor::Open)
    , m_edLog(MakeEdit(IDC_LOG_FILE))
    , m_edInput(MakeEdit(IDC_INPUT_FILE))
    , m_btnWriteDateTime(new QCheckBox("Write Ensemble Date/Time", this))
{
    setWindowTitle("Vostic");
    BuildControls();
    const CheckRequest given = CommandLineRequest(cmdInfo);
    SetFileName(m_edInput, given.input);
    SetFileName(m_edLog, given.log);
    Field(IDC_START_ENSEMBLE)->setText(QString::fromStdString(given.start));
    Field(IDC_END_ENSEMBLE)->setText(QString::fromStdString(given.end));
    if (cmdInfo.NamesEveryFile())
        PostAutoRun();
}

void CVosticDlg::BuildControls()
{
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    QLineEdit* start = MakeEdit(IDC_START_ENSEMBLE);
    QLineEdit* end = MakeEdit(IDC_END_ENSEMBLE);
    start->setValidator(digitsOnly);
    end->setValidator(digitsOnly);
    m_btnWriteDateTime->setObjectName(QString::number(IDC_WRITE_DATE_TIME));
    QPushButton* browseInput = MakeButton(IDC_BROWSE_INPUT, "...");
    QPushButton* browseLog = MakeButton(IDC_BROWSE_LOG, "...");

    auto* files = new QGridLayout;
    AddFileRow(files, 0, "Qel Input File Name:", m_edInput, browseInput);
    AddFileRow(files, 1, "Log File Name:", m_edLog, browseLog);
    AddRangeRows(files, 2, start, end);

    auto* statistics = new QGroupBox("File Statistics", this);
    auto* statisticsForm = new QFormLayout(statistics);
    const std::pair<const char*, int> statisticsRows[] = {
        {"First Ensmble Number:", IDC_FIRST_ENSEMBLE}, {"Last Ensmble Number:", IDC_LAST_ENSEMBLE},
        {"# of Valid Ensembles:", IDC_VALID_ENSEMBLES}, {"# of Missing Ensembles:", IDC_MISSING_ENSEMBLES},
        {"Bad BIT Result:", IDC_BAD_BIT},               {"# of Bursts:", IDC_BURSTS},
    };
    for (const auto& [label, id] : statisticsRows)
        statisticsForm->addRow(label, AddStatisticsField(id));

    auto* options = new QGroupBox("Options", this);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(m_btnWriteDateTime);

    QPushButton* check = MakeButton(IDC_CHECK, "&Check");
    check->setDefault(true);
    QPushButton* viewLog = MakeButton(IDC_VIEW_LOG, "&View Log");
    QPushButton* help = MakeButton(kHelpId, "&Help");
    QPushButton* exit = MakeButton(kExitId, "&Exit");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {check, viewLog, help, exit})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* lower = new QHBoxLayout;
    lower->addWidget(statistics);
    auto* right = new QVBoxLayout;
    right->addWidget(options);
    right->addLayout(buttons);
    lower->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(lower);

    connect(browseInput, &QPushButton::clicked, this, &CVosticDlg::OnBrowseInput);
    ConnectBrowse(browseLog, FileKind::Output, m_edLog);
    connect(check, &QPushButton::clicked, this, &CVosticDlg::OnCheck);
    connect(viewLog, &QPushButton::clicked, this, &CVosticDlg::OnViewLog);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

QLineEdit* CVosticDlg::AddStatisticsField(int id)
{
    QLineEdit* field = MakeEdit(id);
    MakeReadOnly(field);
    return field;
}

void CVosticDlg::OnBrowseInput()
{
    if (!BrowseFile(FileKind::Input, m_edInput) || !m_edLog->text().isEmpty())
        return;
    m_strLogFile = DerivedLogName(FileName(m_edInput));
    SetFileName(m_edLog, m_strLogFile);
    SaveLastOutputFileName(m_strLogFile);
}

void CVosticDlg::OnCheck()
{
    m_bWriteDateTime = m_btnWriteDateTime->isChecked();
    CheckRequest request;
    request.input = FileName(m_edInput);
    request.log = FileName(m_edLog);
    request.start = FieldText(IDC_START_ENSEMBLE);
    request.end = FieldText(IDC_END_ENSEMBLE);
    request.writeDateTime = m_bWriteDateTime;
    RunCheck(*this, request,
             {[this] { ClearStatistics(); },
              [this](const CVosticCheck& check) {
                  m_strLogFile = check.m_strLogFile;
                  if (check.m_nValidEnsembles != 0)
                      ShowStatistics(check);
              }});
}

void CVosticDlg::OnViewLog()
{
    // A name typed relative to the working directory is made absolute for the
    // editor, which may run elsewhere; no name starts it without a file.
    const std::string path = m_strLogFile.empty() ? m_strLogFile : platform::FullPath(m_strLogFile);
    if (m_openInEditor(path))
        return;
    if (path.empty())
        platform::ShowMessage(IDS_NO_TEXT_EDITOR);
    else
        platform::ShowMessage(platform::Format(platform::kMsgNoApplication, path.c_str()));
}

void CVosticDlg::ClearStatistics()
{
    for (int id : {IDC_VALID_ENSEMBLES, IDC_MISSING_ENSEMBLES, IDC_BAD_BIT, IDC_FIRST_ENSEMBLE, IDC_LAST_ENSEMBLE,
                   IDC_BURSTS})
        Field(id)->clear();
}

void CVosticDlg::ShowStatistics(const CVosticCheck& check)
{
    const std::pair<int, long long> values[] = {
        {IDC_VALID_ENSEMBLES, check.m_nValidEnsembles}, {IDC_MISSING_ENSEMBLES, check.m_nMissingEnsembles},
        {IDC_BAD_BIT, check.m_nBadBitEnsembles},        {IDC_BURSTS, check.m_nBursts},
        {IDC_FIRST_ENSEMBLE, check.FirstNumber()},      {IDC_LAST_ENSEMBLE, check.LastNumber()},
    };
    for (const auto& [id, value] : values)
        Field(id)->setText(QString::number(value));
}
