#include "NumericLocale.h"

#include <QLocale>

#include <clocale>

namespace platform {

void UseCNumericLocale()
{
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

} // namespace platform
