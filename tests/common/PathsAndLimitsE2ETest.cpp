// The data utilities run unattended where names and memory are unusual: a
// ".." after a symbolic link, a working folder deeper than the system's path
// limit, and an address space too small for all a run would like.
#include "EnsembleBuilder.h"
#include "ProgramRun.h"
#include "RunningProgram.h"
#include "TempDir.h"
#include "UtilityPrograms.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ensemble_builder;

// Ensembles first..last, one after the other.
Bytes Ensembles(std::uint32_t first, std::uint32_t last)
{
    std::vector<Bytes> ensembles;
    for (std::uint32_t number = first; number <= last; ++number)
        ensembles.push_back(TypicalEnsemble(number));
    return Concat(ensembles);
}

bool Exists(const std::string& name)
{
    struct stat st {};
    return stat(name.c_str(), &st) == 0;
}

// Folders nested deeper than the system's path limit under `base`, built
// and removed a step at a time, as no call takes their whole path.
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
            DIR* entries = ::fdopendir(::dup(m_folders[level]));
            while (const dirent* entry = entries ? ::readdir(entries) : nullptr)
                ::unlinkat(m_folders[level], entry->d_name, 0); // folders stay
            if (entries)
                ::closedir(entries);
            ::close(m_folders[level]);
            ::unlinkat(m_folders[level - 1], kStep.c_str(), AT_REMOVEDIR);
        }
        ::close(m_folders.front());
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    int Descriptor() const { return m_folders.back(); }
    // A short name for a file in the deepest folder, through this process's descriptor.
    std::string File(const std::string& name) const
    {
        return "/proc/self/fd/" + std::to_string(Descriptor()) + "/" + name;
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
        RunningProgram running(program, arguments, m_config.Path(), streams, "C.UTF-8", context);
        return running.Finish(60);
    }

    TempDir m_config;
    TempDir m_dir;
};

TEST_F(PathsAndLimits, DotDotAfterALinkIsLeftToTheSystemAndChainsFollowIt)
{
    ASSERT_EQ(mkdir(m_dir.File("a").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(m_dir.File("a/b").c_str(), 0755), 0);
    ASSERT_EQ(symlink("a/b", m_dir.File("link").c_str()), 0);
    WriteFileBytes(m_dir.File("a/x_000001.ens"), Ensembles(1, 2));
    WriteFileBytes(m_dir.File("a/x_000002.ens"), Ensembles(3, 4));
    // Another recording where a textual ".." would lead.
    WriteFileBytes(m_dir.File("x_000001.ens"), Ensembles(7, 7));
    WriteFileBytes(m_dir.File("x_000002.ens"), Ensembles(8, 8));
    const std::string beside = m_dir.File("link/../");

    const ProgramResult run = Run(kPelmar, {"-in:" + beside + "x_000001.ens", "-out:" + beside + "s"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(m_dir.File("a/s000.000")), Ensembles(1, 4));
    EXPECT_FALSE(Exists(m_dir.File("s000.000")));
}

TEST_F(PathsAndLimits, RelativeNamesWorkInAWorkingFolderDeeperThanThePathLimit)
{
    const DeepFolder deep(m_dir.Path(), 4200);
    ASSERT_GE(deep.Descriptor(), 0);
    WriteFileBytes(deep.File("x_000001.ens"), Ensembles(1, 2));
    WriteFileBytes(deep.File("x_000002.ens"), Ensembles(3, 3));
    WriteFileText(deep.File("l.dec"), "0080,3,2\r\n$L\r\n");
    WriteFileText(deep.File("v.txt"), "7\r\n8\r\n9\r\n");
    // The started program changes to the folder before it runs, through the
    // copy of this process's descriptor that it holds until then.
    RunContext inside;
    inside.workingDirectory = deep.File("");

    ProgramResult run = Run(kDralin, {"-in:x_000001.ens", "-dec:l.dec", "-out:t.txt"}, {}, inside);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileText(deep.File("t.txt")), "1\r\n2\r\n3\r\n");

    run = Run(kQuenta, {"-in:x_000001.ens", "-dec:l.dec", "-ascii:v.txt", "-out:m.ens"}, {}, inside);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(deep.File("m.ens")).size(), Ensembles(1, 3).size());

    run = Run(kVostic, {"-in:x_000001.ens", "-out:r.log"}, {}, inside);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(ReadFileText(deep.File("r.log")).find("Valid Ensembles   : 3\r\n"), std::string::npos);

    run = Run(kPelmar, {"-in:x_000001.ens", "-out:s"}, {}, inside);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(deep.File("s000.000")), Ensembles(1, 3));
}

TEST_F(PathsAndLimits, TooLittleAddressSpaceEndsARunWithAMessageOrNotAtAll)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer reserves far more address space than these limits";
#endif
    // Large enough for the reader to want its read-ahead.
    const std::string input = m_dir.File("in.000");
    WriteFileBytes(input, Ensembles(1, 4000));
    WriteFileText(m_dir.File("l.dec"), "0080,3,2\r\n$L\r\n");
    const std::string output = m_dir.File("out");
    const struct {
        std::string program;
        std::string caption;
        std::vector<std::string> arguments;
    } runs[] = {
        {kDralin, "Dralin", {"-in:" + input, "-dec:" + m_dir.File("l.dec"), "-out:" + output}},
        {kVostic, "Vostic", {"-in:" + input, "-out:" + output}},
    };
    for (const auto& each : runs) {
        std::remove(output.c_str());
        ASSERT_EQ(Run(each.program, each.arguments).exitCode, 0);
        const std::string whole = ReadFileText(output);
        // Below these the system's own libraries fail to load or start.
        for (rlim_t megabytes = 84; megabytes <= 128; megabytes += 4) {
            std::remove(output.c_str());
            ProgramStreams limited;
            limited.addressSpaceLimit = megabytes << 20;
            const ProgramResult run = Run(each.program, each.arguments, limited);
            ASSERT_TRUE(run.finished && run.signal == 0) << each.caption << " " << megabytes;
            if (run.exitCode == 0)
                EXPECT_EQ(ReadFileText(output), whole) << each.caption << " " << megabytes;
            else
                EXPECT_EQ(MessageLines(run.errors, each.caption), each.caption + ": Not enough memory.\n") << megabytes;
        }
    }
}

} // namespace
