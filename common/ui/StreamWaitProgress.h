#pragma once
#include "IProgress.h"

class CProcessingDlg;
class QWidget;

// What a run's waits for a stream's peer pump: the run's progress window,
// shown by the first such wait, so that a wait while the files are opened (a
// FIFO waiting for its reader) can be cancelled too.
class StreamWaitProgress : public NullProgress {
public:
    StreamWaitProgress(CProcessingDlg& window, QWidget* mainWindow);
    bool Pump() override;

private:
    CProcessingDlg& m_window;
    QWidget* m_mainWindow;
};
