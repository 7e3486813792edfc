// Where the picture lands, and at what scale, on screens and windows of any size.
#include "host/scaling.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void expectRect(const PixelRect& r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

TEST(Scaling, AutoIsIntegerOnCommonDesktopsAndFillOnNarrowOnes)
{
    ScalePlan p = planScaling(1920, 1080, ScaleMode::Auto);
    expectRect(p.picture, 320, 60, 1280, 960);
    EXPECT_EQ(p.multiple, 2);
    EXPECT_FALSE(p.filtered);

    p = planScaling(2560, 1440, ScaleMode::Auto);
    expectRect(p.picture, 320, 0, 1920, 1440);
    EXPECT_EQ(p.multiple, 3);

    p = planScaling(3840, 2160, ScaleMode::Auto);
    expectRect(p.picture, 640, 120, 2560, 1920);
    EXPECT_EQ(p.multiple, 4);

    p = planScaling(640, 480, ScaleMode::Auto);
    expectRect(p.picture, 0, 0, 640, 480);
    EXPECT_EQ(p.multiple, 1);
    EXPECT_FALSE(p.filtered);

    // 1x would be 62 % of the height: fill, via a 2x intermediate.
    p = planScaling(1366, 768, ScaleMode::Auto);
    expectRect(p.picture, 171, 0, 1024, 768);
    EXPECT_EQ(p.multiple, 2);
    EXPECT_TRUE(p.filtered);

    p = planScaling(1280, 720, ScaleMode::Auto);
    expectRect(p.picture, 160, 0, 960, 720);
    EXPECT_TRUE(p.filtered);
}

TEST(Scaling, AutoSwitchesToFillJustBelowEightyFivePercent)
{
    // 480 is 85.1 % of 564 but 84.96 % of 565.
    ScalePlan p = planScaling(2000, 564, ScaleMode::Auto);
    EXPECT_FALSE(p.filtered);
    expectRect(p.picture, 680, 42, 640, 480);
    p = planScaling(2000, 565, ScaleMode::Auto);
    EXPECT_TRUE(p.filtered);
    EXPECT_EQ(p.picture.height, 565);
    // The same rule at 2x: 960 against 1129 and 1130 rows.
    EXPECT_FALSE(planScaling(3000, 1129, ScaleMode::Auto).filtered);
    EXPECT_TRUE(planScaling(3000, 1130, ScaleMode::Auto).filtered);
}

TEST(Scaling, ForcedModes)
{
    ScalePlan p = planScaling(1366, 768, ScaleMode::Integer);
    expectRect(p.picture, 363, 144, 640, 480);
    EXPECT_EQ(p.multiple, 1);
    EXPECT_FALSE(p.filtered);

    p = planScaling(1920, 1080, ScaleMode::Fill);
    expectRect(p.picture, 240, 0, 1440, 1080);
    EXPECT_EQ(p.multiple, 3);
    EXPECT_TRUE(p.filtered);

    // A fill size that is a whole multiple needs no filtering step.
    p = planScaling(1280, 1024, ScaleMode::Fill);
    expectRect(p.picture, 0, 32, 1280, 960);
    EXPECT_EQ(p.multiple, 2);
    EXPECT_FALSE(p.filtered);

    // Portrait: the width decides.
    p = planScaling(768, 1366, ScaleMode::Fill);
    expectRect(p.picture, 0, 395, 768, 576);
    EXPECT_EQ(p.multiple, 2);
}

TEST(Scaling, WindowsSmallerThanThePictureAreFilteredDown)
{
    for (ScaleMode mode : {ScaleMode::Auto, ScaleMode::Integer, ScaleMode::Fill}) {
        ScalePlan p = planScaling(320, 240, mode);
        expectRect(p.picture, 0, 0, 320, 240);
        EXPECT_EQ(p.multiple, 1);
        EXPECT_TRUE(p.filtered);
        p = planScaling(639, 1000, mode);
        EXPECT_EQ(p.picture.width, 639);
        EXPECT_TRUE(p.filtered);
    }
    // Degenerate sizes still give a picture of at least one pixel.
    for (int w : {0, 1, 2})
        for (int h : {0, 1, 2}) {
            const ScalePlan p = planScaling(w, h, ScaleMode::Auto);
            EXPECT_GE(p.picture.width, 1);
            EXPECT_GE(p.picture.height, 1);
            EXPECT_GE(p.picture.x, 0);
            EXPECT_GE(p.picture.y, 0);
        }
}

TEST(Scaling, EverySizeFitsCentredAtFourByThree)
{
    for (int w = 4; w <= 4000; w += 37)
        for (int h = 3; h <= 2400; h += 29)
            for (ScaleMode mode : {ScaleMode::Auto, ScaleMode::Integer, ScaleMode::Fill}) {
                const ScalePlan p = planScaling(w, h, mode);
                const PixelRect r = p.picture;
                SCOPED_TRACE(testing::Message() << w << "x" << h << " mode " << int(mode));
                ASSERT_GE(r.x, 0);
                ASSERT_GE(r.y, 0);
                ASSERT_LE(r.x + r.width, w);
                ASSERT_LE(r.y + r.height, h);
                ASSERT_LE(w - r.width - 2 * r.x, 1) << "centred";
                ASSERT_LE(h - r.height - 2 * r.y, 1) << "centred";
                ASSERT_LE(std::abs(r.width * 3 - r.height * 4), 4) << "4:3";
                ASSERT_GE(p.multiple, 1);
                if (p.filtered) {
                    // The intermediate is the next whole multiple at or above the size.
                    ASSERT_GE(p.multiple * 480, r.height);
                    ASSERT_LT((p.multiple - 1) * 480, r.height);
                } else {
                    ASSERT_EQ(r.width, 640 * p.multiple);
                    ASSERT_EQ(r.height, 480 * p.multiple);
                }
            }
}

} // namespace
