// The built data utilities with pipes and FIFOs as inputs: a pipe is read
// whole, and no input makes a run wait for ever.
#include "EnsembleBuilder.h"
#include "HeadlessProgramEnvironment.h"
#include "TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ensemble_builder;

namespace {

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    std::string messages; // the program's own lines on standard error
};

enum class Feed { Whole, HalfThenSilence };

// Runs a built utility without a display, with settings of its own; with
// `input`, standard input is a pipe that gets the bytes (whole and closed,
// or half of them and then held open without another byte).
ProgramRun RunProgram(const char* path, const char* name, const TempDir& home, const QStringList& arguments,
                      const Bytes* input = nullptr, Feed feed = Feed::Whole)
{
    QProcess process;
    process.setProcessEnvironment(HeadlessProgramEnvironment(home.Path()));
    process.start(QString(QSV_BINARY_DIR) + path, arguments);
    if (input) {
        const qsizetype count = feed == Feed::Whole ? static_cast<qsizetype>(input->size())
                                                    : static_cast<qsizetype>(input->size() / 2);
        process.write(reinterpret_cast<const char*>(input->data()), count);
        if (feed == Feed::Whole)
            process.closeWriteChannel();
    }
    ProgramRun run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const std::string prefix = std::string(name) + ": ";
    for (const QByteArray& line : process.readAllStandardError().split('\n')) {
        if (line.startsWith(prefix.c_str()))
            run.messages += line.toStdString() + "\n";
    }
    return run;
}

QString Switch(const char* key, const std::string& path)
{
    return QString(key) + QString::fromStdString(path);
}

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

    const auto convert = [&](const std::string& input, const std::string& output, const Bytes* piped) {
        return RunProgram("/convert/dralin", "Dralin", m_home,
                          {Switch("/in:", input), Switch("/dec:", m_dir.File("number.dec")), Switch("/out:", output)},
                          piped);
    };
    const ProgramRun fromFile = convert(file, m_dir.File("file.txt"), nullptr);
    const ProgramRun fromPipe = convert("/dev/stdin", m_dir.File("pipe.txt"), &recording);
    std::string expected;
    for (std::uint32_t number : kept)
        expected += std::to_string(number) + "\r\n";
    EXPECT_EQ(fromFile.exitCode, 0);
    EXPECT_EQ(fromPipe.exitCode, 0);
    EXPECT_EQ(fromPipe.messages, "");
    EXPECT_EQ(ReadFileText(m_dir.File("file.txt")), expected);
    EXPECT_EQ(ReadFileText(m_dir.File("pipe.txt")), expected);

    const auto check = [&](const std::string& input, const std::string& log, const Bytes* piped) {
        return RunProgram("/check/vostic", "Vostic", m_home, {Switch("/in:", input), Switch("/out:", log)}, piped);
    };
    EXPECT_EQ(check("/dev/stdin", m_dir.File("pipe.log"), &recording).exitCode, 0);
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("pipe.log")), "Valid Ensembles"),
              "Valid Ensembles   : " + std::to_string(kept.size()));
}

TEST_F(StreamInput, APipeThatFallsSilentEndsTheRunWithAMessage)
{
    std::vector<std::uint32_t> kept;
    const Bytes recording = DamagedRecording(&kept);
    WriteFileText(m_dir.File("number.dec"), "0080,3,2\r\n$L\r\n");
    const ProgramRun run =
        RunProgram("/convert/dralin", "Dralin", m_home,
                   {"/in:/dev/stdin", Switch("/dec:", m_dir.File("number.dec")), Switch("/out:", m_dir.File("o.txt"))},
                   &recording, Feed::HalfThenSilence);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.messages, "Dralin: Cannot open file /dev/stdin.\n");
}

TEST_F(StreamInput, FifosNeverHoldARunForEver)
{
    const Bytes first = Concat({TypicalEnsemble(1), TypicalEnsemble(2), TypicalEnsemble(3)});
    WriteFileBytes(m_dir.File("run_000001.ens"), first);
    // A FIFO as a later part ends the chain before it, as a gap does.
    MakeFifo("run_000002.ens");
    ProgramRun run = RunProgram("/check/vostic", "Vostic", m_home,
                                {Switch("/in:", m_dir.File("run_000001.ens")), Switch("/out:", m_dir.File("a.log"))});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(LineOf(ReadFileText(m_dir.File("a.log")), "Valid Ensembles"), "Valid Ensembles   : 3");

    // A FIFO without a writer as the first input is an empty stream.
    const std::string lonely = MakeFifo("lonely.ens");
    run = RunProgram("/check/vostic", "Vostic", m_home, {Switch("/in:", lonely), Switch("/out:", m_dir.File("b.log"))});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.messages, "Vostic: Input file does not contain valid ensembles.\n");

    // A decoder FIFO without a writer reads as an empty decoder file.
    WriteFileBytes(m_dir.File("in.ens"), first);
    run = RunProgram("/convert/dralin", "Dralin", m_home,
                     {Switch("/in:", m_dir.File("in.ens")), Switch("/dec:", MakeFifo("fifo.dec")),
                      Switch("/out:", m_dir.File("out.txt"))});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.messages, "Dralin: Decoder file does not contain any records to decode.\n");
}

TEST_F(StreamInput, AnAsciiFifoWhoseWriterIsSilentEndsTheMergeWithAMessage)
{
    WriteFileBytes(m_dir.File("in.ens"), Concat({TypicalEnsemble(1), TypicalEnsemble(2)}));
    WriteFileText(m_dir.File("one.dec"), "0100,3,2\r\n$L\r\n");
    const std::string ascii = MakeFifo("values.txt");
    // Held open for writing, the FIFO never reaches its end.
    const int writer = ::open(ascii.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const ProgramRun run = RunProgram("/merge/quenta", "Quenta", m_home,
                                      {Switch("/in:", m_dir.File("in.ens")), Switch("/dec:", m_dir.File("one.dec")),
                                       Switch("/ascii:", ascii), Switch("/out:", m_dir.File("out.ens"))});
    ::close(writer);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.messages, "Quenta: Cannot open file " + ascii + ".\n");
}

} // namespace
