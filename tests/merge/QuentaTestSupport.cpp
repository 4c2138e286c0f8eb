#include "QuentaTestSupport.h"

#include "Messages.h"
#include "Settings.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace {

const char* const kSettings = "Settings";

// Tests never touch the user's settings.
class QuentaTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_settings = std::make_unique<QTemporaryDir>();
        setenv("XDG_CONFIG_HOME", m_settings->path().toLocal8Bit().constData(), 1);
        platform::SetProgramName("Quenta");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        std::setlocale(LC_NUMERIC, "C");
    }
    void TearDown() override
    {
        m_app.reset();
        m_settings.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "quenta_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QuentaTestEnvironment);

} // namespace

void ClearLastFileNames()
{
    for (const char* value : {"Last Decoder File Name", "Last Input File Name", "Last Output File Name",
                              "Last ASCII File Name"})
        platform::RemoveProfileValue(kSettings, value);
}

std::string StoredSetting(const char* valueName)
{
    return platform::GetProfileString(kSettings, valueName);
}
