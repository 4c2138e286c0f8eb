#pragma once
#include <QLineEdit>

class QKeyEvent;

// An edit box for one number: only digits, "-" and (in decimal mode) "."
// can be typed or pasted; GetValue parses and range-checks the text.
class CNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumEdit(QWidget* parent = nullptr);
    CNumEdit(double minimum, double maximum, bool decimal, QWidget* parent = nullptr);
    ~CNumEdit() override;

    void SetDecimal(bool decimal);

    // Text limit: 17 characters in decimal mode, otherwise the longer of the
    // texts of the minimum and the maximum.
    void SetLimit();

    // The value of the text (an empty text is 0). A text that is not one
    // whole number, or lies outside the range, gives 0 and sets *error.
    double GetValue(bool* error = nullptr) const;

    // Shows the value clamped to the range; in decimal mode with at most 9
    // decimals and without trailing zeros.
    void SetValue(double value, int decimals);

    // Digits and "-" anywhere, "." only in decimal mode.
    bool AcceptsChar(QChar typed) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The typed-character filter: false, after a beep, for a refused one.
    bool OnChar(QChar typed) const;

    double m_dMin;
    double m_dMax;
    bool m_bDecimal;
};
