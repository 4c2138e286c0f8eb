#pragma once
#include <QMargins>
#include <QObject>
#include <QRect>

class QApplication;
class QWidget;

namespace platform {

// Keeps every window and dialog inside the available area of its screen when
// it is shown: one larger than the area is made smaller, one lying partly
// outside it (a saved placement from another screen) is moved in.
class WindowFitter : public QObject {
public:
    // One fitter for every window of the application, owned by it.
    static void Install(QApplication& application);

    // The frame rectangle moved, and shrunk where needed, to lie inside `area`.
    static QRect FittedFrame(const QRect& frame, const QRect& area);
    // Fits a window that is neither maximised, full screen nor minimised.
    static void Fit(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowFitter(QObject* parent);
    // The window's frame around its client area, estimated while unknown.
    static QMargins FrameMargins(const QWidget& window);
};

} // namespace platform
