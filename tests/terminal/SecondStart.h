#pragma once
#include "PumpUntil.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A second start of the built program with that script, on the running
// instance's runtime folder but with settings of its own; offscreen, or where
// the display it names cannot be opened.
inline std::unique_ptr<QProcess> StartSecond(const std::string& configHome, const std::string& script,
                                             const QString& display = {})
{
    auto second = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    if (!display.isEmpty()) {
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("DISPLAY", display);
    }
    second->setProcessEnvironment(environment);
    second->start(QSV_BINARY_DIR "/terminal/parlim", {QString::fromStdString(script)});
    EXPECT_TRUE(second->waitForStarted(kGenerous.count()));
    return second;
}

// Its exit status; -1 when it did not end normally in time.
inline int SecondStartExitCode(QProcess& second)
{
    if (!PumpUntil([&] { return second.state() == QProcess::NotRunning; }, kGenerous))
        return -1;
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}
