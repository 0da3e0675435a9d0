#include "pages/info/time_info_tab_widget.h"

#include <gtest/gtest.h>

#include <QTabBar>

namespace {

// The English captions keep the fixed width; one long Russian caption widens all tabs alike.
TEST(InfoSheet, EveryTabHasTheSameFixedWidth)
{
    for (const QStringList& captions : {QStringList{"General", "Time Zone", "Moon", "Horoscope"},
                                        QStringList{"Общие", "Часовой пояс и летнее время", "Луна", "Гороскоп"}}) {
        TimeInfoTabWidget sheet;
        for (const QString& caption : captions) {
            sheet.addTab(new QWidget, caption);
        }
        sheet.resize(900, 300);
        const QTabBar& bar = *sheet.tabBar();
        const int width = bar.tabRect(0).width();
        EXPECT_GE(width, TimeInfoTabWidget::kTabWidth);
        for (int i = 0; i < bar.count(); ++i) {
            EXPECT_EQ(bar.tabRect(i).width(), width) << i;
            EXPECT_GT(width, bar.fontMetrics().horizontalAdvance(captions[i])) << "caption " << i << " is cut";
        }
    }
}

}   // namespace
