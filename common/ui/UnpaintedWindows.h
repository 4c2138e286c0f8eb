#pragma once
#include <QObject>

// Keeps an unattended run from painting its windows: no one would see them,
// and the toolkit's painting, which hands work to threads of its own, hangs
// or crashes where memory or threads are short instead of failing.
class UnpaintedWindows : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
