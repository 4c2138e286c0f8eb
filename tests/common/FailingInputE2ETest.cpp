// The built data utilities on inputs that fail under them: a part of a chain
// that cannot be read, a medium that returns errors, an input cut by another
// process during the run. Each is a failed read with a message, never a
// signal and never a normal end.
#include "EnsembleBuilder.h"
#include "FailingMount.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>

using namespace ensemble_builder;

namespace {

class FailingInput : public ::testing::Test {
protected:
    struct Program {
        std::string path;
        std::string caption;
        std::vector<std::string> arguments;
    };

    FailingInput()
    {
        WriteFileText(m_dir.File("number.dec"), kNumberDecoder);
        WriteFileText(m_dir.File("values.txt"), NumberLines(40));
        for (std::uint32_t part = 0; part < 4; ++part)
            WriteFileBytes(Part(part), TypicalEnsembles(part * 10 + 1, part * 10 + 10));
    }

    std::string Part(std::uint32_t part) const { return m_dir.File("c.00" + std::to_string(part)); }

    // Each utility reading `input`, by default the chain from its first part.
    std::vector<Program> Programs(const std::string& input = {}) const
    {
        const std::string in = "-in:" + (input.empty() ? Part(0) : input);
        const std::string dec = "-dec:" + m_dir.File("number.dec");
        return {
            {kVostic, "Vostic", {in, "-out:" + m_dir.File("report.log")}},
            {kDralin, "Dralin", {in, dec, "-out:" + m_dir.File("numbers.txt")}},
            {kQuenta, "Quenta", {in, dec, "-ascii:" + m_dir.File("values.txt"), "-out:" + m_dir.File("merged.ens")}},
            {kPelmar, "Pelmar", {in, "-out:" + m_dir.File("slice")}},
        };
    }

    ProgramResult Run(const Program& program) const
    {
        return RunProgram(program.path, program.arguments, m_home.Path());
    }

    // Runs the converter on `input`, changed by `change` after the input was opened and measured:
    // the converter then opens its decoder, a FIFO held open here until the change is made.
    ProgramResult RunDralinChangingInput(const std::string& input, const std::function<int()>& change) const
    {
        const std::string decoder = m_dir.File("fifo.dec");
        std::remove(decoder.c_str());
        EXPECT_EQ(::mkfifo(decoder.c_str(), 0600), 0);
        const int writer = ::open(decoder.c_str(), O_RDWR | O_CLOEXEC);
        const int watch = ::inotify_init1(IN_CLOEXEC);
        EXPECT_GE(::inotify_add_watch(watch, decoder.c_str(), IN_OPEN), 0);
        std::thread changer([&] {
            pollfd opened{watch, POLLIN, 0};
            EXPECT_TRUE(::poll(&opened, 1, 120000) == 1 && change() == 0);
            const auto size = static_cast<ssize_t>(kNumberDecoder.size());
            EXPECT_EQ(::write(writer, kNumberDecoder.data(), kNumberDecoder.size()), size);
            ::close(writer);
        });
        const ProgramResult run = RunProgram(
            kDralin, {"-in:" + input, "-dec:" + decoder, "-out:" + m_dir.File("numbers.txt")}, m_home.Path());
        changer.join();
        ::close(watch);
        return run;
    }

    TempDir m_dir;
    TempDir m_home;
};

TEST_F(FailingInput, ALaterPartThatCannotBeReadFailsEveryUtilityNamingThatPart)
{
    const std::string third = Part(2);
    const std::string notRegular = "Cannot open file " + third + ". Not a regular file.";
    const struct {
        const char* what;
        std::function<int()> make;
        std::string message;
    } unreadables[] = {
        {"folder", [&] { return ::mkdir(third.c_str(), 0755); }, notRegular},
        {"FIFO", [&] { return ::mkfifo(third.c_str(), 0600); }, notRegular},
        {"link to a device", [&] { return ::symlink("/dev/zero", third.c_str()); }, notRegular},
        // Fails for root too, where no permission bit would.
        {"link loop", [&] { return ::symlink(third.c_str(), third.c_str()); },
         "Cannot open file " + third + ". Too many levels of symbolic links."},
        // Reading this process's memory from address 0 fails as a bad medium does.
        {"read error", [&] { return ::symlink("/proc/self/mem", third.c_str()); },
         "Cannot read file " + third + ": Input/output error."},
    };
    for (const auto& unreadable : unreadables) {
        std::remove(third.c_str());
        ::rmdir(third.c_str());
        ASSERT_EQ(unreadable.make(), 0) << unreadable.what;
        for (const Program& program : Programs()) {
            const ProgramResult run = Run(program);
            ASSERT_TRUE(run.finished) << program.caption << ", " << unreadable.what;
            EXPECT_EQ(run.signal, 0) << program.caption << ", " << unreadable.what;
            EXPECT_EQ(run.exitCode, 1) << program.caption << ", " << unreadable.what;
            EXPECT_EQ(MessageLines(run.errors, program.caption), program.caption + ": " + unreadable.message + "\n")
                << unreadable.what;
        }
    }
}

TEST_F(FailingInput, AGapOrALinkToAFileInTheNumberingIsNoFailure)
{
    const Program vostic = Programs()[0];
    const std::string third = Part(2);
    std::rename(third.c_str(), m_dir.File("elsewhere").c_str());
    ProgramResult run = Run(vostic);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("report.log")), "Valid Ensembles"), "Valid Ensembles   : 20");

    ASSERT_EQ(::symlink(m_dir.File("elsewhere").c_str(), third.c_str()), 0);
    std::remove(m_dir.File("report.log").c_str());
    run = Run(vostic);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("report.log")), "Valid Ensembles"), "Valid Ensembles   : 40");
}

TEST_F(FailingInput, AnInputCutOrAPartRemovedDuringTheRunKeepsWhatWasReadBefore)
{
    const std::string input = m_dir.File("long.ens");
    const Bytes recording = TypicalEnsembles(1, 4000);
    WriteFileBytes(input, recording);
    const struct {
        std::string input;
        std::function<int()> change;
        std::string message;
        std::size_t lastNumber;
    } cases[] = {
        {input, [&] { return ::truncate(input.c_str(), static_cast<off_t>(recording.size() / 2)); },
         "Cannot read file " + input + ": the file became shorter while it was read.",
         recording.size() / 2 / TypicalEnsemble(1).size()},
        {Part(0), [&] { return std::remove(Part(2).c_str()); }, "Cannot open file " + Part(2) + ". No such file or directory.", 20},
    };
    for (const auto& each : cases) {
        std::remove(m_dir.File("numbers.txt").c_str());
        const ProgramResult run = RunDralinChangingInput(each.input, each.change);
        EXPECT_EQ(run.exitCode, 1) << each.message;
        EXPECT_EQ(MessageLines(run.errors, "Dralin"), "Dralin: " + each.message + "\n");
        EXPECT_EQ(ReadFileText(m_dir.File("numbers.txt")), NumberLines(each.lastNumber)) << each.message;
    }
}

TEST_F(FailingInput, AMediumFailingInsideAnEnsembleLeavesEveryWholeEnsembleBeforeItInEachOutput)
{
    constexpr std::uint64_t kFailingByte = 5000000;
    FailingMount mount({.readsFrom = kFailingByte});
    ASSERT_MOUNTED(mount);
    const Bytes recording = TypicalEnsembles(1, 20000);
    // The size does not divide the failing byte's position: it lies inside an ensemble.
    const std::size_t whole = kFailingByte / TypicalEnsemble(1).size();
    const std::size_t wholeBytes = whole * TypicalEnsemble(1).size();
    WriteFileBytes(mount.BackingFile("x.ens"), recording);
    WriteFileText(m_dir.File("values.txt"), NumberLines(20000));
    const std::string input = mount.File("x.ens");
    const std::string failure = "Cannot read file " + input + ": Input/output error.";

    for (const Program& program : Programs(input)) {
        const ProgramResult run = Run(program);
        EXPECT_EQ(run.exitCode, 1) << program.caption;
        EXPECT_EQ(MessageLines(run.errors, program.caption), program.caption + ": " + failure + "\n");
    }
    const std::string report = ReadFileText(m_dir.File("report.log"));
    EXPECT_EQ(LineOf(report, "Valid Ensembles"), "Valid Ensembles   : " + std::to_string(whole));
    EXPECT_EQ(LineOf(report, "Cannot read"), failure);
    EXPECT_EQ(report.find("NO ERRORS FOUND"), std::string::npos);
    EXPECT_EQ(ReadFileText(m_dir.File("numbers.txt")), NumberLines(whole));
    // The merger changes values, never sizes.
    EXPECT_EQ(ReadFileBytes(m_dir.File("merged.ens")).size(), wholeBytes);
    EXPECT_EQ(ReadFileBytes(m_dir.File("slice000.000")), Bytes(recording.begin(), recording.begin() + wholeBytes));
}

TEST_F(FailingInput, AnAsciiFileFailingOnItsMediumMergesTheWholeLinesBeforeTheFailureAndNoCutLine)
{
    std::string values;
    for (std::uint32_t number = 1; number <= 10000; ++number)
        values += std::to_string(number) + ",a token no decoder record takes\r\n";
    const Bytes recording = TypicalEnsembles(1, 10000);
    WriteFileBytes(m_dir.File("x.ens"), recording);
    // The merger reads its ASCII file 64 KiB at a time: a failure inside a read, and one at its start.
    for (const std::uint64_t failingByte : {200000u, 4u * 65536u}) {
        FailingMount mount({.readsFrom = failingByte});
        ASSERT_TRUE(mount.Mounted());
        WriteFileText(mount.BackingFile("values.txt"), values);
        const std::string ascii = mount.File("values.txt");
        std::remove(m_dir.File("merged.ens").c_str());
        const ProgramResult run = RunProgram(kQuenta,
                                             {"-in:" + m_dir.File("x.ens"), "-dec:" + m_dir.File("number.dec"),
                                              "-ascii:" + ascii, "-out:" + m_dir.File("merged.ens")},
                                             m_home.Path());
        EXPECT_EQ(run.exitCode, 1) << failingByte;
        EXPECT_EQ(MessageLines(run.errors, "Quenta"), "Quenta: Cannot read file " + ascii + ": Input/output error.\n");
        const auto whole = std::count(values.begin(), values.begin() + failingByte, '\n');
        const auto wholeBytes = whole * static_cast<std::ptrdiff_t>(TypicalEnsemble(1).size());
        EXPECT_EQ(ReadFileBytes(m_dir.File("merged.ens")), Bytes(recording.begin(), recording.begin() + wholeBytes))
            << failingByte;
    }
}

} // namespace
