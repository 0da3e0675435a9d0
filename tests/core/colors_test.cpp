#include "core/colors.h"

#include <gtest/gtest.h>

// Shades are truncated, not rounded, and a whole fraction reaches white or black.
TEST(Colors, ShadesMoveTowardWhiteOrBlack)
{
    EXPECT_EQ(Lighten({212, 208, 200}, 0.24), (Rgb{222, 219, 213}));
    EXPECT_EQ(Darken({212, 208, 200}, 0.24), (Rgb{161, 158, 152}));
    EXPECT_EQ(Lighten({10, 20, 30}, 1.0), (Rgb{255, 255, 255}));
    EXPECT_EQ(Darken({10, 20, 30}, 1.0), (Rgb{0, 0, 0}));
}
