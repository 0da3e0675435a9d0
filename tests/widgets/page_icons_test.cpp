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

// A static library drops resources nobody registers; the test program would miss that too. A source that
// is missing, no SVG or draws nothing gets a drawn clock in every size instead.
TEST(ApplicationIcon, TheEmbeddedPictureInEveryDesktopSizeOrADrawnClock)
{
    const QIcon icon = ApplicationIcon();
    ASSERT_TRUE(QFile::exists(QString::fromLatin1(kApplicationIconPath)));
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(sizes.contains(QSize(size, size)));
        EXPECT_TRUE(sizes.contains(QSize(size, size) * 2)) << "sharp on a doubled screen";
    }
    EXPECT_EQ(ProductPicture(128, 1.0).toImage().convertToFormat(QImage::Format_ARGB32), Picture(icon, 128))
        << "the About page shows the same picture";

    const QImage clock = Picture(ApplicationIcon(QStringLiteral(":/icons/missing.svg")), 32);
    EXPECT_NE(clock, Picture(icon, 32));
    QTemporaryDir folder;
    const QByteArray broken[] = {"not a picture", R"(<svg xmlns="http://www.w3.org/2000/svg" width="9" height="9"/>)"};
    for (const QByteArray& content : broken) {
        QFile file(folder.filePath(QString::number(&content - broken) + ".svg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const QIcon fallback = ApplicationIcon(file.fileName());
        EXPECT_EQ(Picture(fallback, 32), clock) << content.toStdString();
        EXPECT_EQ(fallback.availableSizes().size(), sizes.size());
    }
}

}   // namespace
