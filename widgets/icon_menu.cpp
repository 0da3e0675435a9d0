#include "widgets/icon_menu.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QToolBar>

#include <functional>

#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"

namespace {

constexpr int kTextGap = 10;
constexpr int kCheckMarkSide = 13;

// The tick of a checked item, in the menu text colour of the palette it is drawn with.
QPixmap CheckMark(const QColor& color, qreal ratio)
{
    QPixmap mark(QSize(kCheckMarkSide, kCheckMarkSide) * ratio);
    mark.setDevicePixelRatio(ratio);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF{QPointF(3.0, 6.5), QPointF(5.5, 9.0), QPointF(10.0, 3.5)});
    return mark;
}

std::pair<QString, QString> SplitAtTab(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? std::pair{text, QString()} : std::pair{text.left(tab), text.mid(tab + 1)};
}

void ForEachCommand(const QWidget& menu, int commandId, const std::function<void(QAction&)>& visit)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ForEachCommand(*action->menu(), commandId, visit);
        } else if (!action->isSeparator() && ControlId(*action) == commandId) {
            visit(*action);
        }
    }
}

}   // namespace

IconMenu::IconMenu(QWidget& root) : m_root(&root)
{
    m_normalFont = QApplication::font();
    m_boldFont = m_normalFont;
    m_boldFont.setWeight(QFont::Bold);
}

bool IconMenu::LoadIcons(const QPixmap& strip, const QColor& maskColor)
{
    if (m_root == nullptr || m_converted) {
        return false;
    }
    const QList<QPixmap> icons = CutIconStrip(strip, maskColor);
    if (icons.isEmpty()) {
        return false;
    }
    m_icons = icons;
    m_iconSize = icons.front().deviceIndependentSize().toSize().height();
    m_checkMark = CheckMark(m_root->palette().color(QPalette::WindowText), m_root->devicePixelRatioF());
    if (auto* menu = qobject_cast<QMenu*>(m_root.data())) {
        Convert(*menu);
    } else {
        for (QAction* action : m_root->actions()) {
            if (action->menu() != nullptr) {
                Convert(*action->menu());
            }
        }
    }
    m_converted = true;
    return true;
}

void IconMenu::Convert(QMenu& menu)
{
    menu.setStyle(this);
    MeasureColumns(menu);
    // Texts change after conversion (values filled in, a language applied): measure again before showing.
    connect(&menu, &QMenu::aboutToShow, this, [this, target = &menu] { MeasureColumns(*target); });
    connect(&menu, &QObject::destroyed, this, [this, target = &menu] { m_columns.remove(target); });
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            Convert(*action->menu());
        }
    }
}

void IconMenu::MeasureColumns(const QMenu& menu)
{
    const QFontMetrics normal(m_normalFont);
    const QFontMetrics bold(m_boldFont);
    int widestLabel = 0;
    int widestAccelerator = 0;
    int addedByMenu = 0;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const auto [label, accelerator] = SplitAtTab(action->text());
        const QFontMetrics& metrics = action == menu.defaultAction() ? bold : normal;
        widestLabel = std::max(widestLabel, metrics.size(Qt::TextShowMnemonic, label).width());
        if (!accelerator.isEmpty()) {
            widestAccelerator = std::max(widestAccelerator, metrics.size(Qt::TextShowMnemonic, accelerator).width());
            const QFontMetrics menuMetrics(action->font().resolve(menu.font()));
            addedByMenu = std::max(addedByMenu, menuMetrics.horizontalAdvance(accelerator));
        }
    }
    Columns columns{widestLabel, widestLabel, addedByMenu};
    if (widestAccelerator > 0) {
        columns.acceleratorColumn = widestLabel + kTextGap;
        columns.labelWidth = widestLabel + widestAccelerator + kTextGap;
    }
    m_columns.insert(&menu, columns);
}

void IconMenu::SetCommandIcon(int commandId, int iconIndex)
{
    if (!m_converted || m_root == nullptr) {
        return;
    }
    ForEachCommand(*m_root, commandId,
                   [this, iconIndex](QAction& action) { m_iconNumbers.insert(&action, iconIndex + 1); });
}

void IconMenu::TakeToolBarIcons(const QToolBar& toolBar)
{
    for (const QAction* button : toolBar.actions()) {
        const QVariant index = button->property("imageIndex");
        if (!button->isSeparator() && index.isValid() && index.toInt() < m_icons.size()) {
            SetCommandIcon(ControlId(*button), index.toInt());
        }
    }
}

int IconMenu::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    // Items fill the menu edge to edge, as they are measured.
    if (metric == PM_MenuHMargin || metric == PM_MenuVMargin) {
        return 0;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize IconMenu::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                 const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (type != CT_MenuItem || item == nullptr || menu == nullptr || !m_columns.contains(menu)) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        return QSize(1, 3);
    }
    const Columns columns = m_columns.value(menu);
    return QSize(columns.labelWidth + m_iconSize + 21 - columns.addedByMenu, m_iconSize + 6);
}

void IconMenu::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (element != CE_MenuItem || item == nullptr || menu == nullptr || !m_columns.contains(menu)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->translate(item->rect.topLeft());
    DrawItem(*item, *painter, menu);
    painter->restore();
}

void IconMenu::DrawItem(const QStyleOptionMenuItem& item, QPainter& painter, const QMenu* menu) const
{
    const DrawnPalette colors(item.palette);
    const QColor side = colors.Light(colors.Face(), 0.16);
    const QColor separator = colors.Dark(side, 0.18);
    const QColor selection = colors.Light(colors.Highlight(), 0.7);
    const QColor greyIcon = colors.Dark(side, 0.25);
    const QColor iconShadow = colors.Dark(selection, 0.25);
    const int width = item.rect.width();
    const int height = item.rect.height();
    const int column = m_iconSize + 7;
    painter.setPen(Qt::NoPen);

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        painter.fillRect(0, 0, column, height, side);
        painter.fillRect(column, 0, width - column, height, colors.Menu());
        painter.fillRect(m_iconSize + 15, 1, width - (m_iconSize + 15), 1, separator);
        return;
    }

    const bool enabled = (item.state & QStyle::State_Enabled) != 0;
    const bool selected = enabled && (item.state & QStyle::State_Selected) != 0;
    if (selected) {
        painter.setPen(colors.Highlight());
        painter.setBrush(selection);
        painter.drawRect(0, 0, width - 1, height - 1);
    } else {
        painter.fillRect(0, 0, column, height, side);
        painter.fillRect(column, 0, width - column, height, colors.Menu());
    }
    const bool subMenu = item.menuItemType == QStyleOptionMenuItem::SubMenu;
    if (subMenu) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors.MenuText());
        const int middle = height / 2;
        painter.drawPolygon(
            QPolygon{QPoint(width - 10, middle - 5), QPoint(width - 7, middle - 2), QPoint(width - 10, middle + 1)});
    }

    const auto [label, accelerator] = SplitAtTab(item.text);
    const bool isDefault = item.menuItemType == QStyleOptionMenuItem::DefaultItem;
    painter.setFont(isDefault ? m_boldFont : m_normalFont);
    painter.setPen(enabled ? colors.MenuText() : separator);
    const int mnemonic = styleHint(SH_UnderlineShortcut, &item, menu) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip | mnemonic;
    const int textLeft = m_iconSize + 15;
    painter.drawText(QRect(textLeft, 0, width - textLeft, height), flags, label);
    if (!accelerator.isEmpty()) {
        const int left = textLeft + m_columns.value(menu).acceleratorColumn;
        painter.drawText(QRect(left, 0, width - left, height), flags, accelerator);
    }
    if (subMenu) {
        return;
    }

    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    if (checked) {
        painter.setPen(enabled ? colors.Highlight() : side);
        painter.setBrush(enabled ? colors.Light(colors.Highlight(), selected ? 0.5 : 0.85) : side);
        painter.drawRect(QRect(0, 0, m_iconSize + 6, height).adjusted(1, 1, -2, -2));
        const QSize mark = m_checkMark.deviceIndependentSize().toSize();
        const QPoint at(m_iconSize > mark.width() ? mark.width() / 2 - 1 : 1,
                        m_iconSize > mark.height() ? mark.height() / 2 - 2 : 1);
        painter.drawPixmap(at, enabled ? m_checkMark : Silhouette(m_checkMark, greyIcon));
        return;
    }
    const QAction* action = menu->actionAt(item.rect.center());
    const int number = action != nullptr ? IconNumber(*action) : 0;
    if (number <= 0 || number > m_icons.size()) {
        return;
    }
    const QPixmap& icon = m_icons[number - 1];
    if (!enabled) {
        painter.drawPixmap(4, 4, Silhouette(icon, greyIcon));
    } else if (selected) {
        painter.drawPixmap(5, 5, Silhouette(icon, iconShadow));
        painter.drawPixmap(3, 3, icon);
    } else {
        painter.drawPixmap(4, 4, icon);
    }
}
