#include "HeadlessProgramEnvironment.h"

QProcessEnvironment HeadlessProgramEnvironment(const std::string& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
    return environment;
}
