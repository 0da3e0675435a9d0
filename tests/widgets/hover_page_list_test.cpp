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

struct InitCase {
    const char* why;
    bool withParent;
    bool ownList;   // Init makes the list itself
    int images;
    QStringList captions;
    bool succeeds;
};

TEST(HoverPageListTest, InitNeedsAParentAndOneImagePerCaption)
{
    const InitCase cases[] = {
        {"six pages, six icons", true, false, 6, kCaptions, true},
        {"a list of its own", true, true, 6, kCaptions, true},
        {"one icon missing", true, false, 5, kCaptions, false},
        {"no icons at all", true, false, 0, {}, false},
        {"no parent window", false, false, 6, kCaptions, false},
    };
    for (const InitCase& c : cases) {
        SCOPED_TRACE(c.why);
        QWidget parent;
        QListWidget list(&parent);
        HoverPageList pages;
        EXPECT_EQ(pages.Init(c.withParent ? &parent : nullptr, c.ownList ? nullptr : &list, 2, Images(c.images),
                             c.captions),
                  c.succeeds);
        const QListWidget* shown = c.ownList ? FindControlAs<QListWidget>(parent, HoverPageList::kControlId) : &list;
        EXPECT_EQ(shown != nullptr ? shown->count() : 0, c.succeeds ? 6 : 0);
        EXPECT_TRUE(!c.ownList || shown == pages.List());
    }
}

class HoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pages.Init(&m_window, &m_list, 2, Images(6), kCaptions));
        m_list.setFixedSize(120, 6 * m_pages.RowHeight() + 2 * m_list.frameWidth());
        m_window.resize(300, 500);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void MoveOver(int row)
    {
        const QPoint at = m_list.visualItemRect(m_list.item(row)).center();
        QMouseEvent move(QEvent::MouseMove, at, m_list.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_list.viewport(), &move);
    }

    QColor RowColour(int row)
    {
        const QRect rect = m_list.visualItemRect(m_list.item(row));
        return m_list.viewport()->grab().toImage().pixelColor(rect.left() + 3, rect.top() + 3);
    }

    QWidget m_window;
    QListWidget m_list{&m_window};
    HoverPageList m_pages;
};

TEST_F(HoverTest, OnlyTheRowUnderTheMouseIsHotAndTheSelectionKeepsItsColour)
{
    MoveOver(2);
    MoveOver(4);
    EXPECT_EQ(m_pages.HotRow(), 4);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(m_list.item(row)->data(HoverPageList::kHotRole).toInt(), row == 4 ? 1 : 0) << "row " << row;
    }
    const DrawnPalette colors(m_list.palette());
    EXPECT_EQ(RowColour(4), colors.Light(colors.Highlight(), 0.7));
    EXPECT_EQ(RowColour(2), colors.Face());

    m_list.setCurrentRow(3);
    MoveOver(3);
    EXPECT_EQ(RowColour(3), colors.Light(colors.Highlight(), 0.85)) << "the selection, never the hover colour";
}

TEST_F(HoverTest, LeavingTheListClearsTheHighlightWithinOneCheck)
{
    MoveOver(1);
    ASSERT_EQ(m_pages.HotRow(), 1);
    QCursor::setPos(m_list.mapToGlobal(QPoint(-50, -50)));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_pages.HotRow() == -1; }, 10 * HoverPageList::kHoverCheckMs));
    EXPECT_EQ(m_list.item(1)->data(HoverPageList::kHotRole).toInt(), 0);
}

}  // namespace
