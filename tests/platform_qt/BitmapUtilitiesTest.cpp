#include "platform/qt/BitmapUtilities.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(BitmapUtilitiesTest, ColourNeedsTwoBitsOrThreeColoursAndSizesAreZeroWithoutAnImage)
{
    QImage mono(8, 8, QImage::Format_Mono);
    mono.setColorCount(2);
    EXPECT_FALSE(IsColorDevice(&mono));
    QImage indexed(8, 8, QImage::Format_Indexed8);
    EXPECT_TRUE(IsColorDevice(&indexed));
    QImage rgb(37, 12, QImage::Format_RGB32);
    EXPECT_TRUE(IsColorDevice(&rgb));
    EXPECT_FALSE(IsColorDevice(nullptr));

    EXPECT_EQ(GetBitmapWidth(&rgb), 37u);
    EXPECT_EQ(GetBitmapHeight(&rgb), 12u);
    EXPECT_EQ(GetBitmapWidth(static_cast<const QImage*>(nullptr)), 0u);
    EXPECT_EQ(GetBitmapHeight(static_cast<const QPixmap*>(nullptr)), 0u);
}

} // namespace
