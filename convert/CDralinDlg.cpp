#include "CDralinDlg.h"

#include "CCmdLineInfo.h"
#include "LastFileNames.h"
#include "RunConversion.h"
#include "resource.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

CDralinDlg::CDralinDlg(const dralin::CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
{
    setWindowTitle("Dralin");
    BuildControls();
    const CConversionRun::Fields given = CommandLineFields(cmdInfo);
    SetFileName(m_edInput, given.input);
    SetFileName(m_edOutput, given.output);
    SetFileName(m_edDecoder, given.decoder.empty() ? GetLastDecoderFileName() : given.decoder);
    Field(dralin::IDC_START)->setText(QString::fromStdString(given.start));
    Field(dralin::IDC_END)->setText(QString::fromStdString(given.end));
    if (cmdInfo.NamesEveryFile())
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
    AddRangeRows(grid, 3, start, end);

    auto* convert = MakeButton(dralin::IDC_CONVERT, "&Convert");
    auto* help = MakeButton(dralin::ID_HELP, "&Help");
    auto* exit = MakeButton(dralin::IDOK, "&Exit");
    grid->addLayout(ButtonRow({convert, help, exit}), 5, 0, 1, 4);

    ConnectBrowse(browseInput, FileKind::Input, m_edInput);
    ConnectBrowse(browseDecoder, FileKind::Decoder, m_edDecoder);
    ConnectBrowse(browseOutput, FileKind::Output, m_edOutput);
    connect(convert, &QPushButton::clicked, this, &CDralinDlg::OnConvert);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

void CDralinDlg::OnConvert()
{
    RunConversion(*this, {FileName(m_edInput), FileName(m_edOutput), FileName(m_edDecoder),
                          FieldText(dralin::IDC_START), FieldText(dralin::IDC_END)});
}
