#pragma once
#include "WakeEvent.h"

#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <iterator>

// SIGTERM, SIGHUP and SIGINT end the program the way File > Exit does. The
// handler only sets an event; the user-interface thread sees it in whatever
// loop is pumping and runs the quit there.
class CQuitSignals {
public:
    explicit CQuitSignals(std::function<void()> quit);
    // The signals get their former handling back.
    ~CQuitSignals();
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    static void OnSignal(int signal);
    void OnEvent();

    platform::WakeEvent m_event;
    QSocketNotifier m_notifier;
    std::function<void()> m_quit;
    struct sigaction m_previous[std::size(kSignals)] {};
};
