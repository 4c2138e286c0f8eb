#include "CNumEditFilter.h"

#include "CNumEdit.h"

#include <QApplication>

CNumEditFilter::CNumEditFilter(CNumEdit* edit)
    : QValidator(edit)
    , m_edit(edit)
{
}

QValidator::State CNumEditFilter::validate(QString& input, int& position) const
{
    QString kept;
    kept.reserve(input.size());
    int keptPosition = position;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (m_edit->AcceptsChar(input[i]))
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
