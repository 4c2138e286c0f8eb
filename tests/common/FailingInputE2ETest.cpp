// The built data utilities on inputs that fail under them: a part of a chain
// that cannot be read, a medium that returns errors, an input cut by another
// process during the run. Each is a failed read with a message, never a
// signal and never a normal end.
#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <thread>

using namespace ensemble_builder;

namespace {

const char* const kNumberDecoder = "0080,3,2\r\n$L\r\n";

Bytes Ensembles(std::uint32_t first, std::uint32_t count)
{
    std::vector<Bytes> ensembles;
    for (std::uint32_t number = first; number < first + count; ++number)
        ensembles.push_back(TypicalEnsemble(number));
    return Concat(ensembles);
}

std::string LineOf(const std::string& report, const std::string& start)
{
    const std::size_t at = report.find(start);
    return at == std::string::npos ? std::string() : report.substr(at, report.find('\r', at) - at);
}

// Waits up to `seconds` for the first event of an inotify descriptor.
bool WaitForEvent(int watch, int seconds)
{
    pollfd entry{watch, POLLIN, 0};
    return ::poll(&entry, 1, seconds * 1000) == 1;
}

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
        std::string values;
        for (int line = 1; line <= 40; ++line)
            values += std::to_string(line) + "\r\n";
        WriteFileText(m_dir.File("values.txt"), values);
        for (std::uint32_t part = 0; part < 4; ++part)
            WriteFileBytes(Part(part), Ensembles(part * 10 + 1, 10));
    }

    std::string Part(std::uint32_t part) const { return m_dir.File("c.00" + std::to_string(part)); }

    // Each utility reading the chain from its first part.
    std::vector<Program> Programs() const
    {
        const std::string in = "-in:" + Part(0);
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

    TempDir m_dir;
    TempDir m_home;
};

TEST_F(FailingInput, ALaterPartThatCannotBeReadFailsEveryUtilityNamingThatPart)
{
    const std::string third = Part(2);
    const struct {
        const char* what;
        std::function<int()> make;
    } unreadables[] = {
        {"folder", [&] { return ::mkdir(third.c_str(), 0755); }},
        {"FIFO", [&] { return ::mkfifo(third.c_str(), 0600); }},
        {"link to a device", [&] { return ::symlink("/dev/zero", third.c_str()); }},
        // Reading this process's memory from address 0 fails as a bad medium does.
        {"read error", [&] { return ::symlink("/proc/self/mem", third.c_str()); }},
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
            EXPECT_EQ(MessageLines(run.errors, program.caption),
                      program.caption + ": Cannot open file " + third + ".\n")
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

TEST_F(FailingInput, AnInputCutWhileTheRunReadsItIsAFailedRead)
{
    const std::string input = m_dir.File("long.ens");
    const Bytes recording = Ensembles(1, 4000);
    WriteFileBytes(input, recording);
    // The converter opens and measures its input, then its decoder: a FIFO
    // decoder held open here keeps it waiting until the input is cut.
    const std::string decoder = m_dir.File("fifo.dec");
    ASSERT_EQ(::mkfifo(decoder.c_str(), 0600), 0);
    const int writer = ::open(decoder.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, decoder.c_str(), IN_OPEN), 0);
    bool cut = false;
    std::thread cutter([&] {
        cut = WaitForEvent(watch, 120) && ::truncate(input.c_str(), static_cast<off_t>(recording.size() / 2)) == 0;
        const std::string text = kNumberDecoder;
        EXPECT_EQ(::write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(writer);
    });
    const ProgramResult run =
        RunProgram(kDralin, {"-in:" + input, "-dec:" + decoder, "-out:" + m_dir.File("numbers.txt")}, m_home.Path());
    cutter.join();
    ::close(watch);
    ASSERT_TRUE(cut);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), "Dralin: Cannot open file " + input + ".\n");
}

} // namespace
