#include "MiddleElided.h"

#include <gtest/gtest.h>

TEST(MiddleElided, KeepsShortNamesAndCutsLongOnesBetweenCharacters)
{
    EXPECT_EQ(MiddleElided("S0001025.000", 5), "S0001025.000");
    EXPECT_EQ(MiddleElided("ABCDEFGHIJK", 4), "ABCDEFGHIJK");
    EXPECT_EQ(MiddleElided("ABCDEFGHIJKL", 4), "ABCD...IJKL");
    // "ä" is two bytes: the cut moves to the character's edge on both sides.
    EXPECT_EQ(MiddleElided("abc\xC3\xA4" "0123456789" "\xC3\xA4" "xyz", 4), "abc...xyz");
}
