#include "templates/page_value_source.h"

#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "app/main_window.h"
#include "pages/page_widget.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

// Each macro against the real pages: what Expand puts in is what its control shows on the screen.
struct PageValuesTest : ::testing::Test {
    UiEnvironment env;
    MainWindow window{AppServices{env.clock, env.formatter, env.settings, env.location, env.zones,
                                       env.clockSetter, env.timeChanges}};

    const QWidget* SourcePage(MacroSource source) const
    {
        // General, Time Zone, Moon and Horoscope are the tabs of the Time Info page, in that order.
        if (const int tab = static_cast<int>(source) - static_cast<int>(MacroSource::General); tab >= 0) {
            return window.Page(kTimeInfoPage)->findChild<QTabWidget*>()->widget(tab);
        }
        return window.Page(source == MacroSource::Difference    ? kDifferencePage
                           : source == MacroSource::Calculation ? kCalculationPage
                                                                : kTimeInfoPage);
    }
    // The text a user reads in the macro's control.
    std::string Shown(const Macro& macro) const
    {
        const QWidget* page = SourcePage(macro.source);
        QWidget* control = FindControl(*page, macro.controlId);
        if (macro.source == MacroSource::TimeInfo) {
            // The Time Info page's own pickers, not the sub-pages' fields of the same ids.
            for (auto* picker : page->findChildren<QDateTimeEdit*>()) {
                if (ControlId(*picker) == macro.controlId) {
                    control = picker;
                }
            }
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            return edit->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(control)) {
            return label->text().toStdString();
        }
        EXPECT_NE(qobject_cast<QDateTimeEdit*>(control), nullptr) << macro.code;
        const bool date = macro.value == MacroValue::LongDate;
        const DateTime value = date ? ReadPickerDate(qobject_cast<QDateEdit*>(control))
                                    : ReadPickerTime(qobject_cast<QTimeEdit*>(control));
        return (date ? FormatLongDate(env.formatter, value) : FormatTime(env.formatter, value)).value_or("");
    }
};

TEST_F(PageValuesTest, EveryMacroExpandsToWhatItsControlShows)
{
    ASSERT_TRUE(window.PageValues().PagesExist());
    ASSERT_TRUE(window.PageValues().TimeInfoSubPagesExist());
    for (const Macro& macro : kMacros) {
        if (macro.controlId == 0) {
            continue;   // the clock's date and time have no control
        }
        SCOPED_TRACE(macro.code);
        std::string text = "[" + std::string(macro.code) + "]";
        Expand(text, window.PageValues(), env.clock, env.formatter);
        EXPECT_EQ(text, "[" + Shown(macro) + "]");
        EXPECT_NE(text, "[" + std::string(macro.code) + "]") << "every control is found";
    }
}

}  // namespace
