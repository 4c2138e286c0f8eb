// Does nothing and returns 0, linked to the Qt libraries the data utilities
// load: the floor a utility's start is measured against.
// Usage: bare_program [ANY...]
#include <QApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace {
// One function of each library, kept so the linker keeps the library.
const void* volatile g_linked[] = {
    reinterpret_cast<const void*>(&qVersion),
    reinterpret_cast<const void*>(&QGuiApplication::platformName),
    reinterpret_cast<const void*>(&QApplication::style),
};
} // namespace

int main()
{
    return g_linked[0] == nullptr ? 1 : 0;
}
