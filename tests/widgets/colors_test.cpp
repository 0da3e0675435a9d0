#include "widgets/colors.h"

#include <gtest/gtest.h>

namespace {

TEST(Colors, LightenAndDarken)
{
    const struct {
        const char* why;
        Rgb color;
        double fraction;
        Rgb lighter, darker;
    } cases[] = {
        {"classic grey, truncated not rounded", {212, 208, 200}, 0.24, {222, 219, 213}, {161, 158, 152}},
        {"a whole fraction", {10, 20, 30}, 1.0, {255, 255, 255}, {0, 0, 0}},
        {"zero gives black", {10, 20, 30}, 0.0, {0, 0, 0}, {0, 0, 0}},
        {"above one gives black", {10, 20, 30}, 1.01, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Lighten(c.color, c.fraction), c.lighter);
        EXPECT_EQ(Darken(c.color, c.fraction), c.darker);
    }
}

}  // namespace
