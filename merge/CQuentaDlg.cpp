#include "CQuentaDlg.h"

#include "CCmdLineInfo.h"
#include "CMergeRun.h"
#include "Format.h"
#include "HeadlessPlatform.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "TextLineLimit.h"
#include "resource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace quenta;

CQuentaDlg::CQuentaDlg(const CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
{
    setWindowTitle(kCaption);
    auto* grid = new QGridLayout(this);
    m_edInput = AddFileField(grid, 0, "Qel Input File Name:", IDC_INPUT, IDC_BROWSE_INPUT, FileKind::Input);
    m_edDecoder = AddFileField(grid, 1, "Decoder File Name:", IDC_DECODER, IDC_BROWSE_DECODER, FileKind::Decoder);
    m_edAscii = AddFileField(grid, 2, "ASCII File Name:", IDC_ASCII, IDC_BROWSE_ASCII, FileKind::Ascii);
    m_edOutput = AddFileField(grid, 3, "Qel Output File Name:", IDC_OUTPUT, IDC_BROWSE_OUTPUT, FileKind::Output);
    m_edStart = MakeEdit(IDC_START);
    m_edEnd = MakeEdit(IDC_END);
    AddRangeRows(grid, 4, m_edStart, m_edEnd);
    AddButtons(grid, 6);

    FillFields(cmdInfo);
    if (!cmdInfo.m_strInput.empty() && !cmdInfo.m_strOutput.empty() && !cmdInfo.m_strDecoder.empty()
        && !cmdInfo.m_strAscii.empty())
        PostAutoRun();
}

QLineEdit* CQuentaDlg::AddFileField(QGridLayout* grid, int row, const char* label, int editId, int browseId,
                                    FileKind kind)
{
    QLineEdit* edit = MakeEdit(editId);
    edit->setMinimumWidth(320);
    QPushButton* browse = MakeButton(browseId, "...");
    AddFileRow(grid, row, label, edit, browse);
    ConnectBrowse(browse, kind, edit);
    return edit;
}

void CQuentaDlg::AddButtons(QGridLayout* grid, int row)
{
    QPushButton* merge = MakeButton(IDC_MERGE, "&Merge");
    QPushButton* help = MakeButton(ID_HELP, "&Help");
    QPushButton* exit = MakeButton(IDOK, "&Exit");
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
    SetFileName(m_edInput, cmdInfo.m_strInput);
    SetFileName(m_edOutput, cmdInfo.m_strOutput);
    SetFileName(m_edDecoder, cmdInfo.m_strDecoder);
    SetFileName(m_edAscii, cmdInfo.m_strAscii);
    m_edStart->setText("0");
    m_edEnd->setText("0");
    if (cmdInfo.m_strDecoder.empty())
        SetFileName(m_edDecoder, GetLastDecoderFileName());
}

MergeFields CQuentaDlg::FieldTexts() const
{
    return {FileName(m_edInput), FileName(m_edOutput), FileName(m_edDecoder), FileName(m_edAscii),
            m_edStart->text().toStdString(), m_edEnd->text().toStdString()};
}

void CQuentaDlg::ReportAsciiEnd(CMergeRun::Outcome outcome, const std::string& ascii)
{
    if (outcome == CMergeRun::Outcome::AsciiExhausted)
        platform::ShowMessage(platform::Format(kMsgAsciiRanOut, ascii.c_str()));
    else if (outcome == CMergeRun::Outcome::AsciiLineTooLong)
        platform::ShowMessage(platform::Format(kMsgAsciiLineTooLong, ascii.c_str(), kMaxTextLineBytes));
}

void CQuentaDlg::OnMerge()
{
    const MergeFields fields = FieldTexts();
    CMergeRun run(fields);
    RunWithProgress([&run] { return run.Open(); },
                    [this, &run, &fields](IProgress& progress) {
                        const CMergeRun::Outcome outcome = run.Merge(progress);
                        if (m_bAutoRun && platform::IsHeadless())
                            ReportAsciiEnd(outcome, fields.ascii);
                        return outcome == CMergeRun::Outcome::NormalEnd;
                    });
}
