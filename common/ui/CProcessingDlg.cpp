#include "CProcessingDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

namespace {
// Events are dispatched at most this often; the cancel flag is read on every call.
constexpr std::chrono::milliseconds kDispatchInterval(10);
constexpr unsigned kCallsPerClockRead = 8;
} // namespace

CProcessingDlg::CProcessingDlg()
    : QDialog(nullptr)
    , m_progress(new QProgressBar(this))
{
    setWindowTitle("Please Wait: Processing ...");
    m_progress->setObjectName("1008");
    m_progress->setTextVisible(false);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    connect(cancel, &QPushButton::clicked, this, &CProcessingDlg::OnCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    m_progress->setMinimumWidth(300);
    // The main dialog runs modally; a plain window beside it would be blocked
    // from input, so Cancel could not be clicked. Modal itself, it stays live.
    setWindowModality(Qt::ApplicationModal);
    QCoreApplication::instance()->installEventFilter(this);
}

CProcessingDlg::~CProcessingDlg()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

bool CProcessingDlg::Create(QWidget* mainWindow)
{
    m_mainWindow = mainWindow;
    if (m_mainWindow)
        m_mainWindow->setEnabled(false);
    show();
    return isVisible();
}

void CProcessingDlg::SetRange(std::uint64_t upper)
{
    // The bar counts in int: a larger range is scaled down by halves.
    m_nShift = 0;
    while ((upper >> m_nShift) > static_cast<std::uint64_t>(INT_MAX))
        ++m_nShift;
    // A zero range would make the bar a busy indicator; an empty bar is meant.
    m_progress->setRange(0, upper == 0 ? 1 : static_cast<int>(upper >> m_nShift));
}

void CProcessingDlg::SetPos(std::uint64_t position)
{
    // Runs call this once per ensemble: the bar itself moves only when events
    // are dispatched, since redrawing costs far more than an ensemble.
    m_nPosition = position;
}

bool CProcessingDlg::Pump()
{
    if (m_bCancelled || m_bQuit)
        return false;
    // Reading the clock costs as much as a small ensemble: look every few calls.
    if (m_nCallsSinceClock++ % kCallsPerClockRead != 0)
        return true;
    auto now = std::chrono::steady_clock::now();
    if (now - m_lastDispatch >= kDispatchInterval) {
        m_lastDispatch = now;
        m_progress->setValue(static_cast<int>(m_nPosition >> m_nShift));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return !m_bCancelled && !m_bQuit;
}

void CProcessingDlg::reject()
{
    OnCancel();
}

void CProcessingDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    OnCancel();
}

bool CProcessingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        m_bQuit = true;
    return QDialog::eventFilter(watched, event);
}

void CProcessingDlg::OnCancel()
{
    m_bCancelled = true;
    Dismiss();
}

void CProcessingDlg::Dismiss()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
    hide();
}
