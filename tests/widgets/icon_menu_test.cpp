#include "widgets/icon_menu.h"

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QPainter>
#include <QToolBar>

#include "widgets/control_id.h"
#include "widgets/icon_tool_bar.h"

namespace {

const QColor kMask(255, 0, 255);

// Each icon a blue square on the mask colour.
QPixmap Strip(int icons, int side = 16)
{
    QPixmap strip(icons * side, side);
    strip.fill(kMask);
    QPainter painter(&strip);
    for (int i = 0; i < icons; ++i) {
        painter.fillRect(i * side + 4, 4, side / 2, side / 2, Qt::blue);
    }
    return strip;
}

QAction* AddCommand(QMenu& menu, const QString& text, int command)
{
    QAction* action = menu.addAction(text);
    SetControlId(*action, command);
    return action;
}

bool Shows(const QPixmap& picture, const QColor& colour)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return std::count(pixels, pixels + image.width() * image.height(), colour.rgb()) > 0;
}

TEST(IconMenuTest, IconsFollowTheLoadingOrderUnusableStripsLeaveThePlainLook)
{
    QMenuBar bar;
    QMenu* more = bar.addMenu("&Template")->addMenu("&More");
    QAction* item = AddCommand(*more, "&New", 42);
    IconMenu icons(bar);
    icons.SetCommandIcon(42, 1);
    ASSERT_TRUE(icons.LoadIcons(Strip(3), kMask));
    EXPECT_EQ(icons.IconNumber(*item), 0) << "set before loading has no effect";
    EXPECT_EQ(more->style(), &icons) << "menus below a menu bar are drawn";
    EXPECT_NE(bar.style(), &icons) << "the bar itself is not";
    icons.SetCommandIcon(42, 9);
    EXPECT_FALSE(Shows(more->grab(), Qt::blue)) << "an index past the strip draws nothing";
    icons.SetCommandIcon(42, 2);
    EXPECT_EQ(icons.IconNumber(*item), 3);
    const QPixmap drawn = more->grab();
    EXPECT_TRUE(Shows(drawn, Qt::blue)) << "the icon is drawn";
    EXPECT_FALSE(Shows(drawn, kMask)) << "its mask colour is transparent";

    // Unusable strips leave the plain look; menus take the icons of the buttons with their command.
    QToolBar toolBar;
    IconToolBar look(toolBar);
    EXPECT_TRUE(look.LoadButtonIcons(Strip(3), kMask).isEmpty()) << "no buttons";
    QMenu menu;
    for (const int command : {10, 11, 12}) {   // 12 lies beyond the strip
        SetControlId(*toolBar.addAction("button"), command);
        AddCommand(menu, "&item", command);
    }
    toolBar.insertSeparator(toolBar.actions()[1]);
    toolBar.setIconSize(QSize(16, 16));
    EXPECT_TRUE(look.LoadButtonIcons(QPixmap(), kMask).isEmpty()) << "no strip";
    EXPECT_TRUE(toolBar.actions().front()->icon().isNull()) << "the plain look";
    ASSERT_EQ(look.LoadButtonIcons(Strip(2), kMask).size(), 2);
    IconMenu menuIcons(menu);
    EXPECT_FALSE(menuIcons.LoadIcons(QPixmap(), kMask)) << "a missing strip";
    EXPECT_FALSE(menuIcons.Converted());
    EXPECT_NE(menu.style(), &menuIcons) << "the plain menu";
    ASSERT_TRUE(menuIcons.LoadIcons(Strip(2), kMask));
    EXPECT_FALSE(menuIcons.LoadIcons(Strip(4, 24), kMask)) << "icons load only once";
    EXPECT_EQ(menuIcons.IconSize(), 16);
    menuIcons.TakeToolBarIcons(toolBar);
    EXPECT_EQ(menuIcons.IconNumber(*menu.actions()[0]), 1);
    EXPECT_EQ(menuIcons.IconNumber(*menu.actions()[1]), 2) << "separators take no icon";
    EXPECT_EQ(menuIcons.IconNumber(*menu.actions()[2]), 0);
}

}   // namespace
