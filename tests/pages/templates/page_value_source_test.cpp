#include "pages/templates/page_value_source.h"

#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QTabWidget>

#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "pages/page_widget.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

// Each macro against the real pages: what Expand puts in is what its control shows on the screen.
TEST(PageValuesTest, EveryMacroExpandsToWhatItsControlShows)
{
    UiEnvironment env;
    MainWindow window{
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges}};
    const auto pageOf = [&](MacroSource source) -> const QWidget* {
        // General, Time Zone, Moon and Horoscope are the tabs of the Time Info page, in that order.
        if (const int tab = static_cast<int>(source) - static_cast<int>(MacroSource::General); tab >= 0) {
            return window.Page(kTimeInfoPage)->findChild<QTabWidget*>()->widget(tab);
        }
        return window.Page(source == MacroSource::Difference    ? kDifferencePage
                           : source == MacroSource::Calculation ? kCalculationPage
                                                                : kTimeInfoPage);
    };
    for (const Macro& macro : kMacros) {
        if (macro.controlId == 0) {
            continue;   // the clock's date and time have no control
        }
        SCOPED_TRACE(macro.code);
        const QWidget* page = pageOf(macro.source);
        QWidget* control = FindControl(*page, macro.controlId);
        // The Time Info page's own pickers, not the sub-pages' fields of the same ids.
        for (auto* picker : page->findChildren<QDateTimeEdit*>()) {
            control = ControlId(*picker) == macro.controlId ? picker : control;
        }
        ASSERT_NE(control, nullptr);
        std::string shown = control->property("text").toString().toStdString();   // a line edit's or label's
        if (auto* date = qobject_cast<QDateEdit*>(control)) {
            shown = FormatLongDate(env.formatter, ReadPickerDate(date)).value_or("");
        } else if (auto* time = qobject_cast<QTimeEdit*>(control)) {
            shown = FormatTime(env.formatter, ReadPickerTime(time)).value_or("");
        }
        std::string text = "[" + std::string(macro.code) + "]";
        Expand(text, window.PageValues(), env.clock, env.formatter);
        EXPECT_EQ(text, "[" + shown + "]");
        EXPECT_NE(text, "[" + std::string(macro.code) + "]") << "every control is found";
    }
}
