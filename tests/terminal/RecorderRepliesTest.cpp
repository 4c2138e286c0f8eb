#include "CRecorderRecovery.h"
#include "CRecoverCancel.h"
#include "CSelectRecoverFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(RecorderReplies, ListingOffersFileRowsWithASizeInOrder)
{
    const std::string listing =
        "RR?\r\n"
        "Recorder directory:\r\n"
        "  ALPHA    00012345678901234567 junk\r\n"
        "  EMPTY    001                0 junk\r\n"
        "  BETA     002             4096 junk\r\n"
        "  NOEXT                      77 padding\r\n"
        "  Total Bytes used on card:       99999 xx\r\n"
        " short\r\n"
        ">";
    const auto files = CSelectRecoverFiles::ParseListing(listing);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "ALPHA.000");
    EXPECT_EQ(files[0].size, 12345678901234567u);
    EXPECT_EQ(files[1].name, "BETA.002");
    EXPECT_EQ(files[1].size, 4096u);
    EXPECT_EQ(files[2].name, "NOEXT");
    EXPECT_TRUE(CSelectRecoverFiles::ParseListing("").empty());
}

TEST(RecorderReplies, SizesOfTheRecorderAndTheLoopRecorder)
{
    EXPECT_EQ(CRecorderRecovery::RecorderTotal("x Total bytes used =   81920 of card\r\n>"), 81920);
    EXPECT_EQ(CRecorderRecovery::RecorderTotal("Total bytes used = 5"), 0);
    EXPECT_EQ(CRecorderRecovery::RecorderTotal("no size\r\n>"), 0);

    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("pages used = 12, free\r\nbytes/page = 64 x\r\n>"), 768);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize(" Used = 2MB\r\n>"), 2 * 1024 * 1024);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize(" Used = 1.5MB\r\n>"), 3 * 512 * 1024);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize(" Used = 300\r\n>"), 300);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("nothing here\r\n>"), -1);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("MM\r\nERR 010\r\n>"), -2);
}

// Sizes that do not fit 64 bits leave the total not known (-1) instead of
// wrapping into a negative that reads as no contact.
TEST(RecorderReplies, SizesTooLargeToHoldAreNotKnown)
{
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("pages used = 4294967296, x\r\nbytes/page = 4294967296 \r\n>"), -1);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("pages used = 99999999999999999999, x\r\n>"), -1);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize("pages used = 3037000499, x\r\nbytes/page = 3037000499 \r\n>"),
              3037000499LL * 3037000499LL);
    EXPECT_EQ(CRecorderRecovery::LoopRecorderSize(" Used = 9000000000000MB\r\n>"), -1);
    EXPECT_EQ(CRecorderRecovery::RecorderTotal("x Total bytes used = 99999999999999999999 of\r\n>"), -1);
    EXPECT_EQ(CRecorderRecovery::RecorderTotal("x Total bytes used = 9223372036854775807 of\r\n>"),
              9223372036854775807LL);
}

TEST(RecorderReplies, SpansShowHoursWithinTheDay)
{
    EXPECT_EQ(CRecoverCancel::FormatSpan(0).toStdString(), "00:00:00");
    EXPECT_EQ(CRecoverCancel::FormatSpan(3723).toStdString(), "01:02:03");
    EXPECT_EQ(CRecoverCancel::FormatSpan(25 * 3600 + 61).toStdString(), "01:01:01");
}

} // namespace
