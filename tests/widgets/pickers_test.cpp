#include "widgets/pickers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "calc/difference_page.h"
#include "calc/rollback_page.h"
#include "calc/calculation_page.h"
#include "core/calendar.h"
#include "fakes/date_at.h"
#include "info/time_info_page.h"
#include "fakes/ui_environment.h"

namespace {

// Pickers hold wall-clock values: whatever the computer's zone, a value comes back as it went in, also
// one that a daylight-saving change skips or repeats.
TEST(PickerWidget, ValuesSurviveAnyZone)
{
    const DateTime values[] = {At(2004, 3, 28, 2, 30), At(2004, 10, 31, 2, 30), At(1754, 1, 1),
                               At(9998, 12, 31, 23, 59, 59), At(2004, 7, 1, 12)};
    for (const char* zone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "<+0530>-5:30"}) {
        SCOPED_TRACE(zone);
        const ScopedZoneEnv tz("TZ", zone);
        QDateEdit date;
        QTimeEdit time;
        SetUpDatePicker(date, At(1754, 1, 1), At(9998, 12, 31, 23, 59, 59));
        SetUpTimePicker(time);
        for (const DateTime& value : values) {
            WritePicker(date, value);
            WritePicker(time, value);
            EXPECT_EQ(PickerValue(date), value) << value.Format("%F %T");
            EXPECT_EQ(ReadPickerDateTime(&date, &time), value) << value.Format("%F %T");
        }
    }
}

struct PageRangeCase {
    const char* page;
    std::function<std::unique_ptr<PageWidget>(UiEnvironment&)> make;
    std::size_t picker;   // which date and time picker of the page, in creation order
    SettingId date, time;
    DateTime first, last;
};

// Every page's pickers keep to their range: a stored value outside it shows its nearest day, its time
// of day kept, and the date picker takes nothing beyond either end.
TEST(PickerWidget, EveryPageKeepsItsPickersToTheirRange)
{
    const auto range = [](UiEnvironment& e) -> std::unique_ptr<PageWidget> {
        return std::make_unique<DifferencePage>(e.Services());
    };
    const PageRangeCase cases[] = {
        {"range start", range, 0, SettingId::DateFrom, SettingId::TimeFrom, PickerEarliest(), PickerLatest()},
        {"range final", range, 1, SettingId::DateTo, SettingId::TimeTo, PickerEarliest(), PickerLatest()},
        {"calculation", [](UiEnvironment& e) -> std::unique_ptr<PageWidget> {
             return std::make_unique<CalculationPage>(e.Services());
         }, 0, SettingId::DateStart, SettingId::TimeStart, PickerEarliest(), PickerLatest()},
        {"time info", [](UiEnvironment& e) -> std::unique_ptr<PageWidget> {
             return std::make_unique<TimeInfoPage>(e.Services());
         }, 0, SettingId::Date, SettingId::Time, PickerEarliest(), PickerLatest()},
        {"rollback", [](UiEnvironment& e) -> std::unique_ptr<PageWidget> {
             return std::make_unique<RollbackPage>(e.Services(), e.clockSetter);
         }, 0, SettingId::DateRollback, SettingId::TimeRollback, RollbackEarliest(), RollbackLatest()},
    };
    for (const PageRangeCase& c : cases) {
        SCOPED_TRACE(c.page);
        const DateTime first = At(c.first.GetYear(), c.first.GetMonth(), c.first.GetDay(), 10);
        const DateTime last = At(c.last.GetYear(), c.last.GetMonth(), c.last.GetDay(), 8);
        for (const auto& [stored, shown] : {std::pair{first - DateTimeSpan(200.0), first},
                                            {last + DateTimeSpan(200.0), last}, {first, first}}) {
            UiEnvironment env;
            env.settings.WriteDateTime(c.date, stored);
            env.settings.WriteDateTime(c.time, stored);
            const std::unique_ptr<PageWidget> page = c.make(env);
            page->LoadSettings();
            QDateEdit& date = *page->findChildren<QDateEdit*>().at(c.picker);
            EXPECT_EQ(ReadPickerDateTime(&date, page->findChildren<QTimeEdit*>().at(c.picker)), shown);
            EXPECT_EQ(date.displayFormat(), "MMMM dd, yyyy");
            date.setDate(QDate(1600, 1, 1));
            EXPECT_EQ(ReadPickerDate(&date), At(first.GetYear(), first.GetMonth(), first.GetDay()));
            date.setDate(QDate(9999, 12, 31));
            EXPECT_EQ(ReadPickerDate(&date), At(last.GetYear(), last.GetMonth(), last.GetDay()));
        }
    }
}

// A day typed before its month and year is kept: month name, day, year typed one section after another.
TEST(PickerWidget, ADayTypedBeforeItsMonthAndYearIsKept)
{
    const struct {
        const char* why;
        QDate shown;
        QDateTimeEdit::Section section;
        std::vector<const char*> typed;
        std::vector<QDate> expected;   // after each text; a null date is not checked
    } cases[] = {
        {"leap day typed in reading order", QDate(2003, 6, 10), QDateTimeEdit::MonthSection,
         {"February", "29", "2004"}, {{}, {}, QDate(2004, 2, 29)}},
        {"31 typed while a 30-day month shows", QDate(2003, 6, 10), QDateTimeEdit::MonthSection,
         {"June", "31", "2003"}, {{}, {}, QDate(2003, 6, 30)}},
        {"leap day in a year without one", QDate(2003, 6, 10), QDateTimeEdit::MonthSection,
         {"February", "29", "2005"}, {{}, {}, QDate(2005, 2, 28)}},
        {"the kept day waits for a later month that has it", QDate(2003, 6, 10), QDateTimeEdit::DaySection,
         {"31", "July"}, {QDate(2003, 6, 30), QDate(2003, 7, 31)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QDateEdit picker;
        SetUpDatePicker(picker, At(1754, 1, 1), At(9998, 12, 31));
        picker.setDate(c.shown);
        picker.show();
        QApplication::setActiveWindow(&picker);
        picker.setFocus();
        picker.setSelectedSection(c.section);
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            if (i > 0 && c.section == QDateTimeEdit::DaySection) {
                picker.setSelectedSection(QDateTimeEdit::MonthSection);
            }
            QTest::keyClicks(&picker, c.typed[i]);
            QCoreApplication::processEvents();
            if (!c.expected[i].isNull()) {
                EXPECT_EQ(picker.date(), c.expected[i]) << c.typed[i] << ": " << picker.text().toStdString();
            }
        }
    }
}

}  // namespace
