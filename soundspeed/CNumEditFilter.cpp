#include "CNumEditFilter.h"

#include <QApplication>

#include <utility>

CNumEditFilter::CNumEditFilter(QObject* box, CharTest accepts)
    : QValidator(box)
    , m_accepts(std::move(accepts))
{
}

QValidator::State CNumEditFilter::validate(QString& input, int& position) const
{
    QString kept;
    kept.reserve(input.size());
    int keptPosition = position;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (m_accepts(input[i]))
            kept += input[i];
        else if (i < position)
            --keptPosition;
    }
    if (kept.size() != input.size()) {
        QApplication::beep();
        input = kept;
        position = keptPosition;
    }
    return Acceptable;
}
