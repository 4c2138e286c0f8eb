// The data utilities run unattended where names and memory are unusual: a
// ".." after a symbolic link, a working folder deeper than the system's path
// limit, and an address space too small for all a run would like.
#include "EnsembleBuilder.h"
#include "RunningProgram.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ensemble_builder;

// Folders nested deeper than the system's path limit under `base`, built a
// step at a time as no call takes their whole path; each level is moved up
// to `base` at the end, where the whole tree can be removed.
class DeepFolder {
public:
    DeepFolder(const std::string& base, std::size_t depth)
    {
        m_folders.push_back(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        for (std::size_t length = base.size(); length <= depth; length += 1 + kStep.size()) {
            ::mkdirat(m_folders.back(), kStep.c_str(), 0700);
            m_folders.push_back(::openat(m_folders.back(), kStep.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        }
    }
    ~DeepFolder()
    {
        for (std::size_t level = m_folders.size() - 1; level > 0; --level) {
            ::renameat(m_folders[level - 1], kStep.c_str(), m_folders.front(), std::to_string(level).c_str());
            ::close(m_folders[level]);
        }
        ::close(m_folders.front());
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    // A short name for a file in the deepest folder, through this process's descriptor.
    std::string File(const std::string& name) const
    {
        return "/proc/self/fd/" + std::to_string(m_folders.back()) + "/" + name;
    }

private:
    inline static const std::string kStep = std::string(200, 'd');
    std::vector<int> m_folders;
};

class PathsAndLimits : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramStreams& streams = {}, const RunContext& context = {})
    {
        return RunningProgram(program, arguments, m_config.Path(), streams, "C.UTF-8", context).Finish(60);
    }

    TempDir m_config;
    TempDir m_dir;
};

TEST_F(PathsAndLimits, DotDotAfterALinkIsLeftToTheSystemAndChainsFollowIt)
{
    ASSERT_EQ(mkdir(m_dir.File("a").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(m_dir.File("a/b").c_str(), 0755), 0);
    ASSERT_EQ(symlink("a/b", m_dir.File("link").c_str()), 0);
    WriteFileBytes(m_dir.File("a/x_000001.ens"), TypicalEnsembles(1, 2));
    WriteFileBytes(m_dir.File("a/x_000002.ens"), TypicalEnsembles(3, 4));
    WriteFileBytes(m_dir.File("x_000001.ens"), TypicalEnsembles(7, 7)); // where a textual ".." would lead
    const std::string beside = m_dir.File("link/../");

    const ProgramResult run = Run(kPelmar, {"-in:" + beside + "x_000001.ens", "-out:" + beside + "s"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(m_dir.File("a/s000.000")), TypicalEnsembles(1, 4));
    EXPECT_NE(::access(m_dir.File("s000.000").c_str(), F_OK), 0);
}

TEST_F(PathsAndLimits, RelativeNamesWorkInAWorkingFolderDeeperThanThePathLimit)
{
    const DeepFolder deep(m_dir.Path(), 4200);
    WriteFileBytes(deep.File("x_000001.ens"), TypicalEnsembles(1, 2));
    WriteFileBytes(deep.File("x_000002.ens"), TypicalEnsembles(3, 3));
    WriteFileText(deep.File("l.dec"), kNumberDecoder);
    WriteFileText(deep.File("v.txt"), "7\r\n8\r\n9\r\n");
    // The started program changes to the folder through the copy of this
    // process's descriptor that it holds until then.
    RunContext inside;
    inside.workingDirectory = deep.File("");
    const auto written = [&](const std::string& program, std::vector<std::string> arguments,
                             const std::string& output) {
        arguments.insert(arguments.begin(), "-in:x_000001.ens");
        const ProgramResult run = Run(program, arguments, {}, inside);
        EXPECT_EQ(run.exitCode, 0) << output << run.errors;
        return ReadFileText(deep.File(output));
    };
    const Bytes chain = TypicalEnsembles(1, 3);
    EXPECT_EQ(written(kDralin, {"-dec:l.dec", "-out:t.txt"}, "t.txt"), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(written(kQuenta, {"-dec:l.dec", "-ascii:v.txt", "-out:m.ens"}, "m.ens").size(), chain.size());
    EXPECT_NE(written(kVostic, {"-out:r.log"}, "r.log").find("Valid Ensembles   : 3\r\n"), std::string::npos);
    EXPECT_EQ(written(kPelmar, {"-out:s"}, "s000.000"), std::string(chain.begin(), chain.end()));
}

TEST_F(PathsAndLimits, TooLittleAddressSpaceEndsARunWithAMessageOrNotAtAll)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer reserves far more address space than these limits";
#endif
    // Large enough for the reader to want its read-ahead.
    const std::string input = m_dir.File("in.000");
    WriteFileBytes(input, TypicalEnsembles(1, 4000));
    WriteFileText(m_dir.File("l.dec"), kNumberDecoder);
    WriteFileText(m_dir.File("v.txt"), NumberLines(4000));
    const std::string output = m_dir.File("out");
    const struct {
        std::string program, caption;
        std::vector<std::string> arguments;
        std::string written;
    } runs[] = {
        {kDralin, "Dralin", {"-in:" + input, "-dec:" + m_dir.File("l.dec"), "-out:" + output}, output},
        {kQuenta, "Quenta", {"-in:" + input, "-dec:l.dec", "-ascii:v.txt", "-out:" + output}, output},
        {kVostic, "Vostic", {"-in:" + input, "-out:" + output}, output},
        {kPelmar, "Pelmar", {"-in:" + input, "-out:" + output}, output + "000.000"},
    };
    const RunContext inFolder{m_dir.Path(), {}};
    for (const auto& each : runs) {
        std::remove(each.written.c_str());
        ASSERT_EQ(Run(each.program, each.arguments, {}, inFolder).exitCode, 0);
        const std::string whole = ReadFileText(each.written);
        // From where the system's own libraries cannot even be loaded to where
        // every run has room.
        for (rlim_t megabytes = 60; megabytes <= 130; megabytes += 2) {
            std::remove(each.written.c_str());
            ProgramStreams limited;
            limited.addressSpaceLimit = megabytes << 20;
            const ProgramResult run = Run(each.program, each.arguments, limited, inFolder);
            ASSERT_TRUE(run.finished && run.signal == 0) << each.caption << " " << megabytes;
            EXPECT_LT(run.errors.size(), 512u) << each.caption << " " << megabytes;
            if (run.errors.find("error while loading shared libraries") != std::string::npos)
                EXPECT_EQ(run.exitCode, 127) << each.caption << " " << megabytes;
            else if (run.exitCode == 0)
                EXPECT_EQ(ReadFileText(each.written), whole) << each.caption << " " << megabytes;
            else
                EXPECT_EQ(run.errors, each.caption + ": Not enough memory.\n") << megabytes;
        }
    }
}

} // namespace
