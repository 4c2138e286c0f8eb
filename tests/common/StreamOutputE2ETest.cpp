// The built data utilities writing to devices, FIFOs and pipes as the shell
// does, and failing a write (never dying) when the reader goes away, a
// file-size limit is reached or the close reports the failure.
#include "EnsembleBuilder.h"
#include "FailingMount.h"
#include "ProgramRun.h"
#include "RunningProgram.h"
#include "StreamEnds.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ensemble_builder;

namespace {

class StreamOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFileText(Decoder(), kNumberDecoder);
        WriteFileText(Ascii(), "7\r\n8\r\n9\r\n");
    }

    std::string Decoder() const { return m_dir.File("number.dec"); }
    std::string Ascii() const { return m_dir.File("values.txt"); }

    // The program's arguments with `input` and `output`; pelmar takes the output as its prefix.
    std::vector<std::string> Arguments(const std::string& program, const std::string& input,
                                       const std::string& output) const
    {
        if (program == kDralin)
            return {"-in:" + input, "-dec:" + Decoder(), "-out:" + output};
        if (program == kQuenta)
            return {"-in:" + input, "-dec:" + Decoder(), "-ascii:" + Ascii(), "-out:" + output};
        return {"-in:" + input, "-out:" + output};
    }

    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments)
    {
        return RunProgram(program, arguments, m_home.Path());
    }

    TempDir m_dir;
    TempDir m_home;
};

const struct Program {
    std::string program;
    std::string caption;
} kPrograms[] = {{kDralin, "Dralin"}, {kQuenta, "Quenta"}, {kVostic, "Vostic"}, {kPelmar, "Pelmar"}};

// The failed write's line, naming the file written: the output, or for
// pelmar the first slice under it as a prefix.
std::string WriteFailure(const Program& run, const std::string& output, const std::string& reason)
{
    const std::string written = run.program == kPelmar ? output + "000.000" : output;
    return run.caption + ": Problems with writing to output file. " + written + ": " + reason + ".\n";
}

TEST_F(StreamOutput, DevicesAndFifosAreWrittenWithoutTheReplaceQuestion)
{
    const Bytes recording = TypicalEnsembles(1, 3, 20);
    const std::string input = m_dir.File("in.ens");
    WriteFileBytes(input, recording);
    for (const auto& run : kPrograms) {
        if (run.program == kPelmar)
            continue; // its slices are numbered names built from a prefix
        const ProgramResult result = Run(run.program, Arguments(run.program, input, "/dev/null"));
        EXPECT_EQ(result.exitCode, 0) << run.caption << result.errors;
        EXPECT_EQ(MessageLines(result.errors, run.caption), "") << run.caption;
    }

    ProgramStreams piped;
    piped.pipedOutput = true;
    RunningProgram dralin(kDralin, Arguments(kDralin, input, "/dev/stdout"), m_home.Path(), piped);
    EXPECT_EQ(dralin.ReadOutput(), NumberLines(3));
    EXPECT_EQ(dralin.Finish().exitCode, 0);

    // An existing FIFO, whose reader comes while the program waits for one.
    const std::string fifo = m_dir.File("report.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RunningProgram vostic(kVostic, Arguments(kVostic, input, fifo), m_home.Path(), {});
    ASSERT_TRUE(vostic.WaitUntilWaitingWith(input));
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::string report;
    EXPECT_TRUE(ReadUntilClosed(reader, report, std::chrono::steady_clock::now() + std::chrono::seconds(60)));
    ::close(reader);
    const ProgramResult result = vostic.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(report.find("Valid Ensembles   : 3"), std::string::npos) << report;
}

TEST_F(StreamOutput, AReaderThatGoesAwayFailsTheWrite)
{
    // Far more text than a pipe holds, so the program is still writing.
    const std::string input = m_dir.File("in.ens");
    WriteFileBytes(input, TypicalEnsembles(1, 30000, 20));
    ProgramStreams piped;
    piped.pipedOutput = true;
    RunningProgram dralin(kDralin, Arguments(kDralin, input, "/dev/stdout"), m_home.Path(), piped);
    pollfd first{dralin.Output(), POLLIN, 0};
    ASSERT_EQ(::poll(&first, 1, 60000), 1);
    dralin.CloseOutput();
    const ProgramResult run = dralin.Finish();
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), WriteFailure(kPrograms[0], "/dev/stdout", "Broken pipe"));
}

TEST_F(StreamOutput, AFileSizeLimitFailsTheWriteInsteadOfKillingTheProgram)
{
    const std::string input = m_dir.File("in.ens");
    WriteFileBytes(input, TypicalEnsembles(1, 3000, 20));
    std::string values;
    for (int line = 0; line < 3000; ++line)
        values += "7\r\n";
    WriteFileText(Ascii(), values);
    ProgramStreams limited;
    limited.fileSizeLimit = 4096;
    for (const auto& run : kPrograms) {
        const std::string output = m_dir.File("out-" + run.caption);
        RunningProgram program(run.program, Arguments(run.program, input, output), m_home.Path(), limited);
        const ProgramResult result = program.Finish();
        EXPECT_EQ(result.signal, 0) << run.caption;
        EXPECT_EQ(result.exitCode, 1) << run.caption;
        EXPECT_EQ(MessageLines(result.errors, run.caption), WriteFailure(run, output, "File too large"));
    }
}

TEST_F(StreamOutput, AnOutputThatIsTheInputStaysRefusedUnderAnyName)
{
    const std::string input = m_dir.File("in.ens");
    const Bytes recording = TypicalEnsembles(1, 3, 20);
    WriteFileBytes(input, recording);
    ProgramStreams intoInput;
    intoInput.outputFile = input;
    for (const auto& run : kPrograms) {
        if (run.program == kPelmar)
            continue;
        RunningProgram program(run.program, Arguments(run.program, input, "/dev/stdout"), m_home.Path(), intoInput);
        const ProgramResult result = program.Finish();
        EXPECT_EQ(result.exitCode, 1) << run.caption;
        EXPECT_EQ(MessageLines(result.errors, run.caption),
                  run.caption + ": Input and output file must have different name.\n");
    }
    EXPECT_EQ(ReadFileBytes(input), recording);
}

TEST_F(StreamOutput, DescriptorNamesWriteWhereTheShellOpenedTheOutput)
{
    const std::string input = m_dir.File("in.ens");
    WriteFileBytes(input, TypicalEnsembles(1, 3, 20));
    const std::string kept = m_dir.File("keep.txt");
    WriteFileText(kept, "earlier\n");
    ProgramStreams appending;
    appending.outputFile = kept;
    for (const std::string name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"})
        EXPECT_EQ(RunningProgram(kDralin, Arguments(kDralin, input, name), m_home.Path(), appending).Finish().exitCode,
                  0);
    EXPECT_EQ(ReadFileText(kept), "earlier\n" + NumberLines(3) + NumberLines(3) + NumberLines(3));

    const ProgramResult notOpen = Run(kDralin, Arguments(kDralin, input, "/dev/fd/999999"));
    EXPECT_EQ(notOpen.exitCode, 1);
    EXPECT_EQ(MessageLines(notOpen.errors, "Dralin"), "Dralin: Cannot create file /dev/fd/999999.\n");
}

TEST_F(StreamOutput, AFailedCloseIsAFailedWrite)
{
    FailingMount mount({.closes = true});
    ASSERT_MOUNTED(mount);
    const std::string input = m_dir.File("in.ens");
    WriteFileBytes(input, TypicalEnsembles(1, 3, 20));
    // Numbering that starts again: the slicer closes its first slice mid-run.
    const std::string restarting = m_dir.File("restart.ens");
    WriteFileBytes(restarting, Concat({TypicalEnsembles(1, 2, 20), TypicalEnsembles(1, 2, 20)}));
    for (const auto& run : kPrograms) {
        const ProgramResult result = Run(run.program, Arguments(run.program, input, mount.File(run.caption)));
        EXPECT_EQ(result.exitCode, 1) << run.caption;
        EXPECT_EQ(MessageLines(result.errors, run.caption),
                  WriteFailure(run, mount.File(run.caption), "Input/output error"));
    }
    const ProgramResult restarted = Run(kPelmar, Arguments(kPelmar, restarting, mount.File("restart")));
    EXPECT_EQ(restarted.exitCode, 1);
    EXPECT_EQ(MessageLines(restarted.errors, "Pelmar"), WriteFailure(kPrograms[3], mount.File("restart"), "Input/output error"));
    EXPECT_EQ(ReadFileBytes(mount.BackingFile("restart000.000")), TypicalEnsembles(1, 2, 20));
    EXPECT_NE(::access(mount.BackingFile("restart001.000").c_str(), F_OK), 0);
}

} // namespace
