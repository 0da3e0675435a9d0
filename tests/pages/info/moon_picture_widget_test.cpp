#include "pages/info/moon_picture_widget.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QImage>

namespace {

// How much of a picture is sunlit, and where: lit pixels are the bright ones.
struct Light {
    int pixels = 0;
    double centreX = 0.0;   // in device-independent pixels
};

Light Measure(const QPixmap& picture)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    Light light;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && pixel.lightness() > 160) {
                ++light.pixels;
                light.centreX += x + 0.5;
            }
        }
    }
    light.centreX /= std::max(light.pixels, 1) * picture.devicePixelRatio();
    return light;
}

TEST(MoonPictures, OneLunationFromFullToFull)
{
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        std::vector<Light> lights;
        for (int index = 0; index < kMoonPictureCount; ++index) {
            const QPixmap picture = MoonPicture(index, ratio);
            ASSERT_EQ(picture.deviceIndependentSize(), QSizeF(kMoonPictureSize, kMoonPictureSize));
            ASSERT_EQ(picture.width(), qRound(kMoonPictureSize * ratio)) << "drawn at the screen's own scale";
            lights.push_back(Measure(picture));
        }
        const double middle = kMoonPictureSize / 2.0;
        const int disc = lights[0].pixels;
        EXPECT_GT(disc, 0.45 * kMoonPictureSize * kMoonPictureSize * ratio * ratio) << "full moon is a lit disc";
        EXPECT_EQ(lights[16].pixels, disc) << "full again at the end";
        EXPECT_EQ(lights[8].pixels, 0) << "new moon shows no light";
        for (int index = 1; index <= 8; ++index) {
            SCOPED_TRACE(index);
            EXPECT_LT(lights[index].pixels, lights[index - 1].pixels) << "waning";
            EXPECT_LT(lights[16 - index].pixels, lights[16 - index + 1].pixels) << "waxing";
            EXPECT_NEAR(lights[16 - index].pixels, lights[index].pixels, 0.03 * disc) << "waxing mirrors waning";
            if (index < 8) {
                EXPECT_LT(lights[index].centreX, middle) << "the shadow grows from the right";
                EXPECT_GT(lights[16 - index].centreX, middle) << "waxing is lit from the right";
            }
        }
        EXPECT_NEAR(lights[4].pixels, disc / 2.0, 0.08 * disc) << "a quarter is half lit";
    }
    // An index outside the lunation shows nothing.
    MoonPictureWidget widget;
    for (const int index : {-1, kMoonPictureCount, 1000}) {
        EXPECT_TRUE(MoonPicture(index, 1.0).isNull()) << index;
        widget.SetPicture(3);
        widget.SetPicture(index);
        EXPECT_EQ(widget.Picture(), -1) << index;
    }
}

}   // namespace
