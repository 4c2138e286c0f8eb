#include "CNumEdit.h"

#include "CNumEditFilter.h"
#include "FixedPoint.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace {

constexpr double kDefaultMinimum = -2147483648.0;
constexpr double kDefaultMaximum = 2147483647.0;
constexpr int kDecimalTextLimit = 17;
constexpr int kMaxDecimals = 9;

// Parses the whole text in the C locale; an empty text is 0.
bool ParseNumber(const std::string& text, bool decimal, double& value)
{
    value = 0;
    if (text.empty())
        return true;
    const char* first = text.data();
    const char* last = first + text.size();
    std::from_chars_result result;
    if (decimal) {
        result = std::from_chars(first, last, value);
    } else {
        long integer = 0;
        result = std::from_chars(first, last, integer, 10);
        value = static_cast<double>(integer);
    }
    return result.ec == std::errc() && result.ptr == last;
}

std::string FormatInteger(double value)
{
    return std::to_string(static_cast<long>(value));
}

std::string TrimTrailingZeros(std::string text)
{
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::string FormatDecimal(double value, int decimals)
{
    const int shown = std::clamp(decimals, 0, kMaxDecimals);
    std::string text = FormatFixed(value, shown);
    return shown > 0 ? TrimTrailingZeros(text) : text;
}

} // namespace

CNumEdit::CNumEdit(QWidget* parent)
    : CNumEdit(kDefaultMinimum, kDefaultMaximum, false, parent)
{
}

CNumEdit::CNumEdit(double minimum, double maximum, bool decimal, QWidget* parent)
    : QLineEdit(parent)
    , m_dMin(minimum)
    , m_dMax(maximum)
    , m_bDecimal(decimal)
{
    setValidator(new CNumEditFilter(this, [this](QChar ch) { return AcceptsChar(ch); }));
}

CNumEdit::~CNumEdit() = default;

void CNumEdit::SetDecimal(bool decimal)
{
    m_bDecimal = decimal;
}

void CNumEdit::SetLimit()
{
    if (m_bDecimal) {
        setMaxLength(kDecimalTextLimit);
        return;
    }
    const auto longest = std::max(FormatInteger(m_dMin).size(), FormatInteger(m_dMax).size());
    setMaxLength(static_cast<int>(longest));
}

double CNumEdit::GetValue(bool* error) const
{
    if (error)
        *error = true;
    double value = 0;
    if (!ParseNumber(text().toStdString(), m_bDecimal, value) || value < m_dMin || value > m_dMax)
        return 0;
    if (error)
        *error = false;
    return value;
}

void CNumEdit::SetValue(double value, int decimals)
{
    const double shown = std::clamp(value, m_dMin, m_dMax);
    const std::string text = m_bDecimal ? FormatDecimal(shown, decimals) : FormatInteger(shown);
    setText(QString::fromStdString(text));
}

bool CNumEdit::AcceptsChar(QChar typed) const
{
    if (typed == u'.')
        return m_bDecimal;
    return typed == u'-' || (typed >= u'0' && typed <= u'9');
}

bool CNumEdit::OnChar(QChar typed) const
{
    if (AcceptsChar(typed))
        return true;
    QApplication::beep();
    return false;
}

void CNumEdit::keyPressEvent(QKeyEvent* event)
{
    // Only printable characters are filtered; editing keys and shortcuts
    // (which carry control characters) keep their usual meaning.
    const QString typed = event->text();
    const bool printable = typed.size() == 1 && typed[0].isPrint();
    if (printable && !OnChar(typed[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
