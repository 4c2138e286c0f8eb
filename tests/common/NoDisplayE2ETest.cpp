// Every program started where a display is named but cannot be opened (an
// ssh session, cron, a terminal left over from a desktop): switches run
// headless, a start that needs its window says so.
#include "AbsentDisplay.h"
#include "ProgramRun.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const std::string kSamples = QSV_SOURCE_DIR "/samples/sample.ens";
const std::string kDecoder = QSV_SOURCE_DIR "/tests/data/reference/sample.dec";
const std::string kText = QSV_SOURCE_DIR "/tests/data/reference/expected/sample.txt";

class NoDisplay : public ::testing::Test {
protected:
    // The environments where no display opens, each with its own way of naming one.
    std::vector<RunContext> Contexts() const
    {
        const RunContext base{m_dir.Path(), {"XDG_SESSION_TYPE"}};
        RunContext x11 = base;
        x11.environment.push_back("DISPLAY=" + AbsentXDisplay().toStdString());
        RunContext wayland = base;
        wayland.environment.push_back("WAYLAND_DISPLAY=nonexistent");
        RunContext waylandSession = wayland;
        waylandSession.environment.push_back("XDG_SESSION_TYPE=wayland");
        RunContext chosenX11 = x11;
        chosenX11.environment.push_back("QT_QPA_PLATFORM=xcb");
        return {x11, wayland, waylandSession, chosenX11};
    }

    static std::string Describe(const RunContext& context)
    {
        std::string description;
        for (const std::string& change : context.environment)
            description += change + " ";
        return description;
    }

    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                      const RunContext& context)
    {
        return RunProgram(QSV_BINARY_DIR "/" + program, arguments, m_config.Path(), context);
    }

    TempDir m_config;
    TempDir m_dir;
};

} // namespace

TEST_F(NoDisplay, SwitchesRunHeadless)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {"convert/dralin", {"-in:" + kSamples, "-dec:" + kDecoder, "-out:sample.txt"}},
        {"merge/quenta", {"-in:" + kSamples, "-dec:" + kDecoder, "-ascii:" + kText, "-out:merged.ens"}},
        {"check/vostic", {"-in:" + kSamples, "-out:report.log"}},
        {"slice/pelmar", {"-in:" + kSamples, "-out:part", "-size:10"}},
    };
    for (const RunContext& context : Contexts()) {
        SCOPED_TRACE(Describe(context));
        for (const auto& [program, arguments] : runs) {
            SCOPED_TRACE(program);
            const ProgramResult outcome = Run(program, arguments, context);
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
    const std::vector<std::tuple<std::string, std::vector<std::string>, std::string>> starts = {
        {"convert/dralin", {"-in:" + kSamples}, "Dralin: no display, and the command line does not name every file.\n"},
        {"merge/quenta", {}, "Quenta: no display, and the command line does not name every file.\n"},
        {"check/vostic", {}, "Vostic: no display, and the command line does not name every file.\n"},
        {"slice/pelmar", {}, "Pelmar: no display, and the command line does not name every file.\n"},
        {"soundspeed/zarnel", {}, "Zarnel: no display.\n"},
        {"terminal/parlim", {}, "Parlim: no display.\n"},
        {"terminal/parlim", {"script.qvs"}, "Parlim: no display.\n"},
    };
    for (const RunContext& context : Contexts()) {
        SCOPED_TRACE(Describe(context));
        for (const auto& [program, arguments, message] : starts) {
            SCOPED_TRACE(program);
            const ProgramResult outcome = Run(program, arguments, context);
            EXPECT_EQ(outcome.exitCode, 1);
            EXPECT_EQ(outcome.errors, message);
        }
    }
}
