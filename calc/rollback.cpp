#include "calc/rollback.h"

#include <cerrno>
#include <cstring>

namespace {

bool InRange(const DateTime& value)
{
    return value.IsValid() && value >= RollbackEarliest() && value <= RollbackLatest();
}

// A time the page will not set is refused in the words the system uses for a value it cannot take.
SetTimeResult Refused()
{
    return SetTimeResult{false, std::strerror(EINVAL)};
}

SetTimeResult SetClock(ClockSetter& setter, const DateTime& value)
{
    const std::optional<SystemTime> record = value.GetAsSystemTime();
    if (!record || !InRange(value)) {
        return Refused();
    }
    return setter.SetLocalTime(*record);
}

}  // namespace

DateTime RollbackEarliest()
{
    return DateTime::FromParts(1971, 1, 1, 0, 0, 0);
}

DateTime RollbackLatest()
{
    return DateTime::FromParts(2036, 12, 31, 23, 59, 59);
}

void Rollback::Load(bool changed, const DateTimeSpan& offset)
{
    m_changed = changed;
    m_offset = offset;
}

std::optional<SetTimeResult> Rollback::Set(const DateTime& target)
{
    if (m_changed) {
        return std::nullopt;
    }
    const DateTime now = GetNow(m_clock);
    m_offset = now - target;
    // Without a valid now there would be no way back to real time.
    if (!now.IsValid() || !m_offset.IsValid()) {
        return Refused();
    }
    SetTimeResult result = SetClock(m_setter, target);
    if (result.ok) {
        m_changed = true;
        m_ignoreNextTimeChange = true;
    }
    return result;
}

std::optional<SetTimeResult> Rollback::Restore()
{
    if (!m_changed) {
        return std::nullopt;
    }
    // An invalid sum (a garbage offset) is refused by SetClock.
    const DateTime restored = GetNow(m_clock) + m_offset;
    SetTimeResult result = SetClock(m_setter, restored);
    m_changed = false;
    return result;
}

bool Rollback::TimeChanged()
{
    if (m_ignoreNextTimeChange) {
        m_ignoreNextTimeChange = false;
        return false;
    }
    if (!m_changed) {
        return false;
    }
    m_changed = false;
    return true;
}

std::string RollbackStateText(bool changed, const MessageSource& messages)
{
    return changed ? messages.GetString(31) + "..." : messages.GetString(32);
}

std::array<ControlState, 5> RollbackControlStates(bool changed)
{
    return {{{kRollbackDate, !changed},
             {kRollbackTime, !changed},
             {kRollbackNow, !changed},
             {kRollbackSet, !changed},
             {kRollbackRestore, changed}}};
}

std::string ClockErrorText(bool restoring, const std::string& reason, const MessageSource& messages)
{
    return messages.GetString(restoring ? 30 : 29) + "\n" + reason;
}
