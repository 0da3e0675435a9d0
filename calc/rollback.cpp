#include "calc/rollback.h"

#include <cerrno>
#include <charconv>
#include <cmath>
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

SetTimeResult SetClockTo(ClockSetter& setter, const DateTime& value)
{
    const std::optional<SystemTime> record = value.GetAsSystemTime();
    if (!record || !InRange(value)) {
        return Refused();
    }
    return setter.SetClock(*record);
}

}   // namespace

DateTime RollbackEarliest()
{
    return DateTime::FromParts(1971, 1, 1, 0, 0, 0);
}

DateTime RollbackLatest()
{
    return DateTime::FromParts(2036, 12, 31, 23, 59, 59);
}

void Rollback::Load(bool changed, const std::optional<DateTimeSpan>& offset)
{
    m_damaged = changed && (!offset || !InRange(GetNow(m_clock) + *offset));
    m_changed = changed && !m_damaged;
    m_offset = offset.value_or(DateTimeSpan());
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
    SetTimeResult result = SetClockTo(m_setter, target);
    if (result.ok) {
        m_changed = true;
        m_damaged = false;
        m_ignoreNextTimeChange = true;
    }
    return result;
}

std::optional<SetTimeResult> Rollback::Restore()
{
    if (!m_changed) {
        return std::nullopt;
    }
    const DateTime restored = GetNow(m_clock) + m_offset;
    if (!InRange(restored)) {
        m_changed = false;
        m_damaged = true;
        return Refused();
    }
    SetTimeResult result = SetClockTo(m_setter, restored);
    m_changed = !result.ok;
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

std::optional<DateTimeSpan> ParseStoredSpan(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    double days = 0;
    const std::from_chars_result result = std::from_chars(*begin == '+' ? begin + 1 : begin, end, days);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(days)) {
        return std::nullopt;
    }
    return DateTimeSpan(days);
}

std::string RollbackStateText(const Rollback& rollback, const MessageSource& messages)
{
    if (rollback.Damaged()) {
        return messages.GetString(61);
    }
    return rollback.Changed() ? messages.GetString(31) + "..." : messages.GetString(32);
}

std::array<ControlState, 5> RollbackControlStates(bool changed)
{
    return {{{kRollbackDate, !changed},
             {kRollbackTime, !changed},
             {kRollbackNow, !changed},
             {kRollbackSet, !changed},
             {kRollbackRestore, changed}}};
}

std::string ClockErrorText(const Rollback& rollback, bool restoring, const std::string& reason,
                           const MessageSource& messages)
{
    std::string text = messages.GetString(restoring ? 30 : 29) + "\n" + reason;
    if (restoring && rollback.Changed()) {
        text += "\n" + messages.GetString(kRestoreKeptMessage);
    }
    return text;
}
