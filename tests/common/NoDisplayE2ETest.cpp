// Every program started where a display is named but cannot be opened (an
// ssh session, cron, a terminal left over from a desktop): switches run
// headless, a start that needs its window says what to type, --help prints
// the usage.
#include "AbsentDisplay.h"
#include "ProgramRun.h"
#include "RunningProgram.h"
#include "TempDir.h"

#include <QFile>

#include <filesystem>

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

    // Each data utility with every file it needs, its outputs in the test's folder.
    static std::vector<std::pair<std::string, std::vector<std::string>>> CompleteRuns()
    {
        return {
            {"convert/dralin", {"-in:" + kSamples, "-dec:" + kDecoder, "-out:sample.txt"}},
            {"merge/quenta", {"-in:" + kSamples, "-dec:" + kDecoder, "-ascii:" + kText, "-out:merged.ens"}},
            {"check/vostic", {"-in:" + kSamples, "-out:report.log"}},
            {"slice/pelmar", {"-in:" + kSamples, "-out:part", "-size:10"}},
        };
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
    for (const RunContext& context : Contexts()) {
        SCOPED_TRACE(Describe(context));
        for (const auto& [program, arguments] : CompleteRuns()) {
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

TEST_F(NoDisplay, AStartThatNeedsItsWindowSaysWhatToTypeWithStatusOne)
{
    const std::string dralinNeeds = "it needs -in:FILE -out:FILE -dec:FILE (dralin --help tells more).\n";
    const std::vector<std::tuple<std::string, std::vector<std::string>, std::string>> starts = {
        {"convert/dralin", {"-in:" + kSamples},
         "Dralin: no display, and the command line does not name every file: " + dralinNeeds},
        {"convert/dralin", {"-ouT:x"},
         "Dralin: unknown switch -ouT:x; the switches are -in:FILE -out:FILE -dec:FILE (dralin --help tells more).\n"
         "Dralin: no display, and the command line does not name every file: " + dralinNeeds},
        {"merge/quenta", {},
         "Quenta: no display, and the command line does not name every file: it needs -in:FILE -out:FILE -dec:FILE "
         "-ascii:FILE (quenta --help tells more).\n"},
        {"check/vostic", {},
         "Vostic: no display, and the command line does not name every file: it needs -in:FILE -out:FILE "
         "[-start:NUMBER] [-end:NUMBER] (vostic --help tells more).\n"},
        {"slice/pelmar", {},
         "Pelmar: no display, and the command line does not name every file: it needs -in:FILE -out:PREFIX "
         "[-size:MB] (pelmar --help tells more).\n"},
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

TEST_F(NoDisplay, HelpPrintsTheUsageAndAMistypedSwitchRefusesTheRun)
{
    const std::string helpFolder = std::filesystem::canonical(QSV_BINARY_DIR).string();
    const std::vector<std::pair<std::string, std::string>> usages = {
        {"convert/dralin", "Usage: dralin -in:FILE -out:FILE -dec:FILE\n"},
        {"merge/quenta", "Usage: quenta -in:FILE -out:FILE -dec:FILE -ascii:FILE\n"},
        {"check/vostic", "Usage: vostic -in:FILE -out:FILE [-start:NUMBER] [-end:NUMBER]\n"},
        {"slice/pelmar", "Usage: pelmar -in:FILE -out:PREFIX [-size:MB]\n"},
    };
    std::vector<RunContext> contexts = Contexts();
    contexts.push_back({m_dir.Path(), {"QT_QPA_PLATFORM=offscreen"}});
    for (const RunContext& context : contexts) {
        SCOPED_TRACE(Describe(context));
        for (const auto& [program, synopsis] : usages) {
            for (const char* help : {"--help", "-h"}) {
                SCOPED_TRACE(program + " " + help);
                ProgramStreams streams;
                streams.pipedOutput = true;
                RunningProgram running(QSV_BINARY_DIR "/" + program, {"-in:x", help}, m_config.Path(), streams,
                                       "C.UTF-8", context);
                const std::string usage = running.ReadOutput();
                const ProgramResult outcome = running.Finish();
                EXPECT_EQ(outcome.exitCode, 0);
                EXPECT_EQ(outcome.errors, "");
                EXPECT_EQ(usage.substr(0, synopsis.size()), synopsis);
                const std::string page = helpFolder + "/" + program + ".html\n";
                EXPECT_EQ(usage.substr(usage.size() - std::min(usage.size(), page.size())), page);
            }
        }
    }
    // Beside every file a mistyped switch runs nothing.
    const std::string typo = "-strat:5";
    for (const auto& [program, arguments] : CompleteRuns()) {
        SCOPED_TRACE(program);
        std::vector<std::string> mistyped = arguments;
        mistyped.push_back(typo);
        const ProgramResult outcome = Run(program, mistyped, Contexts().front());
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_NE(outcome.errors.find(": unknown switch " + typo + "; the switches are -in:FILE"), std::string::npos)
            << outcome.errors;
        EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
    }
}
