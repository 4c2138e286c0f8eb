#include "CDralinDlg.h"

#include "CCmdLineInfo.h"
#include "CConversionRun.h"
#include "LastFileNames.h"
#include "resource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

CDralinDlg::CDralinDlg(const CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
{
    setWindowTitle("Dralin");
    BuildControls();
    SetFileName(m_edInput, cmdInfo.m_strInput);
    SetFileName(m_edOutput, cmdInfo.m_strOutput);
    SetFileName(m_edDecoder, cmdInfo.m_strDecoder.empty() ? GetLastDecoderFileName() : cmdInfo.m_strDecoder);
    if (!cmdInfo.m_strInput.empty() && !cmdInfo.m_strOutput.empty() && !cmdInfo.m_strDecoder.empty())
        PostAutoRun();
}

void CDralinDlg::BuildControls()
{
    auto* grid = new QGridLayout(this);
    m_edInput = MakeEdit(dralin::IDC_INPUT);
    m_edDecoder = MakeEdit(dralin::IDC_DECODER);
    m_edOutput = MakeEdit(dralin::IDC_OUTPUT);
    auto* browseInput = MakeButton(dralin::IDC_BROWSE_INPUT, "...");
    auto* browseDecoder = MakeButton(dralin::IDC_BROWSE_DECODER, "...");
    auto* browseOutput = MakeButton(dralin::IDC_BROWSE_OUTPUT, "...");
    AddFileRow(grid, 0, "Qel Input File Name:", m_edInput, browseInput);
    AddFileRow(grid, 1, "Decoder File Name:", m_edDecoder, browseDecoder);
    AddFileRow(grid, 2, "ASCII Output File Name:", m_edOutput, browseOutput);

    auto* start = MakeEdit(dralin::IDC_START);
    auto* end = MakeEdit(dralin::IDC_END);
    start->setText("0");
    end->setText("0");
    AddRangeRows(grid, 3, start, end);

    auto* convert = MakeButton(dralin::IDC_CONVERT, "&Convert");
    auto* help = MakeButton(dralin::ID_HELP, "&Help");
    auto* exit = MakeButton(dralin::IDOK, "&Exit");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert);
    buttons->addWidget(help);
    buttons->addWidget(exit);
    grid->addLayout(buttons, 5, 0, 1, 4);

    ConnectBrowse(browseInput, FileKind::Input, m_edInput);
    ConnectBrowse(browseDecoder, FileKind::Decoder, m_edDecoder);
    ConnectBrowse(browseOutput, FileKind::Output, m_edOutput);
    connect(convert, &QPushButton::clicked, this, &CDralinDlg::OnConvert);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void CDralinDlg::OnConvert()
{
    CConversionRun run({FileName(m_edInput), FileName(m_edOutput), FileName(m_edDecoder), FieldText(dralin::IDC_START),
                        FieldText(dralin::IDC_END)});
    RunWithProgress([&run] { return run.OpenFiles(); }, [&run](IProgress& progress) { return run.Convert(progress); });
}
