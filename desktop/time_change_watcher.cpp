#include "desktop/time_change_watcher.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

TimerFdReading InterpretTimerFdRead(ssize_t bytes, int error)
{
    if (bytes == static_cast<ssize_t>(sizeof(std::uint64_t))) {
        return TimerFdReading::Expired;
    }
    if (bytes < 0) {
        switch (error) {
        case ECANCELED:
            return TimerFdReading::ClockSet;
        case EAGAIN:
        case EINTR:
            return TimerFdReading::Nothing;
        default:
            break;
        }
    }
    return TimerFdReading::Failed;
}

TimerFdReading ReadTimerFd(int fd)
{
    std::uint64_t expirations = 0;
    const ssize_t bytes = read(fd, &expirations, sizeof expirations);
    return InterpretTimerFdRead(bytes, bytes < 0 ? errno : 0);
}

bool ArmCancelOnSet(int fd)
{
    itimerspec never{};
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    return timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

TimerFdTimeChangeWatcher::TimerFdTimeChangeWatcher(QObject* parent)
    : TimerFdTimeChangeWatcher(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC), Operations{}, parent)
{
    if (m_fd >= 0 && !m_operations.arm(m_fd)) {
        m_notifier.reset();
    }
}

TimerFdTimeChangeWatcher::TimerFdTimeChangeWatcher(int fd, Operations operations, QObject* parent)
    : TimeChangeSource(parent),
      m_fd(fd),
      m_operations(std::move(operations))
{
    if (m_fd < 0) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TimerFdTimeChangeWatcher::OnReadable);
}

TimerFdTimeChangeWatcher::~TimerFdTimeChangeWatcher()
{
    m_notifier.reset();
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void TimerFdTimeChangeWatcher::OnReadable()
{
    switch (m_operations.read(m_fd)) {
    case TimerFdReading::ClockSet:
        m_operations.arm(m_fd);
        emit timeChanged();
        break;
    case TimerFdReading::Expired:
        m_operations.arm(m_fd);
        break;
    case TimerFdReading::Nothing:
        break;
    case TimerFdReading::Failed:
        // A descriptor that cannot be read would wake the loop for ever.
        m_notifier->setEnabled(false);
        break;
    }
}
