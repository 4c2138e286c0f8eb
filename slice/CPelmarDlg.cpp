#include "CPelmarDlg.h"

#include "CCmdLineInfo.h"
#include "Format.h"
#include "Messages.h"
#include "RunSlicing.h"
#include "resource.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

using namespace pelmar;

CPelmarDlg::CPelmarDlg(const pelmar::CCmdLineInfo& cmdInfo, QWidget* parent)
    : CUtilityDlg(parent)
    , m_cmdInfo(cmdInfo)
    , m_edOutputPrefix(MakeEdit(IDC_OUTPUT_PREFIX))
    , m_edInput(MakeEdit(IDC_INPUT))
    , m_edMaxSize(MakeEdit(IDC_MAX_SIZE))
{
    setWindowTitle(IDS_PROGRAM_NAME);
    BuildControls();
    FillFromCommandLine();
}

void CPelmarDlg::BuildControls()
{
    auto* browseInput = MakeButton(IDC_BROWSE_INPUT, "...");
    auto* browseOutput = MakeButton(IDC_BROWSE_OUTPUT, "...");
    auto* slice = MakeButton(IDC_SLICE, "&Slice");
    slice->setDefault(true);
    auto* help = MakeButton(ID_HELP, "&Help");
    auto* exit = MakeButton(platform::IDOK, "&Exit");
    ConnectBrowse(browseInput, FileKind::Input, m_edInput);
    ConnectBrowse(browseOutput, FileKind::Output, m_edOutputPrefix);
    connect(slice, &QPushButton::clicked, this, &CPelmarDlg::OnSlice);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    AddFileRow(grid, 0, "Qel Input File Name:", m_edInput, browseInput, 3);
    AddFileRow(grid, 1, "Qel Output File Prefix:", m_edOutputPrefix, browseOutput, 3);
    grid->addWidget(new QLabel("Maximum File Size:", this), 2, 0);
    grid->addWidget(m_edMaxSize, 2, 1);
    grid->addWidget(new QLabel("MB", this), 2, 2);
    grid->addWidget(new QLabel("(0 = no limit)", this), 2, 3);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({slice, help, exit}));
}

void CPelmarDlg::FillFromCommandLine()
{
    SetFileName(m_edInput, m_cmdInfo.m_strInput);
    SetFileName(m_edOutputPrefix, m_cmdInfo.m_strOutput);
    double size = std::atof(m_cmdInfo.m_strSize.c_str());
    m_edMaxSize->setText(size != 0 ? QString::fromStdString(platform::Format("%.2f", size)) : QString("0"));
    if (m_cmdInfo.NamesEveryFile())
        PostAutoRun();
}

void CPelmarDlg::OnSlice()
{
    // An auto-run takes the command line's own input and size, not their field
    // texts, so its size text meets the same check as a typed one.
    const SliceSettings given = CommandLineSettings(m_cmdInfo);
    const std::string prefix = FileName(m_edOutputPrefix);
    RunSlicing(*this, m_bAutoRun ? SliceSettingsOf(given.input, prefix, given.sizeText)
                                 : SliceSettingsOf(FileName(m_edInput), prefix, m_edMaxSize->text().toStdString()));
}
