#include "platform/time_change_watcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <deque>

// The clock is never set here: the "clock was set" reading is fed through a pipe the test controls, and
// the real timerfd is only read and armed.

namespace {

TEST(TimeChangeWatcher, ReadResults)
{
    const struct {
        const char* why;
        ssize_t bytes;
        int error;
        TimerFdReading reading;
    } cases[] = {
        {"the clock was set", -1, ECANCELED, TimerFdReading::ClockSet},
        {"the timer ran out", 8, 0, TimerFdReading::Expired},
        {"nothing yet", -1, EAGAIN, TimerFdReading::Nothing},
        {"interrupted", -1, EINTR, TimerFdReading::Nothing},
        {"closed descriptor", -1, EBADF, TimerFdReading::Failed},
        {"short read", 4, 0, TimerFdReading::Failed},
        {"end of file", 0, 0, TimerFdReading::Failed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InterpretTimerFdRead(c.bytes, c.error), c.reading) << c.why;
    }
}

// A pipe standing in for the timerfd: each byte written wakes the watcher, whose read answers the next
// scripted reading.
struct ScriptedWatcher {
    int fds[2] = {-1, -1};
    std::deque<TimerFdReading> script;
    int reads = 0;
    int arms = 0;
    std::unique_ptr<TimerFdTimeChangeWatcher> watcher;

    ScriptedWatcher()
    {
        EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
        TimerFdTimeChangeWatcher::Operations operations;
        operations.read = [this](int fd) {
            char drained[16];
            while (read(fd, drained, sizeof drained) > 0) {
            }
            ++reads;
            const TimerFdReading next = script.front();
            script.pop_front();
            return next;
        };
        operations.arm = [this](int) {
            ++arms;
            return true;
        };
        watcher = std::make_unique<TimerFdTimeChangeWatcher>(fds[0], operations);
    }
    ~ScriptedWatcher()
    {
        watcher.reset();
        close(fds[1]);
    }
    // Wakes the watcher once and waits until it has read.
    bool Wake(TimerFdReading reading)
    {
        script.push_back(reading);
        const int before = reads;
        const char byte = 1;
        return write(fds[1], &byte, 1) == 1 && QTest::qWaitFor([&] { return reads > before; }, 5000);
    }
};

TEST(TimeChangeWatcher, EachClockSetIsSignalledAndReArms)
{
    ScriptedWatcher scripted;
    QSignalSpy changes(scripted.watcher.get(), &TimeChangeSource::timeChanged);
    ASSERT_TRUE(scripted.watcher->IsWatching());
    const struct {
        TimerFdReading reading;
        int changes;
        int arms;   // the timer running out is no clock change, but it must be armed again
    } steps[] = {{TimerFdReading::ClockSet, 1, 1}, {TimerFdReading::Nothing, 1, 1}, {TimerFdReading::Expired, 1, 2},
                 {TimerFdReading::ClockSet, 2, 3}};
    for (const auto& step : steps) {
        ASSERT_TRUE(scripted.Wake(step.reading));
        EXPECT_EQ(changes.count(), step.changes);
        EXPECT_EQ(scripted.arms, step.arms);
    }
}

TEST(TimeChangeWatcher, UnreadableDescriptorStopsWatching)
{
    ScriptedWatcher scripted;
    QSignalSpy changes(scripted.watcher.get(), &TimeChangeSource::timeChanged);
    ASSERT_TRUE(scripted.Wake(TimerFdReading::Failed));
    EXPECT_FALSE(scripted.watcher->IsWatching());
    const char byte = 1;
    ASSERT_EQ(write(scripted.fds[1], &byte, 1), 1);
    QTest::qWait(50);
    EXPECT_EQ(scripted.reads, 1) << "no busy loop on a dead descriptor";
    EXPECT_EQ(changes.count(), 0);
}

TEST(TimeChangeWatcher, RealTimerFdIsArmedForTheEndOfTime)
{
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(ArmCancelOnSet(fd));
    EXPECT_EQ(ReadTimerFd(fd), TimerFdReading::Nothing);
    itimerspec left{};
    ASSERT_EQ(timerfd_gettime(fd, &left), 0);
    EXPECT_GT(left.it_value.tv_sec, 100LL * 365 * 24 * 3600);
    close(fd);
}

TEST(TimeChangeWatcher, RealTimerRunningOutIsReadAndReArmed)
{
    // A real timerfd that runs out after a millisecond: the watcher's own read sees the expiry and its own
    // arm puts the timer back to the end of time, without a notice.
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    itimerspec soon{};
    soon.it_value.tv_nsec = 1'000'000;
    ASSERT_EQ(timerfd_settime(fd, 0, &soon, nullptr), 0);
    int arms = 0;
    TimerFdTimeChangeWatcher::Operations operations;
    operations.arm = [&arms](int descriptor) {
        ++arms;
        return ArmCancelOnSet(descriptor);
    };
    TimerFdTimeChangeWatcher watcher(fd, operations);
    QSignalSpy changes(&watcher, &TimeChangeSource::timeChanged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return arms == 1; }, 5000));
    EXPECT_EQ(changes.count(), 0);
    itimerspec left{};
    ASSERT_EQ(timerfd_gettime(fd, &left), 0);
    EXPECT_GT(left.it_value.tv_sec, 100LL * 365 * 24 * 3600);
    EXPECT_TRUE(watcher.IsWatching());
}

TEST(TimeChangeWatcher, OwnTimerFdIsWatched)
{
    TimerFdTimeChangeWatcher watcher;
    EXPECT_TRUE(watcher.IsWatching());
}

}  // namespace
