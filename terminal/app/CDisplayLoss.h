#pragma once
#include <QtGlobal>

#include <atomic>
#include <functional>

class QString;

// The X server going away (a logout that ends it first, a dropped remote
// session): the toolkit says so in a warning and ends the process as soon as
// the warning returns. That warning is the last moment the program has, so
// the given work runs inside it, once, with no event loop and no window.
class CDisplayLoss {
public:
    explicit CDisplayLoss(std::function<void()> end);
    // Messages go back to the handler that had them before.
    ~CDisplayLoss();
    CDisplayLoss(const CDisplayLoss&) = delete;
    CDisplayLoss& operator=(const CDisplayLoss&) = delete;

private:
    static void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text);
    void EndOnce();

    std::function<void()> m_end;
    QtMessageHandler m_previous = nullptr;
    bool m_bEnded = false;
};
