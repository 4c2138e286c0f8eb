#pragma once
#include <QValidator>

#include <functional>

// Drops, with one beep, the characters its box would refuse when typed, so
// pasted and dropped text passes the same filter as the keyboard.
class CNumEditFilter : public QValidator {
    Q_OBJECT
public:
    using CharTest = std::function<bool(QChar)>;

    // `accepts` is the box's own test of a typed character.
    CNumEditFilter(QObject* box, CharTest accepts);

    State validate(QString& input, int& position) const override;

private:
    CharTest m_accepts;
};
