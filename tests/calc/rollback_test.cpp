#include "calc/rollback.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_clock_setter.h"

namespace {

struct RollbackTest : ::testing::Test {
    FakeClock clock{*At(2004, 11, 20, 14).GetAsSystemTime()};
    FakeClockSetter setter{clock};
    Rollback rollback{clock, setter};
};

TEST_F(RollbackTest, RestoreCountsTheTimeThatPassed)
{
    // Set at 2004-11-20 14:00: a restore adds the time that passed on the changed clock. An invalid
    // `restored`: refused, the clock is left alone.
    const struct {
        const char* why;
        DateTime target, clockAtRestore;
        bool restart;   // the state went through Load, as after a new run
        DateTime restored;
    } cases[] = {
        {"the time that passed counts", At(2004, 1, 1, 12), At(2004, 1, 1, 13, 30), false, At(2004, 11, 20, 15, 30)},
        {"also across a restart", At(2004, 1, 1, 12), At(2004, 1, 2, 12, 30), true, At(2004, 11, 21, 14, 30)},
        {"a target in the future", At(2010, 5, 5), At(2010, 5, 5, 1), false, At(2004, 11, 20, 15)},
        {"a restore past the range is refused", At(1971, 1, 1), At(2036, 12, 31), false, DateTime::Invalid()},
        {"a restart past the range is damaged", At(1971, 1, 1), At(2036, 12, 31), true, DateTime::Invalid()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        clock.Set(At(2004, 11, 20, 14));
        setter.requests.clear();
        Rollback first(clock, setter);
        ASSERT_TRUE(first.Set(c.target)->ok);
        EXPECT_TRUE(first.Changed());
        clock.Set(c.clockAtRestore);
        Rollback again(clock, setter);
        again.Load(true, first.Offset());
        Rollback& restoring = c.restart ? again : first;
        const std::optional<SetTimeResult> result = restoring.Restore();
        EXPECT_EQ(result.has_value() && result->ok, c.restored.IsValid());
        EXPECT_FALSE(restoring.Changed());
        EXPECT_EQ(restoring.Damaged(), !c.restored.IsValid()) << "no retry could reach the range";
        ASSERT_EQ(setter.requests.size(), c.restored.IsValid() ? 2u : 1u);
        EXPECT_EQ(At(setter.requests.back()), c.restored.IsValid() ? c.restored : c.target);
    }
}

TEST_F(RollbackTest, EachMoveOnlyFromItsState)
{
    EXPECT_FALSE(rollback.Restore()) << "nothing to restore";
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Set(At(2003, 1, 1))) << "a second set would lose the real time";
    EXPECT_EQ(setter.requests.size(), 1u);
}

TEST_F(RollbackTest, AnOutsideChangeEndsTheChangedStateAndIsNeverUndone)
{
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.TimeChanged()) << "the set's own notice";
    EXPECT_TRUE(rollback.Changed());
    EXPECT_TRUE(rollback.TimeChanged());
    EXPECT_FALSE(rollback.Changed());
    EXPECT_FALSE(rollback.TimeChanged());
    EXPECT_EQ(setter.requests.size(), 1u);
}

TEST_F(RollbackTest, TargetsOutsideTheRangeAreRefusedWithoutTouchingTheClock)
{
    for (const DateTime& target : {At(1970, 12, 31, 23, 59, 59), At(2037, 1, 1), DateTime::Invalid()}) {
        const std::optional<SetTimeResult> set = rollback.Set(target);
        ASSERT_TRUE(set);
        EXPECT_FALSE(set->ok);
        EXPECT_FALSE(set->message.empty());
        EXPECT_FALSE(rollback.Changed());
    }
    EXPECT_TRUE(setter.requests.empty());
    EXPECT_TRUE(rollback.Set(At(1971, 1, 1)).value().ok) << "the range's first second";
}

TEST_F(RollbackTest, ARefusedRestoreKeepsTheWayBackForARetry)
{
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1))->ok);
    const double offset = rollback.Offset().GetTotalDays();
    setter.refusal = "Interactive authentication required.";
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(rollback.Restore()->ok);
        EXPECT_TRUE(rollback.Changed());
        EXPECT_EQ(rollback.Offset().GetTotalDays(), offset);
    }
    setter.refusal.reset();
    clock.Set(At(2004, 1, 1, 1));
    EXPECT_TRUE(rollback.Restore()->ok);
    EXPECT_EQ(At(setter.requests.back()), At(2004, 11, 20, 15));
    EXPECT_FALSE(rollback.Changed());
}

TEST_F(RollbackTest, StoredSpansThatLeadNowhereAreDamaged)
{
    // Zero: the clock is set to what it shows; negative: the target lay in the future.
    for (const char* span : {"0.00000000000000000000", "-1.50000000000000000000", " 2.5 "}) {
        setter.requests.clear();
        rollback.Load(true, ParseStoredSpan(span));
        EXPECT_FALSE(rollback.Damaged()) << span;
        ASSERT_TRUE(rollback.Restore().has_value()) << span;
        ASSERT_EQ(setter.requests.size(), 1u);
        EXPECT_GE(At(setter.requests[0]), RollbackEarliest());
        EXPECT_LE(At(setter.requests[0]), RollbackLatest());
        clock.Set(At(2004, 11, 20, 14));
    }
    setter.requests.clear();
    for (const char* span : {"", "abc", "1.5days", "1e300", "-20000", "1e999", "nan"}) {
        rollback.Load(true, ParseStoredSpan(span));
        EXPECT_TRUE(rollback.Damaged()) << span;
        EXPECT_FALSE(rollback.Restore().has_value()) << span;
    }
    EXPECT_TRUE(setter.requests.empty());
    rollback.Load(true, std::nullopt);
    ASSERT_TRUE(rollback.Set(At(2004, 1, 1)));
    EXPECT_FALSE(rollback.Damaged()) << "a new set stores a new way back";
}

}   // namespace
