#include "CMergeRun.h"

#include "EnsembleBuilder.h"
#include "FilePaths.h"
#include "FileSizeLimit.h"
#include "IProgress.h"
#include "Messages.h"
#include "QuentaTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

using namespace ensemble_builder;
using platform::IDYES;
using Texts = std::vector<std::string>;

namespace {

// Cancels at the pump that follows the given number of ensembles.
class CancellingProgress : public IProgress {
public:
    explicit CancellingProgress(int ensembles) : m_left(ensembles + 1) {}
    void SetRange(std::uint64_t upper) override { m_range = upper; }
    void SetPos(std::uint64_t) override {}
    bool Pump() override { return --m_left > 0; }
    std::uint64_t m_range = 0;

private:
    int m_left;
};

// A leader-numbered ensemble with a two-byte field at offset 3 of type 0x0100.
Bytes Numbered(std::uint32_t number)
{
    return BuildEnsemble({VariableLeader(number), DataType{0x0100, Bytes(6, 0x11)}});
}

Bytes WithValue(Bytes ensemble, std::uint16_t value)
{
    // The data type (id and 6 bytes) ends before the checksum; the field is at its byte 3.
    const std::size_t field = ensemble.size() - 2 - 8 + 2;
    ensemble[field] = static_cast<std::uint8_t>(value & 0xFF);
    ensemble[field + 1] = static_cast<std::uint8_t>(value >> 8);
    StoreChecksum(ensemble);
    return ensemble;
}

class MergeRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearLastFileNames();
        m_fields = {m_dir.File("in.bin"), m_dir.File("out.bin"), m_dir.File("values.dec"),
                    m_dir.File("values.txt"), "0", "0"};
        WriteFileText(m_fields.decoder, "0100,3,2\r\n$L\r\n");
    }

    void Input(const std::vector<std::uint32_t>& numbers)
    {
        std::vector<Bytes> ensembles;
        for (const std::uint32_t number : numbers)
            ensembles.push_back(Numbered(number));
        WriteFileBytes(m_fields.input, Concat(ensembles));
    }

    CMergeRun::Outcome Run(IProgress& progress)
    {
        CMergeRun run(m_fields);
        if (!run.Open())
            return CMergeRun::Outcome::Failed;
        return run.Merge(progress);
    }

    CMergeRun::Outcome Run()
    {
        NullProgress progress;
        return Run(progress);
    }

    // The output expected when ensembles numbered so receive these values.
    static Bytes Expected(const std::vector<std::pair<std::uint32_t, std::uint16_t>>& merged)
    {
        std::vector<Bytes> ensembles;
        for (const auto& [number, value] : merged)
            ensembles.push_back(WithValue(Numbered(number), value));
        return Concat(ensembles);
    }

    TempDir m_dir;
    MergeFields m_fields;
    platform::RecordingMessageBackend m_messages;
};

} // namespace

TEST_F(MergeRunTest, MergesEveryEnsembleWithFreshChecksumsAndStoresTheNames)
{
    Input({1, 2, 3});
    WriteFileText(m_fields.ascii, "10\r\n20\r\n30\r\n");
    CancellingProgress progress(100);
    EXPECT_EQ(Run(progress), CMergeRun::Outcome::NormalEnd);
    EXPECT_EQ(ReadFileBytes(m_fields.output), Expected({{1, 10}, {2, 20}, {3, 30}}));
    EXPECT_EQ(progress.m_range, ReadFileBytes(m_fields.input).size());
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(StoredSetting("Last Decoder File Name"), m_fields.decoder);
    EXPECT_EQ(StoredSetting("Last Input File Name"), m_fields.input);
    EXPECT_EQ(StoredSetting("Last Output File Name"), m_fields.output);
    EXPECT_EQ(StoredSetting("Last ASCII File Name"), "");
}

TEST_F(MergeRunTest, TheFirstLineGoesIntoTheFirstEnsembleOfTheRange)
{
    Input({98, 99, 100, 101, 102});
    WriteFileText(m_fields.ascii, "1\r\n2\r\n3\r\n");
    m_fields.start = "100";
    EXPECT_EQ(Run(), CMergeRun::Outcome::NormalEnd);
    EXPECT_EQ(ReadFileBytes(m_fields.output), Expected({{100, 1}, {101, 2}, {102, 3}}));

    m_fields.start = "0";
    m_fields.end = "99";
    m_messages.QueueAnswer(IDYES);
    EXPECT_EQ(Run(), CMergeRun::Outcome::NormalEnd);
    EXPECT_EQ(ReadFileBytes(m_fields.output), Expected({{98, 1}, {99, 2}}));
}

TEST_F(MergeRunTest, AnAsciiFileThatRunsOutKeepsWhatWasMergedAndStoresOnlyTheDecoder)
{
    Input({1, 2, 3, 4});
    WriteFileText(m_fields.ascii, "10\r\n20\r\n");
    EXPECT_EQ(Run(), CMergeRun::Outcome::AsciiExhausted);
    EXPECT_EQ(ReadFileBytes(m_fields.output), Expected({{1, 10}, {2, 20}}));
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(StoredSetting("Last Decoder File Name"), m_fields.decoder);
    EXPECT_EQ(StoredSetting("Last Input File Name"), "");
    EXPECT_EQ(StoredSetting("Last Output File Name"), "");
}

TEST_F(MergeRunTest, CancelIsANormalEndAfterTheEnsembleInHand)
{
    Input({1, 2, 3});
    WriteFileText(m_fields.ascii, "10\r\n20\r\n30\r\n");
    CancellingProgress progress(1);
    EXPECT_EQ(Run(progress), CMergeRun::Outcome::NormalEnd);
    EXPECT_EQ(ReadFileBytes(m_fields.output), Expected({{1, 10}}));
    EXPECT_EQ(StoredSetting("Last Output File Name"), m_fields.output);
}

TEST_F(MergeRunTest, EmptyNamesAreAskedForInTheirOrder)
{
    const MergeFields complete = m_fields;
    const auto firstMessage = [&](MergeFields fields) {
        m_fields = fields;
        m_messages.Clear();
        EXPECT_EQ(Run(), CMergeRun::Outcome::Failed);
        return m_messages.Texts().empty() ? std::string() : m_messages.Texts().front();
    };
    EXPECT_EQ(firstMessage({"", "", "", "", "0", "0"}), "Please enter input file name.");
    EXPECT_EQ(firstMessage({complete.input, "", "", "", "0", "0"}), "Please enter decoder file name.");
    EXPECT_EQ(firstMessage({complete.input, "", complete.decoder, "", "0", "0"}),
              "Please enter ASCII file name.");
    EXPECT_EQ(firstMessage({complete.input, "", complete.decoder, complete.ascii, "0", "0"}),
              "Please enter output file name.");
    EXPECT_EQ(firstMessage({complete.input, complete.input, complete.decoder, complete.ascii, "0", "0"}),
              "Input and output file must have different name.");
}

TEST_F(MergeRunTest, TheOutputMayNotBeAnyFileTheRunReadsUnderAnyName)
{
    Input({1});
    WriteFileText(m_fields.ascii, "1\r\n");
    const Bytes input = ReadFileBytes(m_fields.input);
    std::filesystem::create_symlink(m_fields.input, m_dir.File("link.bin"));
    for (const std::string& other : {m_dir.File("link.bin"), m_fields.decoder, m_fields.ascii}) {
        m_fields.output = other;
        m_messages.Clear();
        EXPECT_EQ(Run(), CMergeRun::Outcome::Failed) << other;
        EXPECT_EQ(m_messages.Texts(), Texts{"Input and output file must have different name."});
    }
    EXPECT_EQ(ReadFileBytes(m_fields.input), input);
    EXPECT_EQ(ReadFileText(m_fields.ascii), "1\r\n");
}

TEST_F(MergeRunTest, AnInputWithoutEnsemblesIsReportedButEndsNormally)
{
    WriteFileBytes(m_fields.input, Bytes(1000, 0));
    WriteFileText(m_fields.ascii, "1\r\n");
    EXPECT_EQ(Run(), CMergeRun::Outcome::NormalEnd);
    EXPECT_EQ(m_messages.Texts(), Texts{"Input file does not contain valid ensembles."});
    EXPECT_TRUE(ReadFileBytes(m_fields.output).empty());
    EXPECT_EQ(StoredSetting("Last Input File Name"), m_fields.input);
}

TEST_F(MergeRunTest, ABadDecoderLeavesAnEmptyOutputAndStoresNothing)
{
    Input({1});
    WriteFileText(m_fields.ascii, "1\r\n");
    WriteFileText(m_fields.decoder, "0100,3,2\r\n");
    EXPECT_EQ(Run(), CMergeRun::Outcome::Failed);
    EXPECT_EQ(m_messages.Texts(), Texts{"Decoder file should contain $L as last line."});
    EXPECT_TRUE(ReadFileBytes(m_fields.output).empty());
    EXPECT_EQ(StoredSetting("Last Decoder File Name"), "");
}

TEST_F(MergeRunTest, AFailedWriteIsReportedAndIsNoNormalEnd)
{
    std::vector<std::uint32_t> numbers(200);
    std::iota(numbers.begin(), numbers.end(), 1u);
    Input(numbers);
    std::string values;
    for (const std::uint32_t number : numbers)
        values += std::to_string(number) + "\r\n";
    WriteFileText(m_fields.ascii, values);
    const FileSizeLimit fullDisk(4096);
    EXPECT_EQ(Run(), CMergeRun::Outcome::Failed);
    EXPECT_EQ(m_messages.Texts(), Texts{"Problems with writing to output file. " + m_fields.output + ": File too large."});
    EXPECT_EQ(StoredSetting("Last Output File Name"), "");
}
