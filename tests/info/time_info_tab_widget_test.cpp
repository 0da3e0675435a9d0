#include "info/time_info_tab_widget.h"

#include <gtest/gtest.h>

#include <QTabBar>

namespace {

TEST(InfoSheet, EveryTabHasTheSameFixedWidth)
{
    const struct {
        const char* why;
        QStringList captions;
    } cases[] = {
        {"short captions keep the fixed width", {"A", "B", "C", "D"}},
        {"the English captions", {"General", "Time Zone", "Moon", "Horoscope"}},
        {"one long caption widens all tabs alike", {"Общие", "Часовой пояс и летнее время", "Луна", "Гороскоп"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TimeInfoTabWidget sheet;
        for (const QString& caption : c.captions) {
            sheet.addTab(new QWidget, caption);
        }
        sheet.resize(900, 300);
        const QTabBar& bar = *sheet.tabBar();
        const int width = bar.tabRect(0).width();
        EXPECT_GE(width, TimeInfoTabWidget::kTabWidth);
        for (int i = 0; i < bar.count(); ++i) {
            EXPECT_EQ(bar.tabRect(i).width(), width) << i;
            EXPECT_GT(width, bar.fontMetrics().horizontalAdvance(c.captions[i])) << "caption " << i << " is cut";
        }
    }
}

}  // namespace
