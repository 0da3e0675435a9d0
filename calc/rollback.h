#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calc/clock_setter.h"
#include "core/clock.h"
#include "core/date_time.h"
#include "core/field_text.h"
#include "core/messages.h"

// Controls of the Rollback page whose state follows the rollback.
enum RollbackControl {
    kRollbackDate = 1045,
    kRollbackTime = 1090,
    kRollbackNow = 1063,
    kRollbackTimeInfo = 1091,
    kRollbackState = 1092,
    kRollbackSet = 1088,
    kRollbackRestore = 1089,
};

// The range of the page's pickers, and of every time the page sets the clock to.
DateTime RollbackEarliest();
DateTime RollbackLatest();

// The two states of a rollback of the system clock and the moves between them. The clock is read
// through `clock` and set only through `setter`, and only to a time within RollbackEarliest() ..
// RollbackLatest().
class Rollback {
public:
    Rollback(const Clock& clock, ClockSetter& setter) : m_clock(clock), m_setter(setter) {}

    // The state kept across runs: whether the clock is changed, and real time minus clock time. A changed
    // state whose offset is missing (not one finite number) or would take the clock outside the range is
    // damaged: there is no way back to restore, and the state reads as restored until the next Set.
    void Load(bool changed, const std::optional<DateTimeSpan>& offset);
    bool Changed() const { return m_changed; }
    bool Damaged() const { return m_damaged; }
    const DateTimeSpan& Offset() const { return m_offset; }

    // Sets the clock to `target` and keeps now − target as the offset. Empty, doing nothing, while the
    // clock is changed. A refusal (by the system, or for a target or a current time outside the range)
    // leaves the state restored; the offset keeps its new value but is not used.
    std::optional<SetTimeResult> Set(const DateTime& target);
    // Sets the clock to now + offset, the time it would show had it never been changed. Empty, doing
    // nothing, while the clock is not changed. A refusal by the system (no right, a cancelled password
    // prompt) keeps the changed state and its offset, so Restore can be pressed again. A result outside
    // the range is refused without touching the clock and leaves the state damaged, as a restart would
    // find it: no retry could reach the range again.
    std::optional<SetTimeResult> Restore();
    // The system's notice that its time changed. The first notice after a set is that set's own echo and
    // is ignored; any other ends the changed state, as the clock was changed from outside. True when the
    // state changed.
    bool TimeChanged();

private:
    const Clock& m_clock;
    ClockSetter& m_setter;
    bool m_changed = false;
    bool m_damaged = false;
    bool m_ignoreNextTimeChange = false;
    DateTimeSpan m_offset;
};

// The stored span text ("%.20f" of a day count) as a span; empty unless the whole text, blanks aside, is
// one finite number.
std::optional<DateTimeSpan> ParseStoredSpan(std::string_view text);
// The state field: message 61 for a damaged state, message 31 and "..." while changed, else message 32.
std::string RollbackStateText(const Rollback& rollback, const MessageSource& messages);
// The pickers, "&Now" and "S&et" are enabled exactly while the clock is not changed, "&Restore" exactly
// while it is.
std::array<ControlState, 5> RollbackControlStates(bool changed);
// The message box text of a refused set (`restoring` clear, message 29) or restore (message 30): the
// message, a line break and the system's reason; after a restore that kept the changed state, a line
// break and kRestoreKeptMessage.
std::string ClockErrorText(const Rollback& rollback, bool restoring, const std::string& reason,
                           const MessageSource& messages);
