#include "StreamWaitProgress.h"

#include "CProcessingDlg.h"

StreamWaitProgress::StreamWaitProgress(CProcessingDlg& window, QWidget* mainWindow)
    : m_window(window)
    , m_mainWindow(mainWindow)
{
}

bool StreamWaitProgress::Pump()
{
    if (!m_window.isVisible() && !m_window.IsCancelled())
        m_window.Create(m_mainWindow);
    return m_window.Pump();
}
