#pragma once
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QStringList>
#include <QTest>
#include <QWidget>

// What a keyboard user meets in a dialog, checked through real key events.

// Shows the window and waits until it takes the keyboard.
inline bool ShowForKeyboard(QWidget& window)
{
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

// The object names of the widgets the focus visits: where it is, then where
// each of `tabs` presses of Tab takes it.
inline QStringList FocusAfterTabs(int tabs)
{
    QStringList names;
    for (int i = 0;; ++i) {
        QWidget* focus = QApplication::focusWidget();
        names << (focus ? focus->objectName() : QString("(none)"));
        if (i == tabs || !focus)
            return names;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

// The window keeps the size its layout gives it: nothing can make it larger.
inline bool HasFixedSize(QWidget& window)
{
    const QSize size = window.size();
    window.resize(size + QSize(200, 200));
    return window.minimumSize() == window.maximumSize() && window.size() == size;
}

// A field the program fills: read-only, passed by Tab, drawn on the window's
// own background rather than as an input.
inline bool LooksReadOnly(const QLineEdit& field)
{
    return field.isReadOnly() && !(field.focusPolicy() & Qt::TabFocus) &&
           field.palette().color(QPalette::Base) == field.palette().color(QPalette::Window);
}
