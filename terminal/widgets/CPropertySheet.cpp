#include "CPropertySheet.h"

#include "CPropertyPage.h"
#include "resource.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace parlim;

CPropertySheet::CPropertySheet(Mode mode, QWidget* parent) : QDialog(parent), m_mode(mode)
{
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (mode == Mode::Wizard) {
        m_stack = new QStackedWidget(this);
        layout->addWidget(m_stack);
        m_back = AddButton(kIdWizBack, "< &Back");
        m_next = AddButton(kIdWizNext, "&Next >");
        m_finish = AddButton(kIdWizFinish, "Finish");
        m_finish->hide();
        m_next->setDefault(true);
        connect(m_back, &QPushButton::clicked, this, &CPropertySheet::OnBack);
        connect(m_next, &QPushButton::clicked, this, &CPropertySheet::OnNext);
        connect(m_finish, &QPushButton::clicked, this, &CPropertySheet::OnFinish);
        buttons->addWidget(m_back);
        buttons->addWidget(m_next);
        buttons->addWidget(m_finish);
    } else {
        m_tabs = new QTabWidget(this);
        layout->addWidget(m_tabs);
        QPushButton* ok = AddButton(kIdOk, "OK");
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &CPropertySheet::OnOk);
        buttons->addWidget(ok);
        connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheet::ShowPage);
    }
    QPushButton* cancel = AddButton(kIdCancel, "Cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    if (mode == Mode::Sheet) {
        m_apply = AddButton(kIdApplyNow, "&Apply");
        m_apply->setEnabled(false);
        connect(m_apply, &QPushButton::clicked, this, &CPropertySheet::OnApplyNow);
        buttons->addWidget(m_apply);
    }
    layout->addLayout(buttons);
}

QPushButton* CPropertySheet::AddButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    page->SetSheet(this);
    m_pages.push_back(page);
    if (m_mode == Mode::Wizard) {
        m_stack->addWidget(page);
    } else {
        m_tabs->addTab(page, page->Caption());
        connect(page, &CPropertyPage::ModifiedChanged, this, [this](bool modified) {
            if (modified)
                m_apply->setEnabled(true);
        });
    }
}

int CPropertySheet::DoModal()
{
    if (m_pages.empty())
        return kIdCancel;
    ShowPage(0);
    int result = exec();
    if (result != QDialog::Accepted)
        return kIdCancel;
    return m_mode == Mode::Wizard ? ID_WIZFINISH : kIdOk;
}

int CPropertySheet::ActiveIndex() const
{
    return m_mode == Mode::Wizard ? m_stack->currentIndex() : m_tabs->currentIndex();
}

CPropertyPage* CPropertySheet::ActivePage() const
{
    int index = ActiveIndex();
    return index >= 0 && index < static_cast<int>(m_pages.size()) ? m_pages[index] : nullptr;
}

void CPropertySheet::ShowPage(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pages.size()))
        return;
    CPropertyPage* page = m_pages[index];
    page->EnsureInitialised();
    if (m_mode == Mode::Wizard) {
        m_stack->setCurrentIndex(index);
        UpdateWizardButtons();
    } else if (m_tabs->currentIndex() != index) {
        m_tabs->setCurrentIndex(index);
    }
    setWindowTitle(m_mode == Mode::Wizard ? page->Caption() : QString());
}

void CPropertySheet::UpdateWizardButtons()
{
    const int index = ActiveIndex();
    m_back->setEnabled(index > 0);
    m_next->setEnabled(index + 1 < static_cast<int>(m_pages.size()));
}

void CPropertySheet::SetFinishText(const QString& text)
{
    if (!m_finish)
        return;
    m_finish->setText(text);
    m_finish->show();
    m_finish->setDefault(true);
    m_back->hide();
    m_next->hide();
}

void CPropertySheet::OnBack()
{
    ShowPage(ActiveIndex() - 1);
}

void CPropertySheet::OnNext()
{
    CPropertyPage* page = ActivePage();
    if (page && page->OnWizardNext())
        ShowPage(ActiveIndex() + 1);
}

void CPropertySheet::OnFinish()
{
    CPropertyPage* page = ActivePage();
    if (page && page->OnWizardFinish())
        accept();
}

bool CPropertySheet::ApplyAll()
{
    for (std::size_t index = 0; index < m_pages.size(); ++index) {
        CPropertyPage* page = m_pages[index];
        if (!page->IsInitialised())
            continue;
        if (!page->OnApply()) {
            ShowPage(static_cast<int>(index));
            return false;
        }
        page->SetModified(false);
    }
    m_apply->setEnabled(false);
    return true;
}

void CPropertySheet::OnOk()
{
    if (ApplyAll())
        accept();
}

void CPropertySheet::OnApplyNow()
{
    ApplyAll();
}
