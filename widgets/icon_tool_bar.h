#pragma once

#include <QPointer>
#include <QProxyStyle>
#include <QToolBar>

// Draws a toolbar's buttons the program's way, in the colours of the icon menus: a flat side-coloured
// face, a highlight frame when hot, pressed or checked, and a hot icon lifted off its shadow.
class IconToolBar final : public QProxyStyle {
    Q_OBJECT
public:
    explicit IconToolBar(QToolBar& toolBar);

    // Cuts `strip` into square icons of the toolbar's icon size (`maskColor` pixels transparent) and
    // gives them, in order, to the buttons that are not separators, each button remembering its image
    // index. Returns the icons; none when the toolbar has no buttons or the strip no icon, in which case
    // the buttons keep their plain look.
    QList<QPixmap> LoadButtonIcons(const QPixmap& strip, const QColor& maskColor);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

private:
    QPointer<QToolBar> m_toolBar;
};
