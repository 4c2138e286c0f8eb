#include "Messages.h"
#include "TempDir.h"

#include <cstdlib>

// Keeps the settings the tests write out of the user's own: one fresh
// configuration directory per test process, set before the first use.
namespace {
struct SettingsHome {
    SettingsHome()
    {
        setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
        platform::SetProgramName("Vostic");
    }
    TempDir dir;
};
SettingsHome g_settingsHome;
} // namespace
