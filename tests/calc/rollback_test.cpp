#include "calc/rollback.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_clock_setter.h"

namespace {

SystemTime Record(const DateTime& value)
{
    return *value.GetAsSystemTime();
}

// The calendar fields that a request set, without the day of week.
DateTime Requested(const SystemTime& time)
{
    return At(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

struct RollbackTest : ::testing::Test {
    FakeClock clock{Record(At(2004, 11, 20, 14))};
    FakeClockSetter setter{clock};
    Rollback rollback{clock, setter};
};

struct RestoreCase {
    const char* why;
    DateTime target;
    DateTime clockAtRestore;   // what the changed clock shows when Restore is pressed
    bool restart;              // the state went through Load, as after a new run
    DateTime restored;         // invalid: refused, the clock is left alone
};

// Set at 2004-11-20 14:00: a restore adds the time that passed on the changed clock.
const RestoreCase kRestoreCases[] = {
    {"the time that passed is counted", At(2004, 1, 1, 12), At(2004, 1, 1, 13, 30), false, At(2004, 11, 20, 15, 30)},
    {"also across a restart", At(2004, 1, 1, 12), At(2004, 1, 2, 12, 30), true, At(2004, 11, 21, 14, 30)},
    {"a target in the future", At(2010, 5, 5), At(2010, 5, 5, 1), false, At(2004, 11, 20, 15)},
    {"a restore past the range is refused", At(1971, 1, 1), At(2036, 12, 31), false, DateTime::Invalid()},
    {"a restart past the range is damaged", At(1971, 1, 1), At(2036, 12, 31), true, DateTime::Invalid()},
};

TEST_F(RollbackTest, RestoreCountsTheTimeThatPassed)
{
    for (const RestoreCase& c : kRestoreCases) {
        SCOPED_TRACE(c.why);
        clock.Set(Record(At(2004, 11, 20, 14)));
        setter.requests.clear();
        Rollback first(clock, setter);
        ASSERT_TRUE(first.Set(c.target)->ok);
        EXPECT_TRUE(first.Changed());
        clock.Set(Record(c.clockAtRestore));
        Rollback again(clock, setter);
        again.Load(true, first.Offset());
        Rollback& restoring = c.restart ? again : first;
        const std::optional<SetTimeResult> result = restoring.Restore();
        EXPECT_EQ(result.has_value() && result->ok, c.restored.IsValid());
        EXPECT_FALSE(restoring.Changed());
        if (c.restored.IsValid()) {
            ASSERT_EQ(setter.requests.size(), 2u);
            EXPECT_EQ(Requested(setter.requests[1]), c.restored);
        } else {
            EXPECT_EQ(setter.requests.size(), 1u);
        }
    }
}

TEST_F(RollbackTest, EachMoveOnlyFromItsStateAndAnOutsideChangeEndsTheChange)
{
    EXPECT_FALSE(rollback.Restore()) << "nothing to restore";
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Set(At(2003, 1, 1))) << "a second set would lose the real time";
    EXPECT_FALSE(rollback.TimeChanged()) << "the set's own notice";
    EXPECT_TRUE(rollback.Changed());
    EXPECT_TRUE(rollback.TimeChanged());
    EXPECT_FALSE(rollback.Changed());
    EXPECT_FALSE(rollback.TimeChanged());
    EXPECT_EQ(setter.requests.size(), 1u) << "an outside change is never undone";
}

TEST_F(RollbackTest, StoredSpansThatLeadNowhereAreDamaged)
{
    const struct {
        const char* why;
        const char* span;   // as stored
        bool restores;      // false: damaged, nothing to restore
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        setter.requests.clear();
        clock.Set(Record(At(2004, 11, 20, 14)));
        rollback.Load(true, ParseStoredSpan(c.span));
        EXPECT_EQ(rollback.Damaged(), !c.restores);
        EXPECT_EQ(rollback.Restore().has_value(), c.restores);
        EXPECT_EQ(setter.requests.size(), c.restores ? 1u : 0u);
        for (const SystemTime& request : setter.requests) {
            EXPECT_GE(Requested(request), RollbackEarliest());
            EXPECT_LE(Requested(request), RollbackLatest());
        }
    }
    rollback.Load(true, std::nullopt);
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Damaged()) << "a new set stores a new way back";
}

TEST_F(RollbackTest, TargetsOutsideTheRangeAreRefused)
{
    for (const DateTime& target : {At(1970, 12, 31, 23, 59, 59), At(2037, 1, 1), DateTime::Invalid()}) {
        const std::optional<SetTimeResult> set = rollback.Set(target);
        ASSERT_TRUE(set);
        EXPECT_FALSE(set->ok);
        EXPECT_FALSE(set->message.empty());
    }
    EXPECT_TRUE(setter.requests.empty());
    EXPECT_FALSE(rollback.Changed());
    EXPECT_TRUE(rollback.Set(At(1971, 1, 1)));
}

}  // namespace
