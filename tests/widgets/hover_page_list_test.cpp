#include "widgets/hover_page_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include <QTest>
#include <cmath>

#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"

namespace {

QList<QPixmap> Images(int count)
{
    QPixmap image(32, 32);
    image.fill(Qt::darkGreen);
    return QList<QPixmap>(count, image);
}

const QStringList kCaptions = {"Difference", "Calculation", "Time Info", "Rollback", "Options", "About"};

// Init fails (adding nothing) unless there is a parent and one image per caption; without a list it makes
// its own. Then only the row under the mouse is hot, the selection keeps its colour, and leaving clears.
TEST(HoverPageListTest, InitThenOnlyTheRowUnderTheMouseIsHot)
{
    QWidget window, other;
    QListWidget list(&window);
    EXPECT_FALSE(HoverPageList().Init(&window, &list, 2, Images(5), kCaptions));
    EXPECT_FALSE(HoverPageList().Init(&window, &list, 2, {}, {}));
    EXPECT_FALSE(HoverPageList().Init(nullptr, &list, 2, Images(6), kCaptions));
    EXPECT_EQ(list.count(), 0);
    HoverPageList own, pages;
    ASSERT_TRUE(own.Init(&other, nullptr, 2, Images(6), kCaptions));
    EXPECT_EQ(own.List(), FindControlAs<QListWidget>(other, HoverPageList::kControlId));
    EXPECT_EQ(own.List()->count(), 6);
    ASSERT_TRUE(pages.Init(&window, &list, 2, Images(6), kCaptions));
    list.setFixedSize(120, 6 * pages.RowHeight() + 2 * list.frameWidth());
    window.resize(300, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto moveOver = [&](int row) {
        QTest::mouseMove(list.viewport(), list.visualItemRect(list.item(row)).center());
    };
    const auto colour = [&](int row) {
        const QRect rect = list.visualItemRect(list.item(row));
        return list.viewport()->grab().toImage().pixelColor(rect.left() + 3, rect.top() + 3);
    };
    moveOver(2);
    moveOver(4);
    EXPECT_EQ(pages.HotRow(), 4);
    EXPECT_EQ(list.item(4)->data(HoverPageList::kHotRole).toInt(), 1);
    EXPECT_EQ(list.item(2)->data(HoverPageList::kHotRole).toInt(), 0) << "only the row under the mouse";
    const DrawnPalette colors(list.palette()), dark(QPalette(Qt::gray, QColor(30, 30, 30)));
    EXPECT_EQ(DrawnPalette(QPalette(Qt::gray, Qt::white)).Light(QColor(0, 100, 200), 0.5), QColor(127, 177, 227));
    EXPECT_EQ(dark.Light(QColor(0, 100, 200), 0.5), QColor(0, 50, 100)) << "dark palettes shade the other way";
    EXPECT_EQ(colour(4), colors.Light(colors.Highlight(), 0.7));
    EXPECT_EQ(colour(2), colors.Face());

    list.setCurrentRow(3);
    moveOver(3);
    EXPECT_EQ(colour(3), colors.Light(colors.Highlight(), 0.85)) << "the selection, never the hover colour";

    // Moving off the list clears the highlight at once.
    ASSERT_EQ(pages.HotRow(), 3);
    QTest::mouseMove(&window, QPoint(250, 20));
    EXPECT_EQ(pages.HotRow(), -1);
    EXPECT_EQ(list.item(3)->data(HoverPageList::kHotRole).toInt(), 0);
}

// Only the rows whose state changed are painted again on a switch: a stroke that falls outside its row (a
// one-pixel outline covers two device pixels at 2x) would stay behind in the neighbour.
TEST(HoverPageListTest, PaintsNothingOutsideItsRowAtAnyScale)
{
    QWidget window;
    QListWidget list(&window);
    HoverPageList pages;
    ASSERT_TRUE(pages.Init(&window, &list, 2, Images(6), kCaptions));
    const int height = pages.RowHeight();
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        for (const bool selected : {true, false}) {
            SCOPED_TRACE(scale * (selected ? 1 : -1));
            QImage image((QSizeF(100, 3 * height) * scale).toSize(), QImage::Format_ARGB32);
            image.setDevicePixelRatio(scale);
            image.fill(Qt::magenta);
            QStyleOptionViewItem option;
            option.initFrom(&list);
            option.rect = QRect(0, height, 100, height);
            option.state.setFlag(QStyle::State_Selected, selected);
            list.item(1)->setData(HoverPageList::kHotRole, selected ? 0 : 1);
            QPainter painter(&image);
            pages.paint(&painter, option, list.model()->index(1, 0));
            painter.end();
            int outside = 0;
            for (int y = 0; y < image.height(); ++y) {
                if (y >= std::floor(height * scale) && y < std::ceil(2 * height * scale)) {
                    continue;
                }
                for (int x = 0; x < image.width(); ++x) {
                    outside += image.pixelColor(x, y) != QColor(Qt::magenta) ? 1 : 0;
                }
            }
            EXPECT_EQ(outside, 0);
        }
    }
}

}   // namespace
