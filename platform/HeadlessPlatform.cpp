#include "HeadlessPlatform.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {
bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
} // namespace

bool PrepareHeadlessPlatform()
{
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return platform != nullptr && std::strcmp(platform, "offscreen") == 0;
}

bool IsHeadless()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

} // namespace platform
