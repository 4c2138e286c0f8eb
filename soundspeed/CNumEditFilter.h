#pragma once
#include <QValidator>

class CNumEdit;

// Drops, with one beep, the characters its box would refuse when typed, so
// pasted and dropped text passes the same filter as the keyboard.
class CNumEditFilter : public QValidator {
    Q_OBJECT
public:
    explicit CNumEditFilter(CNumEdit* edit);

    State validate(QString& input, int& position) const override;

private:
    const CNumEdit* m_edit;
};
