#include "widgets/pickers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include <memory>
#include <vector>

#include "app/main_window.h"
#include "calc/rollback.h"
#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "pages/page_widget.h"
#include "settings/settings_store.h"

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

// Every page's pickers keep to their range: a stored value outside it shows its nearest day, its time
// of day kept, and the date picker takes nothing beyond either end.
TEST(PickerWidget, EveryPageKeepsItsPickersToTheirRange)
{
    using enum SettingId;
    const struct {
        int page;
        qsizetype picker;   // which date and time picker of the page, in creation order
        SettingId date, time;
    } cases[] = {{kDifferencePage, 0, DateFrom, TimeFrom},
                 {kDifferencePage, 1, DateTo, TimeTo},
                 {kCalculationPage, 0, DateStart, TimeStart},
                 {kTimeInfoPage, 0, Date, Time},
                 {kRollbackPage, 0, DateRollback, TimeRollback}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.date));
        const bool rb = c.page == kRollbackPage;
        const DateTime from = rb ? RollbackEarliest() : PickerEarliest(), to = rb ? RollbackLatest() : PickerLatest();
        const DateTime first = At(from.GetYear(), from.GetMonth(), from.GetDay(), 10);
        const DateTime last = At(to.GetYear(), to.GetMonth(), to.GetDay(), 8);
        for (const auto& [stored, shown] :
             {std::pair{first - DateTimeSpan(200.0), first}, {last + DateTimeSpan(200.0), last}, {first, first}}) {
            UiEnvironment env;
            env.settings.WriteDateTime(c.date, stored);
            env.settings.WriteDateTime(c.time, stored);
            MainWindow window{AppServices{env.clock, env.formatter, env.settings, env.location, env.zones,
                                          env.clockSetter, env.timeChanges}};
            const PageWidget& page = *window.Page(c.page);
            QDateEdit& date = *page.findChildren<QDateEdit*>().at(c.picker);
            EXPECT_EQ(ReadPickerDateTime(&date, page.findChildren<QTimeEdit*>().at(c.picker)), shown);
            date.setDate(QDate(1600, 1, 1));
            EXPECT_EQ(ReadPickerDate(&date), At(from.GetYear(), from.GetMonth(), from.GetDay()));
            date.setDate(QDate(9999, 12, 31));
            EXPECT_EQ(ReadPickerDate(&date), At(to.GetYear(), to.GetMonth(), to.GetDay()));
        }
    }
}

// A day typed before its month and year is kept: from June 10, 2003, month name, day and year typed one
// section after another.
TEST(PickerWidget, ADayTypedBeforeItsMonthAndYearIsKept)
{
    using enum QDateTimeEdit::Section;
    const struct {
        const char* why;
        QDateTimeEdit::Section section;   // typed into first; the later texts go to the month after a day
        std::vector<const char*> typed;
        QDate expected;
    } cases[] = {
        {"leap day typed in reading order", MonthSection, {"February", "29", "2004"}, {2004, 2, 29}},
        {"31 typed while a 30-day month shows", MonthSection, {"June", "31", "2003"}, {2003, 6, 30}},
        {"leap day in a year without one", MonthSection, {"February", "29", "2005"}, {2005, 2, 28}},
        {"the kept day waits for a later month that has it", DaySection, {"31", "July"}, {2003, 7, 31}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QDateEdit picker;
        SetUpDatePicker(picker, At(1754, 1, 1), At(9998, 12, 31));
        picker.setDate(QDate(2003, 6, 10));
        picker.setSelectedSection(c.section);
        for (const char* text : c.typed) {
            QTest::keyClicks(&picker, text);
            QCoreApplication::processEvents();
            if (c.section == DaySection) {
                picker.setSelectedSection(MonthSection);
            }
        }
        EXPECT_EQ(picker.date(), c.expected) << picker.text().toStdString();
    }
}

// The month section takes its number or a prefix that only one month's name has, in the language the picker
// shows (both forms of a Russian name), and moves on once the entry can mean nothing else; AM/PM takes its
// first letters. Typed into the Calculation page's pickers, in English and then in Russian, whose date order
// comes from the language file.
TEST(PickerWidget, MonthsAndAmPmAreTypedByNumberOrPrefix)
{
    UiEnvironment env;
    ASSERT_TRUE(
        QFile::copy(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng", env.folder.filePath("program/russian.lng")));
    MainWindow window{
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges}};
    QDateEdit& date = ControlOf<QDateEdit>(*window.Page(kCalculationPage), 1070);
    const struct {
        bool russian;
        const char* typed;   // into the month section of October 10, 2003
        int month;
        bool movedOn;
    } cases[] = {
        {false, "2", 2, true},    {false, "02", 2, true},      {false, "1", 1, false},    {false, "12", 12, true},
        {false, "13", 3, true},   {false, "f", 2, false},      {false, "Feb\t", 2, true}, {false, "Ju", 10, false},
        {false, "jUL", 7, false}, {false, "MAY", 5, true},     {false, "xm", 10, false},  {true, "2", 2, true},
        {true, "дек", 12, false}, {true, "Декабрь", 12, true}, {true, "мая", 5, true},    {true, "ма", 10, false},
        {true, "ИЮЛ", 7, false},
    };
    for (const bool russian : {false, true}) {
        env.settings.WriteString(SettingId::Lang, russian ? "russian" : "english");
        window.ApplyLanguage(false);
        date.setLocale(russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale(QLocale::English));
        date.setDate(QDate(2026, 12, 6));
        EXPECT_EQ(date.text(), russian ? "6 декабря 2026 г." : "December 06, 2026");
        for (const auto& c : cases) {
            if (c.russian == russian) {
                SCOPED_TRACE(c.typed);
                date.setDate(QDate(2003, 10, 10));
                date.setSelectedSection(QDateTimeEdit::MonthSection);
                for (const QChar typed : QString::fromUtf8(c.typed)) {
                    QTest::sendKeyEvent(QTest::Click, &date, typed == '\t' ? Qt::Key_Tab : Qt::Key_unknown, typed,
                                        Qt::NoModifier);
                }
                EXPECT_EQ(date.date(), QDate(2003, c.month, 10));
                EXPECT_EQ(date.currentSection() != QDateTimeEdit::MonthSection, c.movedOn);
            }
        }
    }
    QTimeEdit& time = ControlOf<QTimeEdit>(*window.Page(kCalculationPage), 1071);
    time.setDisplayFormat("h:mm:ss AP");
    for (const auto& [typed, hour] : {std::pair{"p", 22}, {"A", 10}, {"pM", 22}}) {
        time.setTime(QTime(32 - hour, 0));
        time.setSelectedSection(QDateTimeEdit::AmPmSection);
        QTest::keyClicks(&time, typed);
        EXPECT_EQ(time.time(), QTime(hour, 0)) << typed;
    }
}

}   // namespace
