#include "Messages.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// One QApplication for the test program and a settings store of its own, so
// tests never touch the user's settings.
class DralinTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_settings = std::make_unique<QTemporaryDir>();
        setenv("XDG_CONFIG_HOME", m_settings->path().toLocal8Bit().constData(), 1);
        platform::SetProgramName("Dralin");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override
    {
        m_app.reset();
        m_settings.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "dralin_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new DralinTestEnvironment);

} // namespace
