#include "holidayreader/holiday_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/temp_folder.h"
#include "holidayreader/event_occurrences.h"

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
    const std::vector<std::int64_t> exceptions{
        Day(2024, 1, 1),   // the monthly rule's first; Feb 5 is an EXDATE
        Day(2024, 3, 8),   // Mar 4 moved; Apr 1 cancelled; May 6 given a time of day
        Day(2024, 6, 3),   // the rule's sixth and last
        Day(2024, 7, 4),   // RDATE
        Day(2024, 12, 30), Day(2024, 12, 31), Day(2025, 1, 1),   // DTEND exclusive, across the year end
        Day(2025, 3, 1),   Day(2025, 3, 2),   Day(2025, 3, 3), Day(2025, 3, 4),
        Day(2025, 3, 5),   Day(2025, 3, 6),   Day(2025, 3, 7),   // DURATION:P1W
    };
    EXPECT_EQ(ReadSample("exceptions.ics").days, exceptions)
        << "the cancelled event and the meeting give none; the VTIMEZONE is no obstacle";
    const std::vector<std::int64_t> thisAndFuture{
        Day(2024, 1, 1),  Day(2024, 2, 1),                                     // before the moved instance
        Day(2024, 3, 4),  Day(2024, 3, 5), Day(2024, 4, 4), Day(2024, 4, 5),   // moved by 3 days, 2 days long
        Day(2024, 5, 10),                                                      // moved on its own
        Day(2024, 6, 4),  Day(2024, 6, 5),                                     // the rule's last, moved
        Day(2025, 1, 1),  Day(2025, 2, 1), Day(2025, 3, 1),   // April on cancelled, the endless rule with it
    };
    EXPECT_EQ(ReadSample("this_and_future.ics").days, thisAndFuture);
}

// Days of `rule` from `start` as libical's own iterator gives them, from the span's start to its last year.
std::vector<std::int64_t> IteratedDays(const char* start, const char* rule)
{
    const icaltimetype first = icaltime_from_string(start);
    icalrecur_iterator* iterator = icalrecur_iterator_new(icalrecurrencetype_from_string(rule), first);
    std::vector<std::int64_t> days{*DayOfIcalTime(first)};
    for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator)) {
        days.push_back(*DayOfIcalTime(next));
    }
    icalrecur_iterator_free(iterator);
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    std::erase_if(days, [](std::int64_t day) { return day < kFirstHolidayDay; });
    return days;
}

struct RuleCase {
    const char* why;
    const char* start;
    const char* rule;
};

const RuleCase kRules[] = {
    {"yearly by month day", "17541225", "FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25"},
    {"last Monday of May", "20000529", "FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO"},
    {"fourth Thursday of November", "17541128", "FREQ=YEARLY;BYMONTH=11;BYDAY=4TH"},
    {"every second year", "17550704", "FREQ=YEARLY;INTERVAL=2"},
    {"monthly on the 31st, where there is one", "17540131", "FREQ=MONTHLY"},
    {"every third week", "17540107", "FREQ=WEEKLY;INTERVAL=3;UNTIL=40000101"},
    {"UNTIL within the span", "17540101", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;UNTIL=24010101"},
    {"DTSTART in 1900", "19000301", "FREQ=MONTHLY;BYDAY=1MO"},
    {"DTSTART before the span: the cycle is carried back", "17000315",
     "FREQ=WEEKLY;INTERVAL=3;BYDAY=MO,FR;UNTIL=20000101"},
    {"DTSTART late: the cycle starts cycles before it", "24000229", "FREQ=YEARLY"},
};

TEST(HolidayCalendar, CarriedCyclesAgreeWithLibical)
{
    for (const RuleCase& c : kRules) {
        SCOPED_TRACE(c.why);
        HolidayCalendar calendar = ReadHolidayCalendar(std::string("BEGIN:VEVENT\nDTSTART;VALUE=DATE:") + c.start +
                                                       "\nRRULE:" + c.rule + "\nEND:VEVENT\n");
        EXPECT_TRUE(calendar.ok) << calendar.reason;
        std::erase_if(calendar.days, [](std::int64_t day) { return day > Day(2582, 12, 31); });
        EXPECT_EQ(calendar.days, IteratedDays(c.start, c.rule));
    }
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
