#include "CDralinDlg.h"

#include "CCmdLineInfo.h"
#include "CConversionRun.h"
#include "CProcessingDlg.h"
#include "LastFileNames.h"
#include "resource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* MakeEdit(int id, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

QPushButton* MakeButton(int id, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CDralinDlg::CDralinDlg(const CCmdLineInfo& cmdInfo, QWidget* parent) : CUtilityDlg(parent)
{
    setWindowTitle("Dralin");
    BuildControls();
    m_edInput->setText(QString::fromStdString(cmdInfo.m_strInput));
    m_edOutput->setText(QString::fromStdString(cmdInfo.m_strOutput));
    m_edDecoder->setText(QString::fromStdString(cmdInfo.m_strDecoder));
    if (cmdInfo.m_strDecoder.empty())
        m_edDecoder->setText(QString::fromStdString(GetLastDecoderFileName()));
    if (!cmdInfo.m_strInput.empty() && !cmdInfo.m_strOutput.empty() && !cmdInfo.m_strDecoder.empty())
        PostAutoRun();
}

void CDralinDlg::BuildControls()
{
    auto* grid = new QGridLayout(this);
    m_edInput = MakeEdit(dralin::IDC_INPUT, this);
    m_edDecoder = MakeEdit(dralin::IDC_DECODER, this);
    m_edOutput = MakeEdit(dralin::IDC_OUTPUT, this);
    auto* browseInput = MakeButton(dralin::IDC_BROWSE_INPUT, "...", this);
    auto* browseDecoder = MakeButton(dralin::IDC_BROWSE_DECODER, "...", this);
    auto* browseOutput = MakeButton(dralin::IDC_BROWSE_OUTPUT, "...", this);
    grid->addWidget(new QLabel("Qel Input File Name:", this), 0, 0);
    grid->addWidget(m_edInput, 0, 1, 1, 2);
    grid->addWidget(browseInput, 0, 3);
    grid->addWidget(new QLabel("Decoder File Name:", this), 1, 0);
    grid->addWidget(m_edDecoder, 1, 1, 1, 2);
    grid->addWidget(browseDecoder, 1, 3);
    grid->addWidget(new QLabel("ASCII Output File Name:", this), 2, 0);
    grid->addWidget(m_edOutput, 2, 1, 1, 2);
    grid->addWidget(browseOutput, 2, 3);

    auto* start = MakeEdit(dralin::IDC_START, this);
    auto* end = MakeEdit(dralin::IDC_END, this);
    start->setText("0");
    end->setText("0");
    grid->addWidget(new QLabel("Start Ensemble Number:", this), 3, 0);
    grid->addWidget(start, 3, 1);
    grid->addWidget(new QLabel("(0 = begining of the file)", this), 3, 2);
    grid->addWidget(new QLabel("End Ensemble Number:", this), 4, 0);
    grid->addWidget(end, 4, 1);
    grid->addWidget(new QLabel("(0 = end of the file)", this), 4, 2);

    auto* convert = MakeButton(dralin::IDC_CONVERT, "&Convert", this);
    auto* help = MakeButton(dralin::ID_HELP, "&Help", this);
    auto* exit = MakeButton(dralin::IDOK, "&Exit", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert);
    buttons->addWidget(help);
    buttons->addWidget(exit);
    grid->addLayout(buttons, 5, 0, 1, 4);

    connect(browseInput, &QPushButton::clicked, this, &CDralinDlg::OnBrowseInput);
    connect(browseDecoder, &QPushButton::clicked, this, &CDralinDlg::OnBrowseDecoder);
    connect(browseOutput, &QPushButton::clicked, this, &CDralinDlg::OnBrowseOutput);
    connect(convert, &QPushButton::clicked, this, &CDralinDlg::OnConvert);
    connect(help, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

QString CDralinDlg::FieldText(int id) const
{
    return findChild<QLineEdit*>(QString::number(id))->text();
}

void CDralinDlg::OnBrowseInput()
{
    BrowseFile(FileKind::Input, m_edInput);
}

void CDralinDlg::OnBrowseDecoder()
{
    BrowseFile(FileKind::Decoder, m_edDecoder);
}

void CDralinDlg::OnBrowseOutput()
{
    BrowseFile(FileKind::Output, m_edOutput);
}

void CDralinDlg::OnConvert()
{
    CConversionRun run({m_edInput->text().toStdString(), m_edOutput->text().toStdString(),
                        m_edDecoder->text().toStdString(), FieldText(dralin::IDC_START).toStdString(),
                        FieldText(dralin::IDC_END).toStdString()});
    if (!run.OpenFiles()) {
        FinishRun(false);
        return;
    }
    CProcessingDlg progress;
    if (!progress.Create(this)) {
        FinishRun(false);
        return;
    }
    FinishRun(run.Convert(progress));
}
