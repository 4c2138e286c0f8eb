#include "CQuentaDlg.h"

#include "CCmdLineInfo.h"
#include "LastFileNames.h"
#include "RunMerge.h"
#include "resource.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace quenta;

CQuentaDlg::CQuentaDlg(const quenta::CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
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
    if (cmdInfo.NamesEveryFile())
        PostAutoRun();
}

QLineEdit* CQuentaDlg::AddFileField(QGridLayout* grid, int row, const char* label, int editId, int browseId,
                                    FileKind kind)
{
    QLineEdit* edit = MakeEdit(editId);
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
    grid->addLayout(ButtonRow({merge, help, exit}), row, 0, 1, 4);
    connect(merge, &QPushButton::clicked, this, &CQuentaDlg::OnMerge);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void CQuentaDlg::FillFields(const quenta::CCmdLineInfo& cmdInfo)
{
    const MergeFields given = CommandLineFields(cmdInfo);
    SetFileName(m_edInput, given.input);
    SetFileName(m_edOutput, given.output);
    SetFileName(m_edDecoder, given.decoder);
    SetFileName(m_edAscii, given.ascii);
    m_edStart->setText(QString::fromStdString(given.start));
    m_edEnd->setText(QString::fromStdString(given.end));
    if (given.decoder.empty())
        SetFileName(m_edDecoder, GetLastDecoderFileName());
}

MergeFields CQuentaDlg::FieldTexts() const
{
    return {FileName(m_edInput), FileName(m_edOutput), FileName(m_edDecoder), FileName(m_edAscii),
            m_edStart->text().toStdString(), m_edEnd->text().toStdString()};
}

void CQuentaDlg::OnMerge()
{
    RunMerge(*this, FieldTexts());
}
