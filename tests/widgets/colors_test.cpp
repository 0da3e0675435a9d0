#include "widgets/colors.h"

#include <gtest/gtest.h>

namespace {

struct ColorCase {
    const char* why;
    Rgb color;
    double fraction;
    Rgb lighter, darker;
};

const ColorCase kCases[] = {
    {"button face by the background fraction", {240, 240, 240}, 0.24, {243, 243, 243}, {182, 182, 182}},
    {"classic grey, truncated not rounded", {212, 208, 200}, 0.24, {222, 219, 213}, {161, 158, 152}},
    {"frame shades", {212, 208, 200}, 0.15, {218, 215, 208}, {180, 176, 170}},
    {"a whole fraction", {10, 20, 30}, 1.0, {255, 255, 255}, {0, 0, 0}},
    {"zero gives black", {10, 20, 30}, 0.0, {0, 0, 0}, {0, 0, 0}},
    {"negative gives black", {10, 20, 30}, -0.5, {0, 0, 0}, {0, 0, 0}},
    {"above one gives black", {10, 20, 30}, 1.01, {0, 0, 0}, {0, 0, 0}},
};

TEST(Colors, LightenAndDarken)
{
    for (const ColorCase& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Lighten(c.color, c.fraction), c.lighter);
        EXPECT_EQ(Darken(c.color, c.fraction), c.darker);
    }
}

}  // namespace
