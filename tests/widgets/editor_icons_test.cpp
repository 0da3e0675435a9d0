#include "widgets/editor_icons.h"

#include "widgets/page_icons.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <vector>

namespace {

struct StripCase {
    const char* why;
    std::function<QPixmap(qreal)> strip;
    int count;
    bool pageIcons;   // its cells are the page icons in page order
};

const StripCase kStrips[] = {
    {"the template editor's toolbar and menus", EditorIconStrip, kEditorIconCount, false},
    {"the tray menu's pages", TrayIconStrip, kTrayIconCount, true},
};

// The cells of a strip in device pixels, left to right.
std::vector<QImage> Cells(const QPixmap& strip, int count)
{
    const QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
    const int side = image.height();
    std::vector<QImage> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(image.copy(i * side, 0, side, side));
    }
    return cells;
}

struct Coverage {
    int opaque = 0;
    int clear = 0;
};

Coverage Measure(const QImage& cell)
{
    Coverage coverage;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const int alpha = qAlpha(cell.pixel(x, y));
            coverage.opaque += alpha > 200 ? 1 : 0;
            coverage.clear += alpha == 0 ? 1 : 0;
        }
    }
    return coverage;
}

TEST(IconStrips, DistinctShapesDrawnAtTheScreensScale)
{
    for (const StripCase& c : kStrips) {
        for (const qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(c.why);
            SCOPED_TRACE(ratio);
            const QPixmap strip = c.strip(ratio);
            EXPECT_EQ(strip.deviceIndependentSize(), QSizeF(16.0 * c.count, 16.0));
            EXPECT_EQ(strip.size(), QSize(16 * c.count, 16) * ratio) << "drawn at the screen's scale, not blown up";
            const std::vector<QImage> cells = Cells(strip, c.count);
            const int area = cells.front().width() * cells.front().height();
            for (int i = 0; i < c.count; ++i) {
                SCOPED_TRACE(i);
                const Coverage coverage = Measure(cells[i]);
                EXPECT_GT(coverage.opaque, area / 10) << "an icon, not a smudge";
                EXPECT_GT(coverage.clear, area / 10) << "the menu shows through around it";
                for (int j = 0; j < i; ++j) {
                    EXPECT_NE(cells[i], cells[j]) << "same picture as cell " << j;
                }
                if (c.pageIcons) {
                    EXPECT_EQ(cells[i], PageIcon(i, 16, ratio).toImage().convertToFormat(QImage::Format_ARGB32));
                }
            }
        }
    }
}

}  // namespace
