#include "CVosticDlg.h"

#include "CCmdLineInfo.h"
#include "CProcessingDlg.h"
#include "CVosticCheck.h"
#include "Format.h"
#include "LastFileNames.h"
#include "resource.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kHelpId = 57670;
constexpr int kExitId = 1;

QString IdName(int id)
{
    return QString::number(id);
}

// The desktop's opener for the file's type (a text editor for a report),
// started with the path as an argument, never through a shell.
void OpenWithDesktop(const std::string& path)
{
    if (!path.empty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

// The input's directory and file name with its last extension replaced by ".log".
std::string DerivedLogName(const std::string& input)
{
    const std::size_t nameStart = input.find_last_of('/') + 1;
    const std::size_t dot = input.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    return (hasExtension ? input.substr(0, dot) : input) + ".log";
}

QPushButton* AddButton(QWidget* parent, int id, const char* text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(IdName(id));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* AddEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(IdName(id));
    return edit;
}

} // namespace

CVosticDlg::CVosticDlg(const CCmdLineInfo& cmdInfo, QWidget* parent)
    : CUtilityDlg(parent)
    , m_openInEditor(OpenWithDesktop)
    , m_edLog(AddEdit(this, IDC_LOG_FILE))
    , m_edInput(AddEdit(this, IDC_INPUT_FILE))
    , m_btnWriteDateTime(new QCheckBox("Write Ensemble Date/Time", this))
{
    setWindowTitle("Vostic");
    BuildControls();
    m_edInput->setText(QString::fromStdString(cmdInfo.m_strInput));
    m_edLog->setText(QString::fromStdString(cmdInfo.m_strOutput));
    Field(IDC_START_ENSEMBLE)->setText(
        QString::number(CVosticCheck::NumberFromText(cmdInfo.m_strStart)));
    Field(IDC_END_ENSEMBLE)->setText(QString::number(CVosticCheck::NumberFromText(cmdInfo.m_strEnd)));
    if (!cmdInfo.m_strInput.empty() && !cmdInfo.m_strOutput.empty())
        PostAutoRun();
}

void CVosticDlg::BuildControls()
{
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    QLineEdit* start = AddEdit(this, IDC_START_ENSEMBLE);
    QLineEdit* end = AddEdit(this, IDC_END_ENSEMBLE);
    start->setValidator(digitsOnly);
    end->setValidator(digitsOnly);
    m_btnWriteDateTime->setObjectName(IdName(IDC_WRITE_DATE_TIME));
    QPushButton* browseInput = AddButton(this, IDC_BROWSE_INPUT, "...");
    QPushButton* browseLog = AddButton(this, IDC_BROWSE_LOG, "...");

    auto* files = new QGridLayout;
    files->addWidget(new QLabel("Qel Input File Name:", this), 0, 0);
    files->addWidget(m_edInput, 0, 1, 1, 2);
    files->addWidget(browseInput, 0, 3);
    files->addWidget(new QLabel("Log File Name:", this), 1, 0);
    files->addWidget(m_edLog, 1, 1, 1, 2);
    files->addWidget(browseLog, 1, 3);
    files->addWidget(new QLabel("Start Ensemble Number:", this), 2, 0);
    files->addWidget(start, 2, 1);
    files->addWidget(new QLabel("(0 = begining of the file)", this), 2, 2);
    files->addWidget(new QLabel("End Ensemble Number:", this), 3, 0);
    files->addWidget(end, 3, 1);
    files->addWidget(new QLabel("(0 = end of the file)", this), 3, 2);

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

    QPushButton* check = AddButton(this, IDC_CHECK, "&Check");
    check->setDefault(true);
    QPushButton* viewLog = AddButton(this, IDC_VIEW_LOG, "&View Log");
    QPushButton* help = AddButton(this, kHelpId, "&Help");
    QPushButton* exit = AddButton(this, kExitId, "&Exit");
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
    connect(browseLog, &QPushButton::clicked, this, &CVosticDlg::OnBrowseLog);
    connect(check, &QPushButton::clicked, this, &CVosticDlg::OnCheck);
    connect(viewLog, &QPushButton::clicked, this, &CVosticDlg::OnViewLog);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

QLineEdit* CVosticDlg::AddStatisticsField(int id)
{
    QLineEdit* field = AddEdit(this, id);
    field->setReadOnly(true);
    return field;
}

QLineEdit* CVosticDlg::Field(int id) const
{
    return findChild<QLineEdit*>(IdName(id));
}

void CVosticDlg::OnBrowseInput()
{
    if (!BrowseFile(FileKind::Input, m_edInput) || !m_edLog->text().isEmpty())
        return;
    m_strLogFile = DerivedLogName(m_edInput->text().toStdString());
    m_edLog->setText(QString::fromStdString(m_strLogFile));
    SaveLastOutputFileName(m_strLogFile);
}

void CVosticDlg::OnBrowseLog()
{
    BrowseFile(FileKind::Output, m_edLog);
}

void CVosticDlg::OnCheck()
{
    m_bWriteDateTime = m_btnWriteDateTime->isChecked();
    CheckRequest request;
    request.input = m_edInput->text().toStdString();
    request.log = m_edLog->text().toStdString();
    request.start = Field(IDC_START_ENSEMBLE)->text().toStdString();
    request.end = Field(IDC_END_ENSEMBLE)->text().toStdString();
    request.writeDateTime = m_bWriteDateTime;

    CVosticCheck check;
    if (!check.AcceptNames(request)) {
        FinishRun(false);
        return;
    }
    ClearStatistics();
    if (!check.OpenFiles()) {
        FinishRun(false);
        return;
    }
    CProcessingDlg progress;
    if (!progress.Create(this)) {
        FinishRun(false);
        return;
    }
    const CheckOutcome outcome = check.Run(progress);
    m_strLogFile = check.m_strLogFile;
    if (check.m_nValidEnsembles != 0)
        ShowStatistics(check);
    FinishRun(outcome == CheckOutcome::Completed);
}

void CVosticDlg::OnViewLog()
{
    m_openInEditor(m_strLogFile);
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
