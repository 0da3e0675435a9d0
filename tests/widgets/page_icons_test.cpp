#include "widgets/page_icons.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

QImage Picture(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

// A static library drops resources nobody registers; the test program would miss that too.
TEST(ApplicationIcon, TheEmbeddedPictureInEveryDesktopSizeOnceAndTwiceOver)
{
    const QIcon icon = ApplicationIcon();
    ASSERT_TRUE(QFile::exists(QString::fromLatin1(kApplicationIconPath)));
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(sizes.contains(QSize(size, size)));
        EXPECT_TRUE(sizes.contains(QSize(size, size) * 2)) << "sharp on a doubled screen";
    }
    const QIcon fallback = ApplicationIcon(QStringLiteral(":/icons/missing.svg"));
    EXPECT_NE(Picture(icon, 16), Picture(fallback, 16));
    EXPECT_NE(Picture(icon, 256), Picture(fallback, 256));
    EXPECT_EQ(ProductPicture(128, 1.0).toImage().convertToFormat(QImage::Format_ARGB32), Picture(icon, 128))
        << "the About page shows the same picture";
}

TEST(ApplicationIcon, DrawnClockStandsInForABrokenSource)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QImage clock = Picture(ApplicationIcon(folder.filePath("absent.svg")), 32);
    int opaque = 0;
    for (int p = 0; p < 32 * 32; ++p) {
        opaque += qAlpha(clock.pixel(p % 32, p / 32)) > 200;
    }
    EXPECT_GT(opaque, 32 * 32 / 2) << "the stand-in is a full clock face";
    // Not an SVG, an empty file, an SVG that draws nothing.
    const QByteArray broken[] = {"this is not a picture", "",
                                 R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32"/>)"};
    for (const QByteArray& content : broken) {
        SCOPED_TRACE(content.toStdString());
        QFile file(folder.filePath(QString::number(&content - broken) + ".svg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const QIcon icon = ApplicationIcon(file.fileName());
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(Picture(icon, 32), clock);
        EXPECT_EQ(icon.availableSizes().size(), ApplicationIcon().availableSizes().size());
    }
}

}  // namespace
