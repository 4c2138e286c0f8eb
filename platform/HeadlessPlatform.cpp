#include "HeadlessPlatform.h"

#include "WindowFitter.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace platform {

namespace {
bool g_displayMissing = false;

std::optional<std::string> Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// The user's platforms, else those the toolkit itself would pick (the
// session's kind, X11 by default), with offscreen last: the toolkit moves on
// to it when no display opens instead of aborting.
std::string PlatformsToTry(const std::string& chosen)
{
    std::string platforms = chosen;
    if (platforms.empty())
        platforms = Variable("XDG_SESSION_TYPE").value_or("") == "wayland" ? "wayland;xcb" : "xcb";
    if (platforms.find("offscreen") == std::string::npos)
        platforms += ";offscreen";
    return platforms;
}

void KeepSevereToolkitMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

// Sets QT_QPA_PLATFORM while it lives and gives the user's value back, so
// that programs started later (a browser, an editor) choose for themselves.
class PlatformVariable {
public:
    explicit PlatformVariable(const std::string& platforms) : m_previous(Variable("QT_QPA_PLATFORM"))
    {
        setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
    }
    ~PlatformVariable()
    {
        if (m_previous)
            setenv("QT_QPA_PLATFORM", m_previous->c_str(), 1);
        else
            unsetenv("QT_QPA_PLATFORM");
    }
    PlatformVariable(const PlatformVariable&) = delete;
    PlatformVariable& operator=(const PlatformVariable&) = delete;

private:
    const std::optional<std::string> m_previous;
};

std::unique_ptr<QApplication> StartOn(const std::string& platforms, int& argc, char** argv)
{
    PlatformVariable variable(platforms);
    return std::make_unique<QApplication>(argc, argv);
}
} // namespace

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv)
{
    const std::string chosen = Variable("QT_QPA_PLATFORM").value_or("");
    const QtMessageHandler previousHandler = qInstallMessageHandler(KeepSevereToolkitMessages);
    std::unique_ptr<QApplication> application = StartOn(PlatformsToTry(chosen), argc, argv);
    g_displayMissing = IsHeadless() && chosen.find("offscreen") == std::string::npos;
    if (!IsHeadless())
        qInstallMessageHandler(previousHandler);
    WindowFitter::Install(*application);
    return application;
}

bool IsHeadless()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

bool IsDisplayMissing()
{
    return g_displayMissing;
}

} // namespace platform
