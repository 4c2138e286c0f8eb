#include "CDisplayLoss.h"

#include <QCoreApplication>
#include <QString>
#include <QThread>

#include <utility>

namespace {
constexpr char kBrokenConnection[] = "The X11 connection broke";

// Messages come from any thread; null while no one listens.
std::atomic<CDisplayLoss*> g_listener{nullptr};
} // namespace

CDisplayLoss::CDisplayLoss(std::function<void()> end) : m_end(std::move(end))
{
    g_listener = this;
    m_previous = qInstallMessageHandler(&CDisplayLoss::OnMessage);
}

CDisplayLoss::~CDisplayLoss()
{
    qInstallMessageHandler(m_previous);
    g_listener = nullptr;
}

void CDisplayLoss::OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    CDisplayLoss* listener = g_listener.load();
    if (!listener)
        return;
    listener->m_previous(type, context, text);
    // The toolkit notices the break on the user-interface thread, where the
    // program's objects live.
    if (type == QtWarningMsg && text.startsWith(QLatin1String(kBrokenConnection))
        && QThread::currentThread() == QCoreApplication::instance()->thread())
        listener->EndOnce();
}

void CDisplayLoss::EndOnce()
{
    // The work itself may warn again on its way.
    if (std::exchange(m_bEnded, true))
        return;
    m_end();
}
