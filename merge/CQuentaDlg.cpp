#include "CQuentaDlg.h"

#include "CCmdLineInfo.h"
#include "CMergeRun.h"
#include "CProcessingDlg.h"
#include "Format.h"
#include "HeadlessPlatform.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "resource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace quenta;

namespace {

QString IdName(int id)
{
    return QString::number(id);
}

QPushButton* MakeButton(QWidget* parent, const char* text, int id)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(IdName(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CQuentaDlg::CQuentaDlg(const CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
{
    setWindowTitle(kCaption);
    auto* grid = new QGridLayout(this);
    m_edInput = AddFileRow(grid, 0, "Qel Input File Name:", IDC_INPUT, IDC_BROWSE_INPUT);
    m_edDecoder = AddFileRow(grid, 1, "Decoder File Name:", IDC_DECODER, IDC_BROWSE_DECODER);
    m_edAscii = AddFileRow(grid, 2, "ASCII File Name:", IDC_ASCII, IDC_BROWSE_ASCII);
    m_edOutput = AddFileRow(grid, 3, "Qel Output File Name:", IDC_OUTPUT, IDC_BROWSE_OUTPUT);
    m_edStart = AddNumberRow(grid, 4, "Start Ensemble Number:", "(0 = begining of the file)", IDC_START);
    m_edEnd = AddNumberRow(grid, 5, "End Ensemble Number:", "(0 = end of the file)", IDC_END);
    AddButtons(grid, 6);

    connect(findChild<QPushButton*>(IdName(IDC_BROWSE_INPUT)), &QPushButton::clicked, this, &CQuentaDlg::OnBrowseInput);
    connect(findChild<QPushButton*>(IdName(IDC_BROWSE_DECODER)), &QPushButton::clicked, this, &CQuentaDlg::OnBrowseDecoder);
    connect(findChild<QPushButton*>(IdName(IDC_BROWSE_ASCII)), &QPushButton::clicked, this, &CQuentaDlg::OnBrowseAscii);
    connect(findChild<QPushButton*>(IdName(IDC_BROWSE_OUTPUT)), &QPushButton::clicked, this, &CQuentaDlg::OnBrowseOutput);

    FillFields(cmdInfo);
    if (!cmdInfo.m_strInput.empty() && !cmdInfo.m_strOutput.empty() && !cmdInfo.m_strDecoder.empty()
        && !cmdInfo.m_strAscii.empty())
        PostAutoRun();
}

QLineEdit* CQuentaDlg::AddFileRow(QGridLayout* grid, int row, const char* label, int editId, int browseId)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(IdName(editId));
    edit->setMinimumWidth(320);
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    grid->addWidget(MakeButton(this, "...", browseId), row, 3);
    return edit;
}

QLineEdit* CQuentaDlg::AddNumberRow(QGridLayout* grid, int row, const char* label, const char* note, int editId)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(IdName(editId));
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(note), this), row, 2);
    return edit;
}

void CQuentaDlg::AddButtons(QGridLayout* grid, int row)
{
    QPushButton* merge = MakeButton(this, "&Merge", IDC_MERGE);
    QPushButton* help = MakeButton(this, "&Help", ID_HELP);
    QPushButton* exit = MakeButton(this, "&Exit", IDOK);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(merge);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(exit);
    grid->addLayout(buttons, row, 0, 1, 4);
    connect(merge, &QPushButton::clicked, this, &CQuentaDlg::OnMerge);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void CQuentaDlg::FillFields(const CCmdLineInfo& cmdInfo)
{
    m_edInput->setText(QString::fromStdString(cmdInfo.m_strInput));
    m_edOutput->setText(QString::fromStdString(cmdInfo.m_strOutput));
    m_edDecoder->setText(QString::fromStdString(cmdInfo.m_strDecoder));
    m_edAscii->setText(QString::fromStdString(cmdInfo.m_strAscii));
    m_edStart->setText("0");
    m_edEnd->setText("0");
    if (cmdInfo.m_strDecoder.empty())
        m_edDecoder->setText(QString::fromStdString(GetLastDecoderFileName()));
}

void CQuentaDlg::OnBrowseInput()
{
    BrowseFile(FileKind::Input, m_edInput);
}

void CQuentaDlg::OnBrowseDecoder()
{
    BrowseFile(FileKind::Decoder, m_edDecoder);
}

void CQuentaDlg::OnBrowseAscii()
{
    BrowseFile(FileKind::Ascii, m_edAscii);
}

void CQuentaDlg::OnBrowseOutput()
{
    BrowseFile(FileKind::Output, m_edOutput);
}

MergeFields CQuentaDlg::FieldTexts() const
{
    return {m_edInput->text().toStdString(), m_edOutput->text().toStdString(),
            m_edDecoder->text().toStdString(), m_edAscii->text().toStdString(),
            m_edStart->text().toStdString(), m_edEnd->text().toStdString()};
}

void CQuentaDlg::OnMerge()
{
    const MergeFields fields = FieldTexts();
    CMergeRun run(fields);
    if (!run.Open()) {
        FinishRun(false);
        return;
    }
    CProcessingDlg progress;
    if (!progress.Create(this)) {
        FinishRun(false);
        return;
    }
    const CMergeRun::Outcome outcome = run.Merge(progress);
    if (outcome == CMergeRun::Outcome::AsciiExhausted && m_bAutoRun && platform::IsHeadless())
        platform::ShowMessage(platform::Format(kMsgAsciiRanOut, fields.ascii.c_str()));
    FinishRun(outcome == CMergeRun::Outcome::NormalEnd);
}
