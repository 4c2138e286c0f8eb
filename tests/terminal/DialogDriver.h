#pragma once
#include "Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <deque>
#include <functional>

template <typename T> T* Control(QWidget* parent, int id)
{
    return parent->findChild<T*>(QString::number(id));
}

// Plays the user of the modal dialogs the commands open, one step per
// dialog, in order.
class DialogDriver {
public:
    using Step = std::function<void(QDialog&)>;

    explicit DialogDriver(std::deque<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            // A dialog no step expects is cancelled, so a fault cannot hang the test.
            if (m_steps.empty()) {
                dialog->reject();
                return;
            }
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            step(*dialog);
        });
        m_timer.start(10);
    }
    bool Done() const { return m_steps.empty(); }

    static Step Enter(int controlId, const QString& text)
    {
        return [controlId, text](QDialog& dialog) {
            if (auto* combo = Control<QComboBox>(&dialog, controlId))
                combo->setEditText(text);
            else
                QTest::keyClicks(Control<QLineEdit>(&dialog, controlId), text);
            Control<QPushButton>(&dialog, platform::IDOK)->click();
        };
    }
    static Step Cancel()
    {
        return [](QDialog& dialog) { Control<QPushButton>(&dialog, platform::IDCANCEL)->click(); };
    }

private:
    std::deque<Step> m_steps;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};
