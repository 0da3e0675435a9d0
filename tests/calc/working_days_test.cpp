#include "calc/working_days.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fakes/date_at.h"

namespace {

constexpr std::int64_t kFirst = civil::DaysFromCivil(1754, 1, 1), kLast = civil::DaysFromCivil(9998, 12, 31);
constexpr std::int64_t kMonday = civil::DaysFromCivil(2024, 1, 1);

TEST(WorkingDaysTest, AgreeWithAPlainCountOfEveryDay)
{
    std::mt19937_64 random(28);
    std::uniform_int_distribution<std::int64_t> anyDay(kFirst, kLast), near(-40, 40);
    std::vector<std::int64_t> working, off;
    for (int set = 0; set < 40; ++set) {
        const auto weekdays = static_cast<std::uint32_t>(1 + random() % 127);
        std::vector<std::int64_t> holidays(random() % 301);
        for (auto& day : holidays) {   // every other set crowded into a year, so that repeats and neighbours occur
            day = set % 2 ? anyDay(random) : kMonday + near(random) * 5;
        }
        const WorkingCalendar calendar(weekdays, holidays);
        std::sort(holidays.begin(), holidays.end());
        // working[i], off[i]: working days and holidays on working weekdays before day kFirst + i.
        working.assign(1, 0);
        off.assign(1, 0);
        for (auto day = kFirst, next = std::int64_t{0}; day <= kLast + 1; ++day) {
            const bool weekday = (weekdays >> ((civil::WeekdayFromDays(day) + 6) % 7) & 1U) != 0;
            const bool holiday = std::binary_search(holidays.begin() + next, holidays.end(), day);
            next = std::lower_bound(holidays.begin() + next, holidays.end(), day + 1) - holidays.begin();
            working.push_back(working.back() + (weekday && !holiday));
            off.push_back(off.back() + (weekday && holiday));
        }
        const auto before = [&](const std::vector<std::int64_t>& counts, std::int64_t day) {
            return counts[static_cast<std::size_t>(day - kFirst)];
        };
        for (int i = 0; i < 500; ++i) {
            const std::int64_t start = anyDay(random);
            const std::int64_t final = i % 2 ? anyDay(random) : std::clamp(start + near(random), kFirst, kLast);
            SCOPED_TRACE(testing::Message() << "set " << set << ", " << start << " to " << final);
            EXPECT_EQ(calendar.Between(start, final), before(working, final) - before(working, start));
            EXPECT_EQ(calendar.HolidaysBetween(start, final), std::abs(before(off, final) - before(off, start)));
            // n = the working days after start up to final, or before start down to final: final or the
            // nearest working day on start's side of it.
            const std::int64_t n = final > start ? before(working, final + 1) - before(working, start + 1)
                                                 : before(working, final) - before(working, start);
            const std::int64_t added = calendar.Add(start, n);
            ASSERT_TRUE(added >= std::min(start, final) && added <= std::max(start, final));
            EXPECT_TRUE(n == 0 ? added == start : before(working, added + 1) - before(working, added) == 1);
            EXPECT_EQ(n, n > 0 ? before(working, added + 1) - before(working, start + 1)
                               : before(working, added) - before(working, start));
        }
    }
}

TEST(WorkingDaysTest, NamedCases)
{
    const struct {
        const char* why;
        std::uint32_t weekdays;
        std::vector<std::int64_t> holidays;
        std::int64_t start, final, between, holidaysBetween, n, added;
    } cases[] = {
        {"Monday to next Monday", kMondayToFriday, {}, kMonday, kMonday + 7, 5, 0, 5, kMonday + 7},
        {"backwards", kMondayToFriday, {}, kMonday + 7, kMonday, -5, 0, -5, kMonday},
        {"the final day is not counted", kMondayToFriday, {}, kMonday, kMonday + 4, 4, 0, 4, kMonday + 4},
        {"Friday and Saturday off", 0x4F, {}, kMonday + 3, kMonday + 10, 5, 0, 1, kMonday + 6},
        {"a holiday on a weekend day", kMondayToFriday, {kMonday + 5}, kMonday, kMonday + 7, 5, 0, 5, kMonday + 7},
        {"a holiday twice", kMondayToFriday, {kMonday + 2, kMonday + 2}, kMonday, kMonday + 7, 4, 1, 4, kMonday + 7},
        {"on from a Saturday", kMondayToFriday, {}, kMonday + 5, kMonday + 12, 5, 0, 1, kMonday + 7},
        {"back from a Saturday", kMondayToFriday, {}, kMonday + 5, kMonday, -5, 0, -1, kMonday + 4},
        {"n = 0 stays on a day off", kMondayToFriday, {}, kMonday + 5, kMonday + 5, 0, 0, 0, kMonday + 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const WorkingCalendar calendar(c.weekdays, c.holidays);
        EXPECT_EQ(calendar.Between(c.start, c.final), c.between);
        EXPECT_EQ(calendar.HolidaysBetween(c.start, c.final), c.holidaysBetween);
        EXPECT_EQ(calendar.Add(c.start, c.n), c.added);
    }
}

TEST(WorkingDaysTest, DateTimesCountDaysAndKeepTheTimeOfDay)
{
    const WorkingCalendar calendar, none(0);
    EXPECT_EQ(WorkingDaysBetween(calendar, At(2024, 1, 1, 23), At(2024, 1, 8, 1)), 5);
    EXPECT_EQ(AddWorkingDays(calendar, At(2024, 1, 5, 13, 14, 15), 1), At(2024, 1, 8, 13, 14, 15));
    EXPECT_EQ(AddWorkingDays(calendar, At(100, 1, 4), -1), At(100, 1, 1)) << "the range's first day";
    EXPECT_FALSE(AddWorkingDays(calendar, At(9999, 12, 31), 1).IsValid()) << "past the range";
    EXPECT_FALSE(AddWorkingDays(calendar, At(2024, 1, 1), INT64_MIN).IsValid());
    EXPECT_FALSE(AddWorkingDays(calendar, DateTime::Invalid(), 1).IsValid());
    EXPECT_FALSE(WorkingDaysBetween(calendar, DateTime::Invalid(), At(2024, 1, 1)));
    EXPECT_FALSE(WorkingDaysBetween(none, At(2024, 1, 1), At(2024, 1, 2)));
    EXPECT_FALSE(AddWorkingDays(none, At(2024, 1, 1), 1).IsValid());
}

}   // namespace
