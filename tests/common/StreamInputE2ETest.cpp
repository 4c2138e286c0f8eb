// The built data utilities with pipes and FIFOs as inputs, read as cat reads
// them: whole, a late or slow writer waited for, the wait ended by a signal.
#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "RunningProgram.h"
#include "StreamEnds.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using namespace ensemble_builder;

namespace {

// Ensembles 1 to 499 of about 400 bytes, every 40th with a bad checksum and
// a cut one here and there, so the reader resynchronises far past its first
// reads; returns the numbers of the intact ones through `kept`.
Bytes DamagedRecording(std::vector<std::uint32_t>* kept)
{
    std::vector<Bytes> pieces;
    for (std::uint32_t number = 1; number <= 499; ++number) {
        const Bytes ensemble = TypicalEnsemble(number, 300);
        if (number % 40 == 0) {
            pieces.push_back(WithBadChecksum(ensemble));
        } else if (number % 97 == 0) {
            pieces.push_back(Truncated(ensemble, 150));
        } else {
            pieces.push_back(ensemble);
            kept->push_back(number);
        }
    }
    return Concat(pieces);
}

class StreamInput : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments)
    {
        return RunProgram(program, arguments, m_home.Path());
    }
    ProgramResult RunPiped(const std::string& program, const std::vector<std::string>& arguments,
                           const Bytes& bytes)
    {
        return RunProgram(program, arguments, m_home.Path(), PipedInput{std::string(bytes.begin(), bytes.end())});
    }

    std::string MakeFifo(const std::string& name)
    {
        const std::string path = m_dir.File(name);
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
    }

    TempDir m_dir;
    TempDir m_home;
};

TEST_F(StreamInput, APipeGivesTheSameResultAsTheFile)
{
    std::vector<std::uint32_t> kept;
    const Bytes recording = DamagedRecording(&kept);
    const std::string file = m_dir.File("survey.000");
    WriteFileBytes(file, recording);
    WriteFileText(m_dir.File("number.dec"), "0080,3,2\r\n$L\r\n");

    const std::string decoder = "/dec:" + m_dir.File("number.dec");
    const ProgramResult fromFile = Run(kDralin, {"/in:" + file, decoder, "/out:" + m_dir.File("file.txt")});
    const ProgramResult fromPipe =
        RunPiped(kDralin, {"/in:/dev/stdin", decoder, "/out:" + m_dir.File("pipe.txt")}, recording);
    std::string expected;
    for (std::uint32_t number : kept)
        expected += std::to_string(number) + "\r\n";
    EXPECT_EQ(fromFile.exitCode, 0);
    EXPECT_EQ(fromPipe.exitCode, 0);
    EXPECT_EQ(MessageLines(fromPipe.errors, "Dralin"), "");
    EXPECT_EQ(ReadFileText(m_dir.File("file.txt")), expected);
    EXPECT_EQ(ReadFileText(m_dir.File("pipe.txt")), expected);

    EXPECT_EQ(RunPiped(kVostic, {"/in:/dev/stdin", "/out:" + m_dir.File("pipe.log")}, recording).exitCode, 0);
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("pipe.log")), "Valid Ensembles"),
              "Valid Ensembles   : " + std::to_string(kept.size()));
}

TEST_F(StreamInput, APipeThatPausesIsWaitedFor)
{
    std::vector<std::uint32_t> kept;
    const Bytes recording = DamagedRecording(&kept);
    WriteFileText(m_dir.File("number.dec"), "0080,3,2\r\n$L\r\n");
    ProgramStreams streams;
    streams.pipedInput = true;
    RunningProgram dralin(kDralin, {"/in:/dev/stdin", "/dec:" + m_dir.File("number.dec"), "/out:" + m_dir.File("o.txt")},
                          m_home.Path(), streams);
    const std::string bytes(recording.begin(), recording.end());
    ASSERT_TRUE(dralin.WriteInput(bytes.substr(0, bytes.size() / 2)));
    // The program has taken all there was and waits for the rest.
    ASSERT_TRUE(dralin.WaitUntilInputTaken());
    ASSERT_TRUE(dralin.WriteInput(bytes.substr(bytes.size() / 2)));
    dralin.CloseInput();
    const ProgramResult run = dralin.Finish();
    std::string expected;
    for (std::uint32_t number : kept)
        expected += std::to_string(number) + "\r\n";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), "");
    EXPECT_EQ(ReadFileText(m_dir.File("o.txt")), expected);
}

TEST_F(StreamInput, FifosWaitForTheirWriter)
{
    const Bytes first = Concat({TypicalEnsemble(1), TypicalEnsemble(2), TypicalEnsemble(3)});
    // A FIFO as a later part is refused when the chain is opened.
    WriteFileBytes(m_dir.File("run_000001.ens"), first);
    const std::string later = MakeFifo("run_000002.ens");
    ProgramResult run = Run(kVostic, {"/in:" + m_dir.File("run_000001.ens"), "/out:" + m_dir.File("a.log")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Vostic"), "Vostic: Cannot open file " + later + ". Not a regular file.\n");

    // A writer that comes while the program waits for one.
    const std::string late = MakeFifo("late.ens");
    RunningProgram vostic(kVostic, {"/in:" + late, "/out:" + m_dir.File("b.log")}, m_home.Path(), {});
    ASSERT_TRUE(vostic.WaitUntilWaitingWith(late));
    int writer = OpenWriterOnceRead(late);
    ASSERT_GE(writer, 0);
    EXPECT_TRUE(WriteAll(writer, std::string(first.begin(), first.end())));
    ::close(writer);
    run = vostic.Finish();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("b.log")), "Valid Ensembles"), "Valid Ensembles   : 3");

    // A writer that closes at once without a byte: an empty input, no hang.
    const std::string empty = MakeFifo("empty.ens");
    RunningProgram emptyRun(kVostic, {"/in:" + empty, "/out:" + m_dir.File("c.log")}, m_home.Path(), {});
    ASSERT_TRUE(emptyRun.WaitUntilWaitingWith(empty));
    writer = OpenWriterOnceRead(empty);
    ASSERT_GE(writer, 0);
    ::close(writer);
    run = emptyRun.Finish();
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Vostic"), "Vostic: Input file does not contain valid ensembles.\n");

    // A decoder FIFO whose writer comes late.
    WriteFileBytes(m_dir.File("in.ens"), first);
    const std::string decoder = MakeFifo("fifo.dec");
    RunningProgram dralin(kDralin, {"/in:" + m_dir.File("in.ens"), "/dec:" + decoder, "/out:" + m_dir.File("out.txt")},
                          m_home.Path(), {});
    ASSERT_TRUE(dralin.WaitUntilWaitingWith(decoder));
    writer = OpenWriterOnceRead(decoder);
    ASSERT_GE(writer, 0);
    EXPECT_TRUE(WriteAll(writer, "0080,3,2\r\n$L\r\n"));
    ::close(writer);
    run = dralin.Finish();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileText(m_dir.File("out.txt")), "1\r\n2\r\n3\r\n");
}

TEST_F(StreamInput, SigintOrSigtermEndsTheWaitForASilentWriter)
{
    WriteFileBytes(m_dir.File("in.ens"), Concat({TypicalEnsemble(1), TypicalEnsemble(2)}));
    WriteFileText(m_dir.File("one.dec"), "0100,3,2\r\n$L\r\n");
    for (int signal : {SIGINT, SIGTERM}) {
        const std::string number = std::to_string(signal);
        const std::string ascii = MakeFifo("values" + number + ".txt");
        RunningProgram quenta(kQuenta, {"/in:" + m_dir.File("in.ens"), "/dec:" + m_dir.File("one.dec"),
                                        "/ascii:" + ascii, "/out:" + m_dir.File("out" + number + ".ens")},
                              m_home.Path(), {});
        // Connected but silent, the writer never lets the FIFO reach its end.
        const int writer = OpenWriterOnceRead(ascii);
        ASSERT_GE(writer, 0);
        ASSERT_TRUE(quenta.WaitUntilWaitingWith(ascii));
        quenta.Signal(signal);
        const ProgramResult run = quenta.Finish();
        ::close(writer);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.signal, signal);
    }
}

} // namespace
