#include "CBaseFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(CBaseFile, MissingFileGivesFileNotFoundAndStaysClosed)
{
    TempDir dir;
    CBaseFile file;
    EXPECT_EQ(file.Open(dir.File("missing.bin")), static_cast<HRESULT>(0x80070002u));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.m_strPath.empty());
}

TEST(CBaseFile, ClosedObjectRefusesEveryOperation)
{
    CBaseFile file;
    char byte = 0;
    std::uint32_t count = 99;
    EXPECT_EQ(file.Read(&byte, 1, &count), E_FAIL);
    EXPECT_EQ(file.Write(&byte, 1, &count), E_FAIL);
    EXPECT_EQ(file.Seek(0, 0), E_FAIL);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(count, 99u);
}

TEST(CBaseFile, ReadSeekAndEndOfFile)
{
    TempDir dir;
    WriteFileText(dir.File("a.bin"), "0123456789");
    CBaseFile file;
    ASSERT_EQ(file.Open(dir.File("a.bin")), S_OK);
    EXPECT_EQ(file.GetLength(), 10u);
    std::uint64_t position = 0;
    EXPECT_EQ(file.Seek(3, 3, &position), E_FAIL);
    EXPECT_EQ(file.Seek(4, 0, &position), S_OK);
    EXPECT_EQ(position, 4u);
    char buffer[16] = {};
    std::uint32_t count = 0;
    EXPECT_EQ(file.Read(buffer, 16, &count), S_OK);
    EXPECT_EQ(std::string(buffer, count), "456789");
    EXPECT_EQ(file.Read(buffer, 16, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(file.Seek(-2, 2, &position), S_OK);
    EXPECT_EQ(position, 8u);
}

TEST(CBaseFile, CreateNewRefusesExistingAndOverwriteTruncates)
{
    TempDir dir;
    std::string name = dir.File("out.bin");
    WriteFileText(name, "old contents");
    CBaseFile file;
    EXPECT_EQ(file.Create(name, false), static_cast<HRESULT>(0x80070050u));
    ASSERT_EQ(file.Create(name, true), S_OK);
    EXPECT_EQ(file.Write("new", 3), S_OK);
    file.Close();
    EXPECT_EQ(ReadFileText(name), "new");
}

TEST(CBaseFile, AppendKeepsOldContents)
{
    TempDir dir;
    std::string name = dir.File("log.txt");
    WriteFileText(name, "first ");
    CBaseFile file;
    ASSERT_EQ(file.OpenAppend(name), S_OK);
    ASSERT_EQ(file.Seek(0, 2), S_OK);
    ASSERT_EQ(file.Write("second", 6), S_OK);
    file.Close();
    EXPECT_EQ(ReadFileText(name), "first second");
}

TEST(CBaseFile, FullPathOfRelativeNameAndDirectoryRefused)
{
    TempDir dir;
    WriteFileText(dir.File("rel.bin"), "x");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    CBaseFile file;
    EXPECT_EQ(file.Open("./sub/../rel.bin"), static_cast<HRESULT>(0x80070002u));
    EXPECT_EQ(file.Open("rel.bin"), S_OK);
    EXPECT_EQ(file.m_strPath, dir.File("rel.bin"));
    EXPECT_EQ(chdir(previous), 0);
    EXPECT_NE(file.Open(dir.Path()), S_OK);
    EXPECT_FALSE(file.IsOpen());
}
