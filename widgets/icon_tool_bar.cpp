#include "widgets/icon_tool_bar.h"

#include <QAction>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QToolButton>

#include "widgets/drawn_palette.h"

IconToolBar::IconToolBar(QToolBar& toolBar) : m_toolBar(&toolBar) {}

QList<QPixmap> IconToolBar::LoadButtonIcons(const QPixmap& strip, const QColor& maskColor)
{
    QList<QAction*> buttons;
    for (QAction* action : m_toolBar->actions()) {
        if (!action->isSeparator()) {
            buttons.append(action);
        }
    }
    QList<QPixmap> icons = CutIconStrip(strip, maskColor);
    if (buttons.isEmpty() || icons.isEmpty()) {
        return {};
    }
    const int side = m_toolBar->iconSize().width();
    for (QPixmap& icon : icons) {
        if (icon.deviceIndependentSize().toSize() != QSize(side, side)) {
            icon =
                icon.scaled(QSize(side, side) * icon.devicePixelRatio(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
    }
    for (qsizetype i = 0; i < buttons.size() && i < icons.size(); ++i) {
        buttons[i]->setIcon(QIcon(icons[i]));
        buttons[i]->setProperty("imageIndex", static_cast<int>(i));
        if (QWidget* button = m_toolBar->widgetForAction(buttons[i])) {
            button->setStyle(this);
        }
    }
    return icons;
}

void IconToolBar::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                     const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
    if (control != CC_ToolButton || button == nullptr || button->icon.isNull()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const DrawnPalette colors(button->palette);
    const QColor side = colors.Light(colors.Face(), 0.16);
    const QColor hotFill = colors.Light(colors.Highlight(), 0.7);
    const bool enabled = (button->state & State_Enabled) != 0;
    const bool pressed = enabled && (button->state & State_Sunken) != 0;
    const bool checked = (button->state & State_On) != 0;
    const bool hot = enabled && (button->state & State_MouseOver) != 0;
    const QRect rect = button->rect;

    painter->save();
    painter->fillRect(rect, side);
    if (pressed || checked || hot) {
        painter->setPen(colors.Highlight());
        painter->setBrush(pressed   ? colors.Light(colors.Highlight(), 0.5)
                          : checked ? colors.Light(colors.Highlight(), 0.85)
                                    : hotFill);
        painter->drawRect(rect.adjusted(0, 1, -1, -2));
    }
    const QSize iconSize = button->iconSize;
    const qreal ratio = widget != nullptr ? widget->devicePixelRatioF() : 1.0;
    const QPixmap icon = button->icon.pixmap(iconSize, ratio);
    const int x = rect.left() + (rect.width() / 2 - iconSize.width() / 2) + 1;
    const int y = rect.top() + (rect.height() / 2 - iconSize.height() / 2) + 1;
    if (hot && !pressed) {
        painter->drawPixmap(x + 1, y + 1, Silhouette(icon, colors.Dark(hotFill, 0.25)));
        painter->drawPixmap(x - 1, y - 1, icon);
    } else if (!enabled) {
        painter->drawPixmap(x, y, Silhouette(icon, colors.Dark(side, 0.25)));
    } else {
        painter->drawPixmap(x, y, icon);
    }
    painter->restore();
}
