// Every program started where a display is named but cannot be opened (an
// ssh session, cron, a terminal left over from a desktop): switches run
// headless, a start that needs its window says so.
#include "AbsentDisplay.h"
#include "TempDir.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString kSamples = QSV_SOURCE_DIR "/samples/sample.ens";
const QString kDecoder = QSV_SOURCE_DIR "/tests/data/reference/sample.dec";
const QString kText = QSV_SOURCE_DIR "/tests/data/reference/expected/sample.txt";

struct Outcome {
    int exitCode = -1;
    std::string errors;
};

class NoDisplay : public ::testing::Test {
protected:
    // The environments where no display opens, each with its own way of naming one.
    std::vector<QProcessEnvironment> Environments() const
    {
        QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            base.remove(name);
        base.insert("XDG_CONFIG_HOME", QString::fromStdString(m_config.Path()));
        QProcessEnvironment x11 = base;
        x11.insert("DISPLAY", AbsentXDisplay());
        QProcessEnvironment wayland = base;
        wayland.insert("WAYLAND_DISPLAY", "nonexistent");
        QProcessEnvironment waylandSession = wayland;
        waylandSession.insert("XDG_SESSION_TYPE", "wayland");
        QProcessEnvironment chosenX11 = x11;
        chosenX11.insert("QT_QPA_PLATFORM", "xcb");
        return {x11, wayland, waylandSession, chosenX11};
    }

    static std::string Describe(const QProcessEnvironment& environment)
    {
        return environment.toStringList().filter(QRegularExpression("DISPLAY|SESSION|QPA")).join(' ').toStdString();
    }

    Outcome Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(m_dir.Path()));
        process.start(QSV_BINARY_DIR "/" + program, arguments);
        Outcome outcome;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            return outcome;
        }
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.errors = process.readAllStandardError().toStdString();
        return outcome;
    }

    TempDir m_config;
    TempDir m_dir;
};

} // namespace

TEST_F(NoDisplay, SwitchesRunHeadless)
{
    const std::vector<std::pair<QString, QStringList>> runs = {
        {"convert/dralin", {"-in:" + kSamples, "-dec:" + kDecoder, "-out:sample.txt"}},
        {"merge/quenta", {"-in:" + kSamples, "-dec:" + kDecoder, "-ascii:" + kText, "-out:merged.ens"}},
        {"check/vostic", {"-in:" + kSamples, "-out:report.log"}},
        {"slice/pelmar", {"-in:" + kSamples, "-out:part", "-size:10"}},
    };
    for (const QProcessEnvironment& environment : Environments()) {
        SCOPED_TRACE(Describe(environment));
        for (const auto& [program, arguments] : runs) {
            SCOPED_TRACE(program.toStdString());
            const Outcome outcome = Run(program, arguments, environment);
            EXPECT_EQ(outcome.exitCode, 0);
            EXPECT_EQ(outcome.errors, "");
        }
        EXPECT_TRUE(QFile::exists(QString::fromStdString(m_dir.File("part000.000"))));
        EXPECT_GT(QFile(QString::fromStdString(m_dir.File("merged.ens"))).size(), 0);
        for (const char* output : {"sample.txt", "merged.ens", "report.log", "part000.000", "part001.000"})
            QFile::remove(QString::fromStdString(m_dir.File(output)));
    }
}

TEST_F(NoDisplay, AStartThatNeedsItsWindowSaysSoWithStatusOne)
{
    const std::vector<std::tuple<QString, QStringList, std::string>> starts = {
        {"convert/dralin", {"-in:" + kSamples}, "Dralin: no display, and the command line does not name every file.\n"},
        {"merge/quenta", {}, "Quenta: no display, and the command line does not name every file.\n"},
        {"check/vostic", {}, "Vostic: no display, and the command line does not name every file.\n"},
        {"slice/pelmar", {}, "Pelmar: no display, and the command line does not name every file.\n"},
        {"soundspeed/zarnel", {}, "Zarnel: no display.\n"},
        {"terminal/parlim", {}, "Parlim: no display.\n"},
        {"terminal/parlim", {"script.qvs"}, "Parlim: no display.\n"},
    };
    for (const QProcessEnvironment& environment : Environments()) {
        SCOPED_TRACE(Describe(environment));
        for (const auto& [program, arguments, message] : starts) {
            SCOPED_TRACE(program.toStdString());
            const Outcome outcome = Run(program, arguments, environment);
            EXPECT_EQ(outcome.exitCode, 1);
            EXPECT_EQ(outcome.errors, message);
        }
    }
}
