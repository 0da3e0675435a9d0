#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <sys/types.h>

#include <functional>
#include <memory>

// The system's notice that its clock was set, by this program or any other.
class TimeChangeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void timeChanged();
};

// What one read of a timerfd armed with TFD_TIMER_CANCEL_ON_SET found.
enum class TimerFdReading {
    ClockSet,   // the read failed with ECANCELED: the clock was set
    Expired,    // the timer ran out (it is armed for the far future, so hardly ever)
    Nothing,    // nothing to read yet
    Failed,     // the descriptor cannot be read
};

// The meaning of a read() that returned `bytes`, with `error` as errno when it returned -1.
TimerFdReading InterpretTimerFdRead(ssize_t bytes, int error);
// Reads the expiry count of a non-blocking timerfd once.
TimerFdReading ReadTimerFd(int fd);
// Arms a CLOCK_REALTIME timerfd to expire at the end of time and to be cancelled whenever the clock is
// set; false when the system refuses.
bool ArmCancelOnSet(int fd);

// Watches a timerfd armed with TFD_TIMER_CANCEL_ON_SET and signals timeChanged each time the clock is
// set, re-arming the timer after every notice.
class TimerFdTimeChangeWatcher final : public TimeChangeSource {
    Q_OBJECT
public:
    // How the descriptor is read and armed; tests hand in a descriptor and reader they control.
    struct Operations {
        std::function<TimerFdReading(int)> read = ReadTimerFd;
        std::function<bool(int)> arm = ArmCancelOnSet;
    };

    // A timerfd of its own; where the system offers none it never signals.
    explicit TimerFdTimeChangeWatcher(QObject* parent = nullptr);
    // Watches `fd`, which it closes when destroyed; the descriptor must already be armed.
    TimerFdTimeChangeWatcher(int fd, Operations operations, QObject* parent = nullptr);
    ~TimerFdTimeChangeWatcher() override;

    bool IsWatching() const { return m_notifier != nullptr && m_notifier->isEnabled(); }

private:
    void OnReadable();

    int m_fd = -1;
    Operations m_operations;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
