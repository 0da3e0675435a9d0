#include "calc/working_days.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>

#include "fakes/date_at.h"

namespace {

constexpr std::int64_t kFirst = civil::DaysFromCivil(1754, 1, 1), kLast = civil::DaysFromCivil(9998, 12, 31);
constexpr std::int64_t kMonday = civil::DaysFromCivil(2024, 1, 1);

TEST(WorkingDaysTest, AgreeWithAPlainCountOfEveryDay)
{
    std::mt19937_64 random(28);
    std::uniform_int_distribution<std::int64_t> anyDay(kFirst, kLast), near(-40, 40);
    std::vector<std::int64_t> working;   // working days before kFirst + i
    const auto count = [&](std::int64_t from, std::int64_t to) {
        return working[static_cast<std::size_t>(to - kFirst)] - working[static_cast<std::size_t>(from - kFirst)];
    };
    for (int set = 0; set < 40; ++set) {
        std::uint32_t weekdays = 0x7F;   // weekends of 0 to 6 days in turn
        while (std::popcount(weekdays) > 7 - set % 7) {
            weekdays &= ~(1U << random() % 7);
        }
        std::vector<std::int64_t> holidays(random() % 301);
        // Every other set crowded into a year, with repeats and neighbours.
        std::generate(holidays.begin(), holidays.end(),
                      [&] { return set % 2 ? anyDay(random) : kMonday + near(random) * 5; });
        const WorkingCalendar calendar(weekdays, holidays);
        std::sort(holidays.begin(), holidays.end());
        working.assign(1, 0);
        for (auto day = kFirst; day <= kLast + 1; ++day) {
            const bool weekday = (weekdays >> ((civil::WeekdayFromDays(day) + 6) % 7) & 1U) != 0;
            const bool holiday = std::binary_search(holidays.begin(), holidays.end(), day);
            working.push_back(working.back() + (weekday && !holiday));
        }
        for (int i = 0; i < 500; ++i) {
            const std::int64_t start = anyDay(random);
            const std::int64_t final = i % 2 ? anyDay(random) : std::clamp(start + near(random), kFirst, kLast);
            SCOPED_TRACE(testing::Message() << "set " << set << ", " << start << " to " << final);
            EXPECT_EQ(calendar.Between(start, final), count(start, final));
            // So many working days on that the answer is final or the nearest working day on start's side.
            const std::int64_t n = final > start ? count(start + 1, final + 1) : count(start, final);
            const std::int64_t added = calendar.Add(start, n);
            ASSERT_TRUE(added >= std::min(start, final) && added <= std::max(start, final));
            EXPECT_TRUE(n == 0 ? added == start : count(added, added + 1) == 1) << "start itself, or a working day";
            EXPECT_EQ(n > 0 ? count(start + 1, added + 1) : count(start, added), n);
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
        {"Friday and Saturday off", 0x4F, {}, kMonday + 3, kMonday + 10, 5, 0, 1, kMonday + 6},
        {"a holiday on a Saturday", kMondayToFriday, {kMonday + 5}, kMonday - 1, kMonday + 6, 5, 0, 5, kMonday + 4},
        {"a holiday twice", kMondayToFriday, {kMonday + 2, kMonday + 2}, kMonday, kMonday + 7, 4, 1, 4, kMonday + 7},
        {"back from a Saturday", kMondayToFriday, {}, kMonday + 5, kMonday, -5, 0, -1, kMonday + 4},
        {"n = 0 stays on a day off", kMondayToFriday, {}, kMonday + 5, kMonday + 12, 5, 0, 0, kMonday + 5},
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
    EXPECT_FALSE(AddWorkingDays(calendar, At(9999, 12, 31), 1).IsValid()) << "past the range";
    EXPECT_FALSE(AddWorkingDays(calendar, At(2024, 1, 1), INT64_MIN).IsValid());
    EXPECT_FALSE(WorkingDaysBetween(none, At(2024, 1, 1), At(2024, 1, 2)));
    EXPECT_FALSE(AddWorkingDays(none, At(2024, 1, 1), 1).IsValid());
}

}   // namespace
