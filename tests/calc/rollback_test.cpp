#include "calc/rollback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_clock_setter.h"

namespace {

SystemTime Record(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SystemTime{static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(mo), 0, static_cast<std::uint16_t>(d),
                      static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(mi), static_cast<std::uint16_t>(s), 0};
}

// The calendar fields that a request set, without the day of week.
DateTime Requested(const SystemTime& time)
{
    return At(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

struct RollbackTest : ::testing::Test {
    FakeClock clock{Record(2004, 11, 20, 14, 0, 0)};
    FakeClockSetter setter{clock};
    Rollback rollback{clock, setter};
};

TEST_F(RollbackTest, EachMoveOnlyFromItsState)
{
    EXPECT_FALSE(rollback.Restore()) << "nothing to restore";
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Set(At(2003, 1, 1))) << "a second set would lose the real time";
    EXPECT_EQ(setter.requests.size(), 1u);
}

TEST_F(RollbackTest, OwnEchoIsIgnoredAndAnOutsideChangeEndsTheChange)
{
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.TimeChanged()) << "the set's own notice";
    EXPECT_TRUE(rollback.Changed());
    EXPECT_TRUE(rollback.TimeChanged());
    EXPECT_FALSE(rollback.Changed());
    EXPECT_FALSE(rollback.TimeChanged());
    EXPECT_EQ(setter.requests.size(), 1u) << "an outside change is never undone";
}

struct StoredSpanCase {
    const char* why;
    const char* span;   // as stored
    bool restores;      // false: damaged, nothing to restore
};

const StoredSpanCase kStoredSpans[] = {
    {"zero: the clock is set to what it shows", "0.00000000000000000000", true},
    {"negative: the target lay in the future", "-1.50000000000000000000", true},
    {"blanks around the number", " 2.5 ", true},
    {"nothing stored", "", false},
    {"garbage", "abc", false},
    {"a number with junk behind it", "1.5days", false},
    {"beyond the range", "1e300", false},
    {"before the range", "-20000", false},
    {"overflowing to infinity", "1e999", false},
    {"not a number", "nan", false},
};

TEST_F(RollbackTest, StoredSpansThatLeadNowhereAreDamaged)
{
    for (const StoredSpanCase& c : kStoredSpans) {
        SCOPED_TRACE(c.why);
        setter.requests.clear();
        clock.Set(Record(2004, 11, 20, 14, 0, 0));
        rollback.Load(true, ParseStoredSpan(c.span));
        EXPECT_EQ(rollback.Damaged(), !c.restores);
        const std::optional<SetTimeResult> restore = rollback.Restore();
        EXPECT_EQ(restore.has_value(), c.restores);
        EXPECT_EQ(setter.requests.size(), c.restores ? 1u : 0u);
        for (const SystemTime& request : setter.requests) {
            EXPECT_GE(Requested(request), RollbackEarliest());
            EXPECT_LE(Requested(request), RollbackLatest());
        }
        EXPECT_FALSE(rollback.Changed());
    }
    rollback.Load(true, std::nullopt);
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Damaged()) << "a new set stores a new way back";
}

TEST_F(RollbackTest, TargetsOutsideTheRangeAreRefused)
{
    const DateTime targets[] = {At(1970, 12, 31, 23, 59, 59), At(2037, 1, 1), DateTime::Invalid()};
    for (const DateTime& target : targets) {
        const std::optional<SetTimeResult> set = rollback.Set(target);
        ASSERT_TRUE(set);
        EXPECT_FALSE(set->ok);
        EXPECT_FALSE(set->message.empty());
    }
    EXPECT_TRUE(setter.requests.empty());
    EXPECT_TRUE(rollback.Set(At(1971, 1, 1)));
}

}  // namespace
