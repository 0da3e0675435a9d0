#include "desktop/time_change_watcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <tuple>

// The clock is never set here: the "clock was set" reading is fed through a pipe the test controls, and
// the real timerfd is only read and armed.

namespace {

TEST(TimeChangeWatcher, ReadResults)
{
    // The bytes read and errno: the clock was set, the timer ran out, nothing yet, interrupted, a closed
    // descriptor, a short read.
    const std::tuple<ssize_t, int, TimerFdReading> cases[] = {
        {-1, ECANCELED, TimerFdReading::ClockSet}, {8, 0, TimerFdReading::Expired},
        {-1, EAGAIN, TimerFdReading::Nothing},     {-1, EINTR, TimerFdReading::Nothing},
        {-1, EBADF, TimerFdReading::Failed},       {4, 0, TimerFdReading::Failed},
    };
    for (const auto& [bytes, error, reading] : cases) {
        EXPECT_EQ(InterpretTimerFdRead(bytes, error), reading) << bytes << " " << error;
    }
}

TEST(TimeChangeWatcher, EachClockSetIsSignalledAndReArmsUntilTheDescriptorFails)
{
    // A pipe stands in for the timerfd: each byte written wakes the watcher, whose read answers the next
    // scripted reading.
    int fds[2] = {-1, -1};
    ASSERT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
    std::deque<TimerFdReading> script;
    int reads = 0;
    int arms = 0;
    TimerFdTimeChangeWatcher::Operations operations;
    operations.read = [&](int fd) {
        char drained[16];
        while (read(fd, drained, sizeof drained) > 0) {
        }
        ++reads;
        const TimerFdReading next = script.front();
        script.pop_front();
        return next;
    };
    operations.arm = [&](int) { return ++arms > 0; };
    TimerFdTimeChangeWatcher watcher(fds[0], operations);
    QSignalSpy changes(&watcher, &TimeChangeSource::timeChanged);
    ASSERT_TRUE(watcher.IsWatching());
    // The reading, then the changes and arms counted: the timer running out is no clock change, but it
    // must be armed again.
    const std::tuple<TimerFdReading, int, int> steps[] = {
        {TimerFdReading::ClockSet, 1, 1}, {TimerFdReading::Nothing, 1, 1}, {TimerFdReading::Expired, 1, 2},
        {TimerFdReading::ClockSet, 2, 3}, {TimerFdReading::Failed, 2, 3},
    };
    for (const auto& [reading, count, armsAfter] : steps) {
        script.push_back(reading);
        const int before = reads;
        ASSERT_EQ(write(fds[1], "x", 1), 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return reads > before; }, 5000));
        EXPECT_EQ(changes.count(), count);
        EXPECT_EQ(arms, armsAfter);
    }
    EXPECT_FALSE(watcher.IsWatching());
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    QTest::qWait(50);
    EXPECT_EQ(reads, 5) << "no busy loop on a dead descriptor";
    close(fds[1]);
}

TEST(TimeChangeWatcher, RealTimerRunningOutIsReadAndReArmed)
{
    // A real timerfd that runs out after a millisecond: the watcher's own read sees the expiry and its own
    // arm puts the timer back to the end of time, without a notice; then there is nothing to read.
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    itimerspec soon{};
    soon.it_value.tv_nsec = 1'000'000;
    ASSERT_EQ(timerfd_settime(fd, 0, &soon, nullptr), 0);
    int arms = 0;
    TimerFdTimeChangeWatcher::Operations operations;
    bool armed = false;
    operations.arm = [&](int descriptor) {
        ++arms;
        return armed = ArmCancelOnSet(descriptor);
    };
    TimerFdTimeChangeWatcher watcher(fd, operations);
    QSignalSpy changes(&watcher, &TimeChangeSource::timeChanged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return arms == 1; }, 5000));
    EXPECT_EQ(changes.count(), 0);
    itimerspec left{};
    ASSERT_EQ(timerfd_gettime(fd, &left), 0);
    EXPECT_GT(left.it_value.tv_sec, 100LL * 365 * 24 * 3600);
    EXPECT_TRUE(armed && watcher.IsWatching());
    EXPECT_EQ(ReadTimerFd(fd), TimerFdReading::Nothing);
    EXPECT_TRUE(TimerFdTimeChangeWatcher().IsWatching()) << "a timerfd of its own";
}

}   // namespace
