// Writes the seed corpus of every fuzz target: ensembles from the test
// builders and the sample recording, with small decoder, ASCII and script
// files. Usage: fuzz_seeds <samples folder> <corpus folder>
#include "CheckBuilders.h"
#include "EnsembleBuilder.h"
#include "FuzzInput.h"
#include "TempDir.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace ensemble_builder;

namespace {

const std::vector<std::string> kDecoders = {
    "; number and first profile byte\r\n0080,3,2\r\n0100,3,1\r\n$L\r\n",
    "0080,3,2,1,0,+\n0080,12,1\n$L\n0000,9,1,0.01,2\r\n$P0100,3,1,4,(1,3-5)\r\n0100,5,-2\r\n$L\r\n",
    "$P0100,3,1,4\r0100,5,2\r$L\r",
    "0100,3,-4,0.5,3\r\n0100,4,3\r\n\t; blank\r\n$L\r\n0000,3,1\r\n$L\r\n",
};
const std::vector<std::string> kAsciiFiles = {
    "41,7\r\n42,8\r\n43,9\r\n",
    "1.5 -2 3\n4 5 6\n\n7,8,9\r\n",
    "65000\r",
};
const std::vector<std::string> kScripts = {
    "; settings\r\nCR1\r\n$W\">\",5\r\n$D2\r\nCK\r\n",
    "$B\n$H3E0D\n$T\"ok\"\n$P\"done\"\n$R\n",
    "$Eabc\r$L\"log.txt\"\r\n$X\r\nCS CMD_OFF $W\r\n",
};

std::string Text(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<Bytes> Streams(const std::filesystem::path& samples)
{
    const Bytes first = TypicalEnsemble(41, 40);
    const Bytes second = BuildEnsemble({VariableLeader(42), PatternType(kVelocityId, 30, 3)});
    const Bytes waves = Concat({check_builders::FirstLeaderPacket(1, 2), check_builders::PingPacket(1),
                                check_builders::PingPacket(3), check_builders::LastLeaderPacket()});
    const Bytes checked = Concat({check_builders::Ensemble(5), check_builders::Ensemble(7, check_builders::kDown, 1)});
    return {
        Concat({first, Bytes(7, 0x7F), second}),
        Concat({WithBadChecksum(first), Truncated(second, 20), second}),
        Concat({checked, waves}),
        ReadFileBytes((samples / "sample.ens").string()),
    };
}

// Header mode 2, extension naming, cuts at 10 and 60 bytes.
std::string ChainInput(const Bytes& stream)
{
    return std::string("\x06\x02\x0A\x00\x3C\x00", 6) + Text(stream);
}

class CorpusWriter {
public:
    explicit CorpusWriter(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void Add(const std::string& target, const std::string& input)
    {
        const std::filesystem::path folder = m_folder / target;
        std::filesystem::create_directories(folder);
        WriteFileText((folder / ("seed-" + std::to_string(++m_count))).string(), input);
    }

private:
    std::filesystem::path m_folder;
    int m_count = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <samples folder> <corpus folder>\n");
        return 2;
    }
    CorpusWriter corpus(argv[2]);
    const std::vector<Bytes> streams = Streams(argv[1]);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::string stream = Text(streams[i]);
        const std::string& decoder = kDecoders[i % kDecoders.size()];
        corpus.Add("reader", ChainInput(streams[i]));
        corpus.Add("decode", fuzz::JoinSections({decoder, "", "", stream}));
        corpus.Add("decode", fuzz::JoinSections({decoder, "42", "5", stream}));
        corpus.Add("merge", fuzz::JoinSections({decoder, kAsciiFiles[i % kAsciiFiles.size()], stream}));
        corpus.Add("check", fuzz::JoinSections({"", "", stream}));
        corpus.Add("check", fuzz::JoinSections({"6", "41", stream}));
    }
    for (const std::string& decoder : kDecoders)
        corpus.Add("decoder", decoder);
    for (const std::string& script : kScripts)
        corpus.Add("script", script);
    return 0;
}
