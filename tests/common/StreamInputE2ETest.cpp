// The built data utilities with pipes and FIFOs as inputs: a pipe is read
// whole, and no input makes a run wait for ever.
#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ensemble_builder;

namespace {

const std::string kDralin = QSV_BINARY_DIR "/convert/dralin";
const std::string kQuenta = QSV_BINARY_DIR "/merge/quenta";
const std::string kVostic = QSV_BINARY_DIR "/check/vostic";

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

std::string LineOf(const std::string& report, const std::string& start)
{
    const std::size_t at = report.find(start);
    return at == std::string::npos ? std::string() : report.substr(at, report.find('\r', at) - at);
}

class StreamInput : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments)
    {
        return RunProgram(program, arguments, m_home.Path());
    }
    ProgramResult RunPiped(const std::string& program, const std::vector<std::string>& arguments,
                           const Bytes& bytes, bool holdOpen = false)
    {
        return RunProgram(program, arguments, m_home.Path(), PipedInput{std::string(bytes.begin(), bytes.end()), holdOpen});
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

TEST_F(StreamInput, APipeThatFallsSilentEndsTheRunWithAMessage)
{
    std::vector<std::uint32_t> kept;
    const Bytes recording = DamagedRecording(&kept);
    WriteFileText(m_dir.File("number.dec"), "0080,3,2\r\n$L\r\n");
    const Bytes half(recording.begin(), recording.begin() + static_cast<std::ptrdiff_t>(recording.size() / 2));
    const ProgramResult run = RunPiped(
        kDralin, {"/in:/dev/stdin", "/dec:" + m_dir.File("number.dec"), "/out:" + m_dir.File("o.txt")}, half, true);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), "Dralin: Cannot open file /dev/stdin.\n");
}

TEST_F(StreamInput, FifosNeverHoldARunForEver)
{
    const Bytes first = Concat({TypicalEnsemble(1), TypicalEnsemble(2), TypicalEnsemble(3)});
    // A FIFO as a later part is refused when the chain is opened.
    WriteFileBytes(m_dir.File("run_000001.ens"), first);
    const std::string later = MakeFifo("run_000002.ens");
    ProgramResult run = Run(kVostic, {"/in:" + m_dir.File("run_000001.ens"), "/out:" + m_dir.File("a.log")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Vostic"), "Vostic: Cannot open file " + later + ".\n");

    // A FIFO without a writer as the first input is an empty stream.
    const std::string lonely = MakeFifo("lonely.ens");
    run = Run(kVostic, {"/in:" + lonely, "/out:" + m_dir.File("b.log")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Vostic"), "Vostic: Input file does not contain valid ensembles.\n");

    // A decoder FIFO without a writer reads as an empty decoder file.
    WriteFileBytes(m_dir.File("in.ens"), first);
    run = Run(kDralin, {"/in:" + m_dir.File("in.ens"), "/dec:" + MakeFifo("fifo.dec"), "/out:" + m_dir.File("out.txt")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Dralin"), "Dralin: Decoder file does not contain any records to decode.\n");
}

TEST_F(StreamInput, AnAsciiFifoWhoseWriterIsSilentEndsTheMergeWithAMessage)
{
    WriteFileBytes(m_dir.File("in.ens"), Concat({TypicalEnsemble(1), TypicalEnsemble(2)}));
    WriteFileText(m_dir.File("one.dec"), "0100,3,2\r\n$L\r\n");
    const std::string ascii = MakeFifo("values.txt");
    // Held open for writing, the FIFO never reaches its end.
    const int writer = ::open(ascii.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const ProgramResult run = Run(kQuenta, {"/in:" + m_dir.File("in.ens"), "/dec:" + m_dir.File("one.dec"),
                                            "/ascii:" + ascii, "/out:" + m_dir.File("out.ens")});
    ::close(writer);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(MessageLines(run.errors, "Quenta"), "Quenta: Cannot open file " + ascii + ".\n");
}

} // namespace
