#include "pages/info/time_info_tab_widget.h"

#include <QTabBar>

#include <algorithm>

namespace {

class FixedWidthTabBar final : public QTabBar {
public:
    explicit FixedWidthTabBar(QWidget* parent) : QTabBar(parent) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        // The height the style gives the tab; the width the same for all.
        const QSize natural = QTabBar::tabSizeHint(index);
        int widest = TimeInfoTabWidget::kTabWidth;
        for (int i = 0; i < count(); ++i) {
            widest = std::max(widest, QTabBar::tabSizeHint(i).width());
        }
        return {widest, natural.height()};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

}   // namespace

TimeInfoTabWidget::TimeInfoTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new FixedWidthTabBar(this));
    tabBar()->setExpanding(false);
    tabBar()->setUsesScrollButtons(false);
    setFocusPolicy(Qt::TabFocus);
}
