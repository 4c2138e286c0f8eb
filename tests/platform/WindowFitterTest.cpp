#include "WindowFitter.h"

#include <gtest/gtest.h>

using platform::WindowFitter;

TEST(WindowFitter, FramesAreShrunkAndMovedIntoTheAvailableArea)
{
    // The area of a 1600 x 1000 screen at scale 2 under a 30-pixel panel.
    const QRect area(0, 30, 800, 470);
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(100, 100, 400, 300), area), QRect(100, 100, 400, 300));
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(0, 30, 800, 470), area), QRect(0, 30, 800, 470));
    // The file dialog asking for 900 x 600 pixels.
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(-50, 0, 900, 600), area), QRect(0, 30, 800, 470));
    // A placement saved on a larger screen, or on one to the right.
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(600, 400, 500, 300), area), QRect(300, 200, 500, 300));
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(2000, 100, 500, 300), area), QRect(300, 100, 500, 300));
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(-3000, -3000, 200, 100), area), QRect(0, 30, 200, 100));
    // A second screen's area beginning left of the first.
    EXPECT_EQ(WindowFitter::FittedFrame(QRect(-100, 0, 2000, 900), QRect(-1280, 0, 1280, 1024)),
              QRect(-1280, 0, 1280, 900));
}
