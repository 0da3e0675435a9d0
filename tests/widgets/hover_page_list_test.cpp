#include "widgets/hover_page_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>

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

TEST(HoverPageListTest, InitNeedsAParentAndOneImagePerCaption)
{
    const struct {
        const char* why;
        bool withParent;
        bool ownList;   // Init makes the list itself
        int images;
        QStringList captions;
        bool succeeds;
    } cases[] = {
        {"six pages, six icons", true, false, 6, kCaptions, true},
        {"a list of its own", true, true, 6, kCaptions, true},
        {"one icon missing", true, false, 5, kCaptions, false},
        {"no icons at all", true, false, 0, {}, false},
        {"no parent window", false, false, 6, kCaptions, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QWidget parent;
        QListWidget list(&parent);
        HoverPageList pages;
        QWidget* const owner = c.withParent ? &parent : nullptr;
        EXPECT_EQ(pages.Init(owner, c.ownList ? nullptr : &list, 2, Images(c.images), c.captions), c.succeeds);
        const QListWidget* shown = c.ownList ? FindControlAs<QListWidget>(parent, HoverPageList::kControlId) : &list;
        EXPECT_EQ(shown != nullptr ? shown->count() : 0, c.succeeds ? 6 : 0);
        EXPECT_TRUE(!c.ownList || shown == pages.List());
    }
}

TEST(HoverPageListTest, OnlyTheRowUnderTheMouseIsHotTheSelectionKeepsItsColourLeavingClears)
{
    QWidget window;
    QListWidget list(&window);
    HoverPageList pages;
    ASSERT_TRUE(pages.Init(&window, &list, 2, Images(6), kCaptions));
    list.setFixedSize(120, 6 * pages.RowHeight() + 2 * list.frameWidth());
    window.resize(300, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto moveOver = [&](int row) {
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QMouseEvent move(QEvent::MouseMove, at, list.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(list.viewport(), &move);
    };
    const auto colour = [&](int row) {
        const QRect rect = list.visualItemRect(list.item(row));
        return list.viewport()->grab().toImage().pixelColor(rect.left() + 3, rect.top() + 3);
    };
    moveOver(2);
    moveOver(4);
    EXPECT_EQ(pages.HotRow(), 4);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(list.item(row)->data(HoverPageList::kHotRole).toInt(), row == 4 ? 1 : 0) << "row " << row;
    }
    const DrawnPalette colors(list.palette());
    EXPECT_EQ(colour(4), colors.Light(colors.Highlight(), 0.7));
    EXPECT_EQ(colour(2), colors.Face());

    list.setCurrentRow(3);
    moveOver(3);
    EXPECT_EQ(colour(3), colors.Light(colors.Highlight(), 0.85)) << "the selection, never the hover colour";

    // Leaving the list clears the highlight within one check.
    ASSERT_EQ(pages.HotRow(), 3);
    QCursor::setPos(list.mapToGlobal(QPoint(-50, -50)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pages.HotRow() == -1; }, 10 * HoverPageList::kHoverCheckMs));
    EXPECT_EQ(list.item(3)->data(HoverPageList::kHotRole).toInt(), 0);
}

}  // namespace
