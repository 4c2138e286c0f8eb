#include "CPelmarDlg.h"

#include "CCmdLineInfo.h"
#include "CProcessingDlg.h"
#include "CSlicer.h"
#include "Format.h"
#include "Messages.h"
#include "resource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace {
QPushButton* Button(QWidget* parent, int id, const char* text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* Edit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    return edit;
}
} // namespace

CPelmarDlg::CPelmarDlg(const CCmdLineInfo& cmdInfo, QWidget* parent)
    : CUtilityDlg(parent)
    , m_cmdInfo(cmdInfo)
    , m_edOutputPrefix(Edit(this, IDC_OUTPUT_PREFIX))
    , m_edInput(Edit(this, IDC_INPUT))
    , m_edMaxSize(Edit(this, IDC_MAX_SIZE))
{
    setWindowTitle(IDS_PROGRAM_NAME);
    BuildControls();
    FillFromCommandLine();
}

void CPelmarDlg::BuildControls()
{
    auto* browseInput = Button(this, IDC_BROWSE_INPUT, "...");
    auto* browseOutput = Button(this, IDC_BROWSE_OUTPUT, "...");
    auto* slice = Button(this, IDC_SLICE, "&Slice");
    slice->setDefault(true);
    auto* help = Button(this, ID_HELP, "&Help");
    auto* exit = Button(this, platform::IDOK, "&Exit");
    connect(browseInput, &QPushButton::clicked, this, &CPelmarDlg::OnBrowseInput);
    connect(browseOutput, &QPushButton::clicked, this, &CPelmarDlg::OnBrowseOutput);
    connect(slice, &QPushButton::clicked, this, &CPelmarDlg::OnSlice);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Qel Input File Name:", this), 0, 0);
    grid->addWidget(m_edInput, 0, 1, 1, 3);
    grid->addWidget(browseInput, 0, 4);
    grid->addWidget(new QLabel("Qel Output File Prefix:", this), 1, 0);
    grid->addWidget(m_edOutputPrefix, 1, 1, 1, 3);
    grid->addWidget(browseOutput, 1, 4);
    grid->addWidget(new QLabel("Maximum File Size:", this), 2, 0);
    grid->addWidget(m_edMaxSize, 2, 1);
    grid->addWidget(new QLabel("MB", this), 2, 2);
    grid->addWidget(new QLabel("(0 = no limit)", this), 2, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(slice);
    buttons->addWidget(help);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(560);
}

void CPelmarDlg::FillFromCommandLine()
{
    m_edInput->setText(QString::fromStdString(m_cmdInfo.m_strInput));
    m_edOutputPrefix->setText(QString::fromStdString(m_cmdInfo.m_strOutput));
    double size = std::atof(m_cmdInfo.m_strSize.c_str());
    m_edMaxSize->setText(size != 0 ? QString::fromStdString(platform::Format("%.2f", size)) : QString("0"));
    if (!m_cmdInfo.m_strInput.empty() && !m_cmdInfo.m_strOutput.empty())
        PostAutoRun();
}

void CPelmarDlg::OnBrowseInput()
{
    BrowseFile(FileKind::Input, m_edInput);
}

void CPelmarDlg::OnBrowseOutput()
{
    BrowseFile(FileKind::Output, m_edOutputPrefix);
}

void CPelmarDlg::OnSlice()
{
    SliceSettings settings;
    settings.input = m_edInput->text().toStdString();
    settings.prefix = m_edOutputPrefix->text().toStdString();
    settings.sizeText = m_edMaxSize->text().toStdString();
    settings.size = std::atof(settings.sizeText.c_str());
    // An auto-run takes the command line's own values, not their field texts.
    if (m_bAutoRun) {
        settings.input = m_cmdInfo.m_strInput;
        settings.size = std::atof(m_cmdInfo.m_strSize.c_str());
    }
    CSlicer slicer(std::move(settings));
    if (!slicer.Prepare()) {
        FinishRun(false);
        return;
    }
    CProcessingDlg progress;
    if (!progress.Create(this)) {
        FinishRun(false);
        return;
    }
    FinishRun(slicer.Slice(progress));
}
