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
TEST(ApplicationIcon, TheEmbeddedPictureDrawnAtEachSizeOrADrawnClock)
{
    const QIcon icon = ApplicationIcon();
    ASSERT_TRUE(QFile::exists(QString::fromLatin1(kApplicationIconPath)));
    for (const int size : {16, 22, 32, 128, 512}) {
        EXPECT_EQ(ProductPicture(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32), Picture(icon, size))
            << size << ": drawn at that size, the picture the About page shows";
    }
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32), Picture(icon, 32))
        << "sharp on a doubled screen";

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
    }
}

}   // namespace
