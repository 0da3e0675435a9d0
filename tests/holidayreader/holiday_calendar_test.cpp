#include "holidayreader/holiday_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/temp_folder.h"

namespace {

std::int64_t Day(int year, unsigned month, unsigned day)
{
    return civil::DaysFromCivil(year, month, day);
}

HolidayCalendar ReadSample(const char* name)
{
    return ReadHolidayCalendar(ReadFileBytes(std::string(CHRONEL_TEST_DATA_DIR "/ics/") + name));
}

bool Holds(const HolidayCalendar& calendar, std::int64_t day)
{
    return std::binary_search(calendar.days.begin(), calendar.days.end(), day);
}

struct DayCase {
    const char* why;
    const char* file;
    std::int64_t day;
    bool holiday;
};

const DayCase kDays[] = {
    {"last Monday of May", "yearly.ics", Day(2024, 5, 27), true},
    {"a Monday of May but not the last", "yearly.ics", Day(2024, 5, 20), false},
    {"fourth Thursday of November", "yearly.ics", Day(2002, 11, 28), true},
    {"past the rule's UNTIL", "yearly.ics", Day(2004, 11, 25), false},
    {"before DTSTART", "yearly.ics", Day(1999, 5, 31), false},
    {"the iterator's last year", "far_future.ics", Day(2582, 1, 1), true},
    {"carried past the iterator's end", "far_future.ics", Day(2583, 1, 1), true},
    {"carried to the span's last year", "far_future.ics", Day(9998, 1, 1), true},
    {"a leap day rule starting after the iterator's end", "far_future.ics", Day(2904, 2, 29), true},
    {"a leap day rule carried by cycles", "far_future.ics", Day(9996, 2, 29), true},
    {"no leap day in a century year", "far_future.ics", Day(3000, 3, 1), false},
};

TEST(HolidayCalendar, RecurringDays)
{
    for (const DayCase& c : kDays) {
        SCOPED_TRACE(c.why);
        const HolidayCalendar calendar = ReadSample(c.file);
        EXPECT_TRUE(calendar.ok) << calendar.reason;
        EXPECT_EQ(Holds(calendar, c.day), c.holiday);
    }
}

TEST(HolidayCalendar, ExceptionsLengthsAndTimedEvents)
{
    const std::vector<std::int64_t> expected{
        Day(2024, 1, 1),   // the monthly rule's first; Feb 5 is an EXDATE
        Day(2024, 3, 8),   // Mar 4 moved; Apr 1 cancelled; May 6 given a time of day
        Day(2024, 6, 3),   // the rule's sixth and last
        Day(2024, 7, 4),   // RDATE
        Day(2024, 12, 30), Day(2024, 12, 31), Day(2025, 1, 1),   // DTEND exclusive, across the year end
        Day(2025, 3, 1),   Day(2025, 3, 2),   Day(2025, 3, 3), Day(2025, 3, 4),
        Day(2025, 3, 5),   Day(2025, 3, 6),   Day(2025, 3, 7),   // DURATION:P1W
    };
    EXPECT_EQ(ReadSample("exceptions.ics").days, expected)
        << "the cancelled event and the meeting give none; the VTIMEZONE is no obstacle";
}

TEST(HolidayCalendar, KeepsDaysWithinTheSpan)
{
    const HolidayCalendar calendar = ReadHolidayCalendar(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:17531231\n"
        "RRULE:FREQ=YEARLY;COUNT=2\nEND:VEVENT\nEND:VCALENDAR\n");
    EXPECT_EQ(calendar.days, std::vector<std::int64_t>{Day(1754, 12, 31)});
    // A stretch that begins before the span keeps its days within it.
    const HolidayCalendar stretch = ReadHolidayCalendar(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:17531231\nDTEND;VALUE=DATE:17540102\nEND:VEVENT\n"
        "END:VCALENDAR\n");
    EXPECT_EQ(stretch.days, std::vector<std::int64_t>{Day(1754, 1, 1)});
}

}   // namespace
