#include "CBaseFile.h"
#include "EnsembleBuilder.h"
#include "PartMappings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace ensemble_builder;

namespace {

Bytes CopyAll(const PartMappings& mappings, std::uint32_t count)
{
    Bytes bytes(count);
    bytes.resize(mappings.Copy(0, bytes.data(), count));
    return bytes;
}

} // namespace

TEST(PartMappings, PartsMapThroughTheDescriptorsTheyWereOpenedWith)
{
    TempDir dir;
    const Bytes first(300, 0x11);
    const Bytes second(200, 0x22);
    WriteFileBytes(dir.File("run.001"), first);
    WriteFileBytes(dir.File("run.002"), second);
    CBaseFile firstPart;
    CBaseFile secondPart;
    ASSERT_EQ(firstPart.Open(dir.File("run.001")), S_OK);
    ASSERT_EQ(secondPart.Open(dir.File("run.002")), S_OK);

    // Once opened, a part's name may name another file or none at all: the
    // chain still maps the files that were measured.
    WriteFileBytes(dir.File("other"), Bytes(300, 0x33));
    ASSERT_EQ(std::rename(dir.File("other").c_str(), dir.File("run.001").c_str()), 0);
    ASSERT_EQ(std::remove(dir.File("run.002").c_str()), 0);

    PartMappings mappings;
    ASSERT_TRUE(mappings.MapPart(firstPart.m_hFile, first.size(), 0));
    ASSERT_TRUE(mappings.MapPart(secondPart.m_hFile, second.size(), 1));
    EXPECT_EQ(CopyAll(mappings, 1000), Concat({first, second}));
}

TEST(PartMappings, EmptyPartsMapNothingAndAShortPartUnmapsTheChain)
{
    TempDir dir;
    WriteFileBytes(dir.File("a"), Bytes(100, 1));
    WriteFileBytes(dir.File("empty"), {});
    WriteFileBytes(dir.File("b"), Bytes(50, 2));
    CBaseFile a;
    CBaseFile empty;
    CBaseFile b;
    ASSERT_EQ(a.Open(dir.File("a")), S_OK);
    ASSERT_EQ(empty.Open(dir.File("empty")), S_OK);
    ASSERT_EQ(b.Open(dir.File("b")), S_OK);

    PartMappings mappings;
    ASSERT_TRUE(mappings.MapPart(a.m_hFile, 100, 0));
    ASSERT_TRUE(mappings.MapPart(empty.m_hFile, 0, 1));
    ASSERT_TRUE(mappings.MapPart(b.m_hFile, 50, 2));
    PartMappings::Span span;
    ASSERT_TRUE(mappings.SpanHolding(100, 150, &span));
    EXPECT_EQ(span.part, 2u);
    EXPECT_EQ(span.start, 100u);

    // A part now shorter than measured would fault when read past its end.
    EXPECT_FALSE(mappings.MapPart(b.m_hFile, 51, 3));
    EXPECT_FALSE(mappings.IsMapped());
    EXPECT_TRUE(CopyAll(mappings, 10).empty());
}
