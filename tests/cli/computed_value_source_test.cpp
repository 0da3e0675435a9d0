#include "cli/computed_value_source.h"

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/page_switcher.h"
#include "calc/working_days_line.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "info/posix_tz.h"
#include "pages/info/time_info_page.h"
#include "widgets/pickers.h"

namespace {

void SetPickers(const QWidget& page, int dateId, int timeId, const DateTime& value)
{
    ControlOf<QDateEdit>(page, dateId).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
    ControlOf<QTimeEdit>(page, timeId).setTime(QTime(value.GetHour(), value.GetMinute(), value.GetSecond()));
}

// What the command line expands is what the program's own pages give for the same inputs, macro for macro.
TEST(ComputedValueSourceTest, EveryMacroExpandsAsOnTheProgramsPages)
{
    const struct {
        const char* why;
        DateTime start, final, calculationStart;
        std::array<int, kCountFieldCount> counts;
        bool weeks;
        DateTime info;
        const char* zone;
        std::optional<LocalElapsed> elapsed;
    } cases[] = {
        {"a failed sum; northern daylight saving",
         At(2003, 6, 15, 10),
         At(2005, 6, 20, 12, 30, 15),
         At(2004, 1, 31, 10),
         {0, 1, 0, 3},
         false,
         At(2004, 3, 1, 13, 5, 9),
         "CET-1CEST,M3.5.0,M10.5.0/3",
         LocalElapsed{90000, true, true}},
        {"reversed ends; weeks; a difference before 1601; southern daylight saving",
         At(2005, 6, 20, 12, 30, 15),
         At(1754, 1, 1),
         At(1800, 6, 1),
         {250, 7, 2, 0, 25, 0, 3600},
         true,
         At(1754, 1, 1),
         "AEST-10AEDT,M10.1.0,M4.1.0/3",
         LocalElapsed{-88215, true, false}},
        {"the last moments; no daylight saving",
         At(9998, 12, 31, 23, 59, 59),
         At(9998, 12, 31, 23, 59, 58),
         At(9998, 12, 31, 23, 59, 59),
         {1, 0, 0, 0, 0, 0, -1},
         false,
         At(9998, 12, 31, 23, 59, 59),
         "IST-5:30",
         std::nullopt},
    };
    std::string all;
    for (const Macro& macro : kMacros) {
        all += std::string(macro.code) + "|";
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        UiEnvironment env;
        ZoneRules zone = *ZoneFromTzString(c.zone);
        zone.state = ZoneState::Daylight;
        env.zones.Set(zone);
        env.zones.elapsed = c.elapsed;
        MainWindow window{AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter,
                                      env.timeChanges}};
        const QWidget& difference = *window.Page(kDifferencePage);
        SetPickers(difference, kDifferenceStartDateId, kDifferenceStartTimeId, c.start);
        SetPickers(difference, kDifferenceFinalDateId, kDifferenceFinalTimeId, c.final);
        const QWidget& calculation = *window.Page(kCalculationPage);
        SetPickers(calculation, kCalculationStartDateId, kCalculationStartTimeId, c.calculationStart);
        ControlOf<QRadioButton>(calculation, c.weeks ? 1044 : 1042).click();
        CalculationInput input{c.calculationStart, {}, !c.weeks, c.weeks, false};
        for (std::size_t i = 0; i < kCountFieldCount; ++i) {
            input.countTexts[i] = std::to_string(c.counts[i]);
            ControlOf<QLineEdit>(calculation, kCountEditIds[i]).setText(QString::number(c.counts[i]));
        }
        static_cast<TimeInfoPage*>(window.Page(kTimeInfoPage))->ShowDateInfo(c.info);

        ComputedValueSource pages;
        const WorkingDaysLine working =
            ComputeWorkingDaysLine(c.start, c.final, WorkingCalendar(), env.formatter, env.messages);
        ShowDifference(pages, c.start, c.final, ComputeDifference(c.start, c.final),
                       ComputeElapsedLine(c.start, c.final, env.zones, env.messages), &working.field);
        ShowCalculation(pages, input, ComputeCalculation(input, env.formatter));
        ShowTimeInfo(pages, c.info, ComputeTimeInfo(c.info, zone, env.messages, env.formatter));
        std::string shown = all, computed = all;
        Expand(shown, window.PageValues(), env.clock, env.formatter, env.messages);
        Expand(computed, pages, env.clock, env.formatter, env.messages);
        EXPECT_EQ(computed, shown);
        for (const Macro& macro : kMacros) {
            EXPECT_LT(FindNoCase(computed, macro.code, 0), 0) << macro.code << " has its field";
        }
    }
}

}   // namespace
