#include "CZarnelDlg.h"

#include "CExpressionView.h"
#include "CNumEdit.h"
#include "FixedPoint.h"
#include "Messages.h"
#include "SpeedOfSound.h"
#include "resource.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

using namespace zarnel;

namespace {

constexpr int kInputDecimals = 4;
constexpr int kSpeedDecimals = 1;
constexpr int kCoefficientDecimals = 3;

struct InputRule {
    bool (*isValid)(double);
    const char* message;
};

// In the order the inputs are checked.
constexpr InputRule kInputRules[] = {
    {IsValidTemperature, IDS_TEMPERATURE_INVALID},
    {IsValidSalinity, IDS_SALINITY_INVALID},
    {IsValidDepth, IDS_DEPTH_INVALID},
    {IsValidReference, IDS_REFERENCE_INVALID},
};

QString ObjectName(int id)
{
    return QString::number(id);
}

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

double SpeedOfSound(const CParam& param)
{
    return ComputeSpeedOfSound(param.GetTemperature(), param.GetSalinity(), param.GetDepth());
}

} // namespace

CZarnelDlg::CZarnelDlg(QWidget* parent)
    : CUtilityDlg(parent)
{
    setWindowTitle(Text(IDS_CAPTION));
    CreateControls();
    m_editC->SetDecimal(true);
    m_editC->SetLimit();
    m_editCoefficient->SetDecimal(true);
    m_editCoefficient->SetLimit();
    for (CNumEdit* edit : m_editInputs) {
        edit->SetDecimal(true);
        edit->SetLimit();
    }
    ConnectControls();
    ParamsToEdits();
    ShowResults();
}

CZarnelDlg::~CZarnelDlg() = default;

void CZarnelDlg::CreateControls()
{
    m_expression = new CExpressionView(this);
    m_expression->setObjectName(ObjectName(IDC_EXPRESSION));

    auto* groups = new QHBoxLayout;
    groups->addWidget(CreateParametersGroup());
    groups->addWidget(CreateSpeedGroup());

    m_applyButton = CreateButton(IDS_APPLY, IDC_APPLY);
    m_helpButton = CreateButton(IDS_HELP, ID_HELP);
    m_exitButton = CreateButton(IDS_EXIT, IDOK_EXIT);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(IDS_EXPRESSION_LABEL), this));
    layout->addWidget(m_expression);
    layout->addLayout(groups);
    layout->addLayout(ButtonRow({m_applyButton, m_helpButton, m_exitButton}));
}

QGroupBox* CZarnelDlg::CreateParametersGroup()
{
    auto* group = new QGroupBox(Text(IDS_PARAMETERS_GROUP), this);
    auto* grid = new QGridLayout(group);
    m_editInputs[Temperature] = AddEditRow(grid, 0, IDS_TEMPERATURE_LABEL, IDC_TEMPERATURE, IDS_UNIT_CELSIUS);
    m_editInputs[Salinity] = AddEditRow(grid, 1, IDS_SALINITY_LABEL, IDC_SALINITY, IDS_UNIT_PPT);
    m_editInputs[Depth] = AddEditRow(grid, 2, IDS_DEPTH_LABEL, IDC_DEPTH, IDS_UNIT_METRES);
    return group;
}

QGroupBox* CZarnelDlg::CreateSpeedGroup()
{
    auto* group = new QGroupBox(Text(IDS_SPEED_GROUP), this);
    auto* grid = new QGridLayout(group);
    m_editC = AddEditRow(grid, 0, IDS_CALCULATED_LABEL, IDC_CALCULATED, IDS_UNIT_SPEED);
    m_editInputs[Reference] = AddEditRow(grid, 1, IDS_REFERENCE_LABEL, IDC_REFERENCE, IDS_UNIT_SPEED);
    m_editCoefficient = AddEditRow(grid, 2, IDS_COEFFICIENT_LABEL, IDC_COEFFICIENT, nullptr);
    m_setToCButton = CreateButton(IDS_SET_TO_C, IDC_SET_TO_C);
    grid->addWidget(m_setToCButton, 1, 3);
    // The results are the program's to write, not the user's.
    MakeReadOnly(m_editC);
    MakeReadOnly(m_editCoefficient);
    return group;
}

QPushButton* CZarnelDlg::CreateButton(const char* text, int id)
{
    auto* button = new QPushButton(Text(text), this);
    button->setObjectName(ObjectName(id));
    // Otherwise the toolkit makes one of them the default, and Enter in an
    // input would press "(Set to C)" and overwrite the reference.
    button->setAutoDefault(false);
    return button;
}

CNumEdit* CZarnelDlg::AddEditRow(QGridLayout* grid, int row, const char* label, int id, const char* unit)
{
    auto* edit = new CNumEdit(this);
    edit->setObjectName(ObjectName(id));
    auto* caption = new QLabel(Text(label), this);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    if (unit)
        grid->addWidget(new QLabel(Text(unit), this), row, 2);
    return edit;
}

void CZarnelDlg::ConnectControls()
{
    for (CNumEdit* edit : m_editInputs)
        connect(edit, &QLineEdit::textChanged, this, &CZarnelDlg::OnParamChange);
    connect(m_applyButton, &QPushButton::clicked, this, &CZarnelDlg::OnApply);
    connect(m_setToCButton, &QPushButton::clicked, this, &CZarnelDlg::OnSetToC);
    connect(m_helpButton, &QPushButton::clicked, this, &CUtilityDlg::OnHelp);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::accept);
}

void CZarnelDlg::ParamsToEdits()
{
    m_editInputs[Temperature]->SetValue(m_param.GetTemperature(), kInputDecimals);
    m_editInputs[Salinity]->SetValue(m_param.GetSalinity(), kInputDecimals);
    m_editInputs[Depth]->SetValue(m_param.GetDepth(), kInputDecimals);
    m_editInputs[Reference]->SetValue(m_param.GetReference(), kInputDecimals);
}

void CZarnelDlg::EditsToParams()
{
    auto value = [this](Input input) {
        return RoundToDecimals(m_editInputs[input]->GetValue(), kInputDecimals);
    };
    m_param.SetTemperature(value(Temperature));
    m_param.SetSalinity(value(Salinity));
    m_param.SetDepth(value(Depth));
    m_param.SetReference(value(Reference));
}

void CZarnelDlg::ShowResults()
{
    const double speed = SpeedOfSound(m_param);
    m_editC->SetValue(speed, kSpeedDecimals);
    m_editCoefficient->SetValue(speed / m_param.GetReference(), kCoefficientDecimals);
    m_expression->SetNineTerm(
        UsesNineTermEquation(m_param.GetTemperature(), m_param.GetSalinity(), m_param.GetDepth()));
    SetResultsCurrent(true);
}

void CZarnelDlg::SetResultsCurrent(bool current)
{
    // A button disabled while it has the focus would pass it down the chain
    // to Help, where the next Space opens the help page: Apply hands it to the
    // first input, "(Set to C)" to the reference it has just set.
    QPushButton* disabled = current ? m_applyButton : m_setToCButton;
    if (focusWidget() == disabled)
        (current ? m_editInputs[Temperature] : m_editInputs[Reference])->setFocus(Qt::OtherFocusReason);
    m_applyButton->setEnabled(!current);
    m_setToCButton->setEnabled(current);
}

void CZarnelDlg::OnParamChange()
{
    m_editC->clear();
    m_editCoefficient->clear();
    if (!m_applyButton->isEnabled())
        SetResultsCurrent(false);
}

void CZarnelDlg::OnApply()
{
    if (!ValidateInputs())
        return;
    EditsToParams();
    ShowResults();
}

bool CZarnelDlg::ValidateInputs()
{
    for (int input = Temperature; input < InputCount; ++input) {
        if (!ValidateInput(static_cast<Input>(input)))
            return false;
    }
    return true;
}

bool CZarnelDlg::ValidateInput(Input input)
{
    CNumEdit* edit = m_editInputs[input];
    bool error = false;
    const double value = RoundToDecimals(edit->GetValue(&error), kInputDecimals);
    if (!error && kInputRules[input].isValid(value))
        return true;
    platform::ShowMessage(kInputRules[input].message, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CZarnelDlg::OnSetToC()
{
    const std::string speed = FormatFixed(SpeedOfSound(m_param), kSpeedDecimals);
    m_editInputs[Reference]->setText(QString::fromStdString(speed));
    OnApply();
}
