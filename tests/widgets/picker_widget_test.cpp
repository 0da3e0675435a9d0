#include "widgets/picker_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <vector>

#include "fakes/date_at.h"
#include "fakes/fake_zone_source.h"

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
        WritePicker(date, At(1600, 1, 1));
        EXPECT_EQ(ReadPickerDate(&date), At(1754, 1, 1)) << "held within the range";
    }
}

struct TypedCase {
    const char* why;
    QDate shown;
    std::vector<const char*> typed;   // month name, day, year: one section after the other
    QDate expected;
};

TEST(PickerWidget, ADayTypedBeforeItsMonthAndYearIsKept)
{
    const TypedCase cases[] = {
        {"leap day typed in reading order", QDate(2003, 6, 10), {"February", "29", "2004"}, QDate(2004, 2, 29)},
        {"31 typed while a 30-day month shows", QDate(2003, 6, 10), {"June", "31", "2003"}, QDate(2003, 6, 30)},
        {"leap day in a year without one", QDate(2003, 6, 10), {"February", "29", "2005"}, QDate(2005, 2, 28)},
        {"31st kept into a month that has it", QDate(2003, 4, 10), {"April", "31", "2003"}, QDate(2003, 4, 30)},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.why);
        QDateEdit picker;
        SetUpDatePicker(picker, At(1754, 1, 1), At(9998, 12, 31));
        picker.setDate(c.shown);
        picker.show();
        QApplication::setActiveWindow(&picker);
        picker.setFocus();
        picker.setSelectedSection(QDateTimeEdit::MonthSection);
        for (const char* text : c.typed) {
            QTest::keyClicks(&picker, text);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(picker.date(), c.expected) << picker.text().toStdString();
    }
    // The kept day waits for a later month that has it: July 31 after "31" typed into June.
    QDateEdit picker;
    SetUpDatePicker(picker, At(1754, 1, 1), At(9998, 12, 31));
    picker.setDate(QDate(2003, 6, 10));
    picker.show();
    QApplication::setActiveWindow(&picker);
    picker.setFocus();
    picker.setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(&picker, "31");
    QCoreApplication::processEvents();
    EXPECT_EQ(picker.date(), QDate(2003, 6, 30));
    picker.setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(&picker, "July");
    QCoreApplication::processEvents();
    EXPECT_EQ(picker.date(), QDate(2003, 7, 31));
}

}  // namespace
