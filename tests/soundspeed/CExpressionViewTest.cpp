#include "CExpressionView.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

int DarkPixelRows(const QImage& image, int fromRow, int toRow)
{
    int rows = 0;
    for (int y = fromRow; y < toRow; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST(CExpressionViewTest, PictureKeepsItsProportionsAtAnyWidth)
{
    CExpressionView view;
    const QSize picture = view.PictureSize();
    ASSERT_GT(picture.width(), picture.height());
    for (int width : {picture.width() / 2, picture.width(), picture.width() * 3}) {
        view.resize(width, view.heightForWidth(width));
        const QRect rect = view.PictureRect();
        EXPECT_EQ(rect.topLeft(), QPoint(0, 0));
        EXPECT_EQ(rect.width(), width);
        EXPECT_EQ(rect.height(), picture.height() * width / picture.width());
    }
}

TEST(CExpressionViewTest, ControlTakesThePictureHeightWhenResized)
{
    CExpressionView view;
    view.show();
    const int width = view.PictureSize().width() * 3 / 2;
    view.resize(width, 10);
    QApplication::processEvents();
    EXPECT_EQ(view.height(), view.heightForWidth(width));
}

TEST(CExpressionViewTest, EquationIsDrawnInsideThePictureRectangle)
{
    CExpressionView view;
    const int width = view.PictureSize().width() * 2;
    view.resize(width, view.heightForWidth(width) + 40);
    const QImage image = view.grab().toImage();
    const int pictureBottom = view.PictureRect().bottom() + 1;
    EXPECT_GT(DarkPixelRows(image, 0, pictureBottom), 0);
    EXPECT_EQ(DarkPixelRows(image, pictureBottom, image.height()), 0);
}

} // namespace
