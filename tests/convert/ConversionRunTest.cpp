#include "CConversionRun.h"
#include "EnsembleBuilder.h"
#include "FilePaths.h"
#include "FileSizeLimit.h"
#include "IProgress.h"
#include "Messages.h"
#include "Settings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace ensemble_builder;
using platform::RecordingMessageBackend;

const char* const kDecoder = "; number and first profile byte\r\n0080,3,2\r\n0100,3,1\r\n$L\r\n";

Bytes Numbered(std::uint32_t number)
{
    return BuildEnsemble({VariableLeader(number), DataType{kVelocityId, {static_cast<std::uint8_t>(number * 2)}}});
}

std::string LinesFor(const std::vector<std::uint32_t>& numbers)
{
    std::string text;
    for (std::uint32_t n : numbers)
        text += std::to_string(n) + "," + std::to_string((n * 2) & 0xFF) + "\r\n";
    return text;
}

std::string Stored(const char* name)
{
    return platform::GetProfileString("Settings", name);
}

// Pumps `allowed` times, then reports a cancel.
class CancellingProgress : public IProgress {
public:
    explicit CancellingProgress(int allowed) : m_allowed(allowed) {}
    void SetRange(std::uint64_t upper) override { m_range = upper; }
    void SetPos(std::uint64_t) override {}
    bool Pump() override { return m_allowed-- > 0; }
    std::uint64_t m_range = 0;

private:
    int m_allowed;
};

class ConversionRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Last Input File Name", "Last Output File Name", "Last Decoder File Name"})
            platform::RemoveProfileValue("Settings", name);
        WriteFileText(m_decoder, kDecoder);
        WriteInput({1, 2, 3});
    }

    void WriteInput(const std::vector<std::uint32_t>& numbers)
    {
        std::vector<Bytes> ensembles;
        for (std::uint32_t n : numbers)
            ensembles.push_back(Numbered(n));
        WriteFileBytes(m_input, Concat(ensembles));
    }

    CConversionRun::Fields FieldsFor(std::string start = "0", std::string end = "0") const
    {
        return {m_input, m_output, m_decoder, std::move(start), std::move(end)};
    }

    // Runs both phases like the dialog; false when the run did not end normally.
    bool RunWith(const CConversionRun::Fields& fields, IProgress& progress)
    {
        CConversionRun run(fields);
        return run.OpenFiles() && run.Convert(progress);
    }
    bool RunWith(const CConversionRun::Fields& fields)
    {
        NullProgress progress;
        return RunWith(fields, progress);
    }

    TempDir m_dir;
    std::string m_input = m_dir.File("survey.000");
    std::string m_output = m_dir.File("survey.txt");
    std::string m_decoder = m_dir.File("profile.dec");
    RecordingMessageBackend m_messages;
};

TEST_F(ConversionRunTest, ConvertsTheRangeAndStoresTheNames)
{
    WriteInput({98, 99, 100, 101, 5, 6});
    ASSERT_TRUE(RunWith(FieldsFor("100", "0")));
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(ReadFileText(m_output), LinesFor({100, 101, 5, 6}));
    EXPECT_EQ(Stored("Last Input File Name"), m_input);
    EXPECT_EQ(Stored("Last Output File Name"), m_output);
    EXPECT_EQ(Stored("Last Decoder File Name"), m_decoder);

    WriteInput({100, 150, 7, 160});
    m_messages.QueueAnswer(platform::IDYES);
    ASSERT_TRUE(RunWith(FieldsFor("100", "200")));
    EXPECT_EQ(ReadFileText(m_output), LinesFor({100, 150}));
}

TEST_F(ConversionRunTest, NameChecksComeInOrder)
{
    const std::vector<std::pair<CConversionRun::Fields, std::string>> cases = {
        {{"", "", "", "0", "0"}, "Please enter input file name."},
        {{m_input, "", "", "0", "0"}, "Please enter decoder file name."},
        {{m_input, "", m_decoder, "0", "0"}, "Please enter output file name."},
        {{m_input, m_input, m_decoder, "0", "0"}, "Input and output file must have different name."},
        {{m_dir.File("none"), m_output, m_decoder, "0", "0"},
         "Cannot open file " + m_dir.File("none") + ". No such file or directory."},
        {{m_input, m_output, m_dir.File("none.dec"), "0", "0"},
         "Cannot open file " + m_dir.File("none.dec") + ". No such file or directory."},
    };
    for (const auto& [fields, message] : cases) {
        m_messages.Clear();
        EXPECT_FALSE(RunWith(fields));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{message});
    }
    EXPECT_FALSE(platform::PathExists(m_output));
    EXPECT_EQ(Stored("Last Decoder File Name"), "");
}

TEST_F(ConversionRunTest, OutputThatIsAnInputUnderAnotherNameIsRefused)
{
    const Bytes chain = Concat({Numbered(1), Numbered(2)});
    const auto parts = WritePartChain(m_dir, "chain", ".bin", PartNaming::Title, CutAt(chain, {40}));
    const std::string decoderText = ReadFileText(m_decoder);
    for (const std::string& output : {parts[1], m_dir.Path() + "/./profile.dec"}) {
        m_messages.Clear();
        EXPECT_FALSE(RunWith({parts[0], output, m_decoder, "0", "0"}));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Input and output file must have different name."});
    }
    EXPECT_EQ(ReadFileBytes(parts[1]), Bytes(chain.begin() + 40, chain.end()));
    EXPECT_EQ(ReadFileText(m_decoder), decoderText);
}

TEST_F(ConversionRunTest, ExistingOutputIsReplacedOnlyOnYes)
{
    WriteFileText(m_output, "keep");
    m_messages.QueueAnswer(platform::IDNO);
    EXPECT_FALSE(RunWith(FieldsFor()));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"File " + m_output + " already exists.\r\nDo you want to replace it?"});
    EXPECT_EQ(ReadFileText(m_output), "keep");
    EXPECT_EQ(Stored("Last Input File Name"), "");

    m_messages.QueueAnswer(platform::IDYES);
    EXPECT_TRUE(RunWith(FieldsFor()));
    EXPECT_EQ(ReadFileText(m_output), LinesFor({1, 2, 3}));
}

TEST_F(ConversionRunTest, BadDecoderLeavesAnEmptyOutputAndStoresNothing)
{
    WriteFileText(m_decoder, "0080,3,2\r\n");
    EXPECT_FALSE(RunWith(FieldsFor()));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Decoder file should contain $L as last line."});
    EXPECT_EQ(ReadFileText(m_output), "");
    EXPECT_EQ(Stored("Last Decoder File Name"), "");
    EXPECT_EQ(Stored("Last Input File Name"), "");
}

TEST_F(ConversionRunTest, InputWithoutEnsemblesEndsNormallyAfterItsMessage)
{
    WriteFileBytes(m_input, Bytes(1000, 0x55));
    EXPECT_TRUE(RunWith(FieldsFor()));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Input file does not contain valid ensembles."});
    EXPECT_EQ(ReadFileText(m_output), "");
    EXPECT_EQ(Stored("Last Input File Name"), m_input);

    // Every ensemble outside the range: an empty text and no message.
    m_messages.Clear();
    WriteInput({1, 2});
    m_messages.QueueAnswer(platform::IDYES);
    EXPECT_TRUE(RunWith(FieldsFor("-5", "0")));
    EXPECT_EQ(m_messages.Texts().size(), 1u); // the replace question only
    EXPECT_EQ(ReadFileText(m_output), "");
}

TEST_F(ConversionRunTest, CancelKeepsTheLinesSoFarAndEndsNormally)
{
    CancellingProgress progress(2); // the pump before the loop and one after the first ensemble
    EXPECT_TRUE(RunWith(FieldsFor(), progress));
    EXPECT_EQ(ReadFileText(m_output), LinesFor({1, 2}));
    EXPECT_EQ(progress.m_range, ReadFileBytes(m_input).size());
    EXPECT_EQ(Stored("Last Output File Name"), m_output);
}

TEST_F(ConversionRunTest, WriteFailureIsReportedAndNotANormalEnd)
{
    std::vector<std::uint32_t> numbers(2000);
    std::iota(numbers.begin(), numbers.end(), 1u);
    WriteInput(numbers);
    const FileSizeLimit fullDisk(4096);
    EXPECT_FALSE(RunWith(FieldsFor()));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"Problems with writing to output file. " + m_output + ": File too large."});
    EXPECT_EQ(Stored("Last Decoder File Name"), m_decoder);
    EXPECT_EQ(Stored("Last Input File Name"), "");
}

} // namespace
