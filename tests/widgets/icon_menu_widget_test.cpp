#include "widgets/icon_menu_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>

#include "widgets/control_id_widget.h"
#include "widgets/drawn_palette_widget.h"
#include "widgets/icon_tool_bar_widget.h"

namespace {

QPixmap Strip(int icons, int side = 16)
{
    QPixmap strip(icons * side, side);
    strip.fill(Qt::blue);
    return strip;
}

QAction* AddCommand(QMenu& menu, const QString& text, int command)
{
    QAction* action = menu.addAction(text);
    SetControlId(*action, command);
    return action;
}

int LabelWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).size(Qt::TextShowMnemonic, text).width();
}

TEST(IconMenuTest, MenuWithoutAcceleratorsIsWidestLabelPlusIconColumn)
{
    QMenu menu;
    AddCommand(menu, "&Open...", 1);
    menu.addSeparator();
    AddCommand(menu, "A much longer &label", 2);
    IconMenu icons(menu);
    ASSERT_TRUE(icons.LoadIcons(Strip(3), Qt::white));
    const QFont font = QApplication::font();
    const int widest = std::max(LabelWidth(font, "&Open..."), LabelWidth(font, "A much longer &label"));
    menu.adjustSize();
    const QList<QAction*> actions = menu.actions();
    EXPECT_EQ(menu.actionGeometry(actions[0]).size(), QSize(widest + 16 + 21, 16 + 6));
    EXPECT_EQ(menu.actionGeometry(actions[1]).height(), 3) << "a separator";
}

TEST(IconMenuTest, AcceleratorsGetAColumnOfTheirOwnAndTheDefaultItemIsMeasuredBold)
{
    QMenu menu;
    QAction* open = AddCommand(menu, "&Open", 1);
    AddCommand(menu, "&Delete\tCtrl+D", 2);
    AddCommand(menu, "Cu&t\tCtrl+Shift+X", 3);
    menu.setDefaultAction(open);
    IconMenu icons(menu);
    ASSERT_TRUE(icons.LoadIcons(Strip(1), Qt::white));
    QFont bold = QApplication::font();
    bold.setWeight(QFont::Bold);
    const QFont normal = QApplication::font();
    const int labels = std::max({LabelWidth(bold, "&Open"), LabelWidth(normal, "&Delete"), LabelWidth(normal, "Cu&t")});
    const int accelerators = std::max(LabelWidth(normal, "Ctrl+D"), LabelWidth(normal, "Ctrl+Shift+X"));
    menu.adjustSize();
    EXPECT_EQ(menu.actionGeometry(open).width(), labels + 10 + accelerators + 16 + 21);
}

TEST(IconMenuTest, IconsFollowTheLoadingOrder)
{
    struct Case {
        const char* why;
        bool setBeforeLoading;
        int iconIndex;
        int expectedNumber;
    };
    const Case cases[] = {
        {"set after loading shows the icon", false, 2, 3},
        {"set before loading has no effect", true, 2, 0},
        {"an index past the strip is stored but draws nothing", false, 9, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QMenuBar bar;
        QMenu* sub = bar.addMenu("&Template");
        QAction* item = AddCommand(*sub->addMenu("&More"), "&New", 42);
        IconMenu icons(bar);
        if (c.setBeforeLoading) {
            icons.SetCommandIcon(42, c.iconIndex);
            ASSERT_TRUE(icons.LoadIcons(Strip(3), Qt::white));
        } else {
            ASSERT_TRUE(icons.LoadIcons(Strip(3), Qt::white));
            icons.SetCommandIcon(42, c.iconIndex);
        }
        EXPECT_EQ(icons.IconNumber(*item), c.expectedNumber);
        EXPECT_EQ(sub->style(), &icons) << "menus below a menu bar are drawn";
        EXPECT_NE(bar.style(), &icons) << "the bar itself is not";
        sub->grab();   // drawing an icon past the strip must not crash
    }
}

TEST(IconMenuTest, UnusableStripsLeaveThePlainMenu)
{
    QMenu menu;
    AddCommand(menu, "&Open", 1);
    IconMenu icons(menu);
    EXPECT_FALSE(icons.LoadIcons(QPixmap(), Qt::white)) << "a missing strip";
    EXPECT_FALSE(icons.Converted());
    EXPECT_NE(menu.style(), &icons);
    ASSERT_TRUE(icons.LoadIcons(Strip(2), Qt::white));
    EXPECT_EQ(icons.IconSize(), 16);
    EXPECT_FALSE(icons.LoadIcons(Strip(4, 24), Qt::white)) << "icons load only once";
    EXPECT_EQ(icons.IconSize(), 16);
}

TEST(IconMenuTest, MaskColourBecomesTransparent)
{
    QPixmap strip(32, 16);
    strip.fill(QColor(kStripMask));
    {
        QPainter painter(&strip);
        painter.fillRect(4, 4, 8, 8, Qt::red);
    }
    const QList<QPixmap> icons = CutIconStrip(strip, QColor(kStripMask));
    ASSERT_EQ(icons.size(), 2);
    const QImage first = icons[0].toImage();
    EXPECT_EQ(first.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(first.pixelColor(6, 6), QColor(Qt::red));
}

TEST(IconMenuTest, MenuTakesTheIconsOfTheToolBarButtonsWithTheSameCommand)
{
    QToolBar toolBar;
    SetControlId(*toolBar.addAction("New"), 10);
    toolBar.addSeparator();
    SetControlId(*toolBar.addAction("Delete"), 11);
    SetControlId(*toolBar.addAction("Beyond the strip"), 12);
    IconToolBar look(toolBar);
    toolBar.setIconSize(QSize(16, 16));
    ASSERT_EQ(look.LoadButtonIcons(Strip(2), Qt::white).size(), 2);

    QMenu menu;
    QAction* fresh = AddCommand(menu, "&New", 10);
    QAction* remove = AddCommand(menu, "&Delete", 11);
    QAction* beyond = AddCommand(menu, "&Beyond", 12);
    IconMenu icons(menu);
    ASSERT_TRUE(icons.LoadIcons(Strip(2), Qt::white));
    icons.TakeToolBarIcons(toolBar);
    EXPECT_EQ(icons.IconNumber(*fresh), 1);
    EXPECT_EQ(icons.IconNumber(*remove), 2);
    EXPECT_EQ(icons.IconNumber(*beyond), 0);
}

TEST(IconToolBarTest, ButtonsWithoutIconsKeepThePlainLook)
{
    QToolBar empty;
    IconToolBar emptyLook(empty);
    EXPECT_TRUE(emptyLook.LoadButtonIcons(Strip(3), Qt::white).isEmpty()) << "no buttons";

    QToolBar toolBar;
    toolBar.addAction("New");
    IconToolBar look(toolBar);
    EXPECT_TRUE(look.LoadButtonIcons(QPixmap(), Qt::white).isEmpty()) << "no strip";
    EXPECT_TRUE(toolBar.actions().front()->icon().isNull());
}

TEST(DrawnPaletteTest, DarkPalettesShadeTheOtherWay)
{
    QPalette light;
    light.setColor(QPalette::Window, Qt::white);
    light.setColor(QPalette::WindowText, Qt::black);
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    const QColor blue(0, 100, 200);
    EXPECT_EQ(DrawnPalette(light).Light(blue, 0.5), QColor(127, 177, 227));
    EXPECT_EQ(DrawnPalette(light).Dark(blue, 0.5), QColor(0, 50, 100));
    EXPECT_EQ(DrawnPalette(dark).Light(blue, 0.5), QColor(0, 50, 100));
    EXPECT_EQ(DrawnPalette(dark).Dark(blue, 0.5), QColor(127, 177, 227));
}

}  // namespace
