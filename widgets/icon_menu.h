#pragma once

#include <QFont>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QProxyStyle>

class QToolBar;

// Draws a menu tree the program's way: a coloured icon column with 16x16 icons, check boxes in that
// column, labels and accelerator texts in columns of their own, the default item in bold. The root is
// a menu bar (its own items stay as the bar draws them) or a menu that pops up (drawn like the rest).
class IconMenu final : public QProxyStyle {
    Q_OBJECT
public:
    explicit IconMenu(QWidget& root);

    // Once per menu tree: cuts `strip` into square icons as high as the strip (`maskColor` pixels are
    // transparent) and takes over the drawing of every menu below the root. False, leaving the menus
    // as they are, when the strip holds no icon or icons were loaded before.
    bool LoadIcons(const QPixmap& strip, const QColor& maskColor);
    bool Converted() const { return m_converted; }
    int IconSize() const { return m_iconSize; }

    // Shows icon `iconIndex` before every item with this command id; ignored until the icons are loaded.
    void SetCommandIcon(int commandId, int iconIndex);
    // Gives each item the icon of the toolbar button with the same command.
    void TakeToolBarIcons(const QToolBar& toolBar);
    // 0 for no icon, else the icon's index + 1.
    int IconNumber(const QAction& action) const { return m_iconNumbers.value(&action, 0); }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;

private:
    struct Columns {
        int labelWidth = 0;          // the labels, plus the accelerator column when any item has one
        int acceleratorColumn = 0;   // where accelerator texts begin
        int addedByMenu = 0;         // the widest text after a tab, which the menu adds to every item
    };

    void Convert(QMenu& menu);
    void MeasureColumns(const QMenu& menu);
    void DrawItem(const QStyleOptionMenuItem& item, QPainter& painter, const QMenu* menu) const;

    QPointer<QWidget> m_root;
    bool m_converted = false;
    int m_iconSize = 0;
    QList<QPixmap> m_icons;
    QPixmap m_checkMark;
    QFont m_normalFont;
    QFont m_boldFont;
    QHash<const QMenu*, Columns> m_columns;
    QHash<const QAction*, int> m_iconNumbers;
};
