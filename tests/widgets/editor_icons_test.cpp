#include "widgets/editor_icons.h"

#include "widgets/page_icons.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

namespace {

TEST(IconStrips, DistinctShapesDrawnAtTheScreensScale)
{
    const struct {
        const char* why;
        std::function<QPixmap(qreal)> strip;
        int count;
        bool pageIcons;   // its cells are the page icons in page order
    } strips[] = {
        {"the template editor's toolbar and menus", EditorIconStrip, kEditorIconCount, false},
        {"the tray menu's pages", TrayIconStrip, kTrayIconCount, true},
    };
    for (const auto& c : strips) {
        for (const qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(c.why);
            SCOPED_TRACE(ratio);
            const QPixmap strip = c.strip(ratio);
            EXPECT_EQ(strip.deviceIndependentSize(), QSizeF(16.0 * c.count, 16.0));
            EXPECT_EQ(strip.size(), QSize(16 * c.count, 16) * ratio) << "drawn at the screen's scale, not blown up";
            const QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
            const int side = image.height();
            for (int i = 0; i < c.count; ++i) {
                SCOPED_TRACE(i);
                const QImage cell = image.copy(i * side, 0, side, side);
                int clear = 0;   // pixels where the menu shows through around the icon
                for (int p = 0; p < side * side; ++p) {
                    clear += qAlpha(cell.pixel(p % side, p / side)) == 0;
                }
                EXPECT_TRUE(clear > side * side / 10 && clear < side * side * 9 / 10) << "an icon, not a smudge";
                for (int j = 0; j < i; ++j) {
                    EXPECT_NE(cell, image.copy(j * side, 0, side, side)) << "same picture as cell " << j;
                }
                if (c.pageIcons) {
                    EXPECT_EQ(cell, PageIcon(i, 16, ratio).toImage().convertToFormat(QImage::Format_ARGB32));
                }
            }
        }
    }
}

}  // namespace
