#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calc/clock_setter.h"

// Sets the computer's clock through systemd-timedated on the system bus (interactive, so that polkit
// may ask for a password), and with clock_settime where no timedated answers. A refusal carries the
// system's own words: the D-Bus error message or strerror.
class SystemClockSetter final : public ClockSetter {
public:
    // What one call of timedated's SetTime gave.
    struct BusReply {
        enum class Kind { NoService, Ok, Error };
        Kind kind = Kind::NoService;
        std::string message;   // the error's message for Kind::Error
    };
    // Asks timedated to set the clock to `usecUtc` microseconds of the Unix time scale.
    using TimedatedCall = std::function<BusReply(std::int64_t usecUtc)>;
    // Sets CLOCK_REALTIME; 0 or the errno of the failure.
    using SettimeCall = std::function<int(const timespec&)>;

    // The system's timedated and clock_settime.
    SystemClockSetter();
    SystemClockSetter(TimedatedCall timedated, SettimeCall settime);

    SetTimeResult SetClock(const SystemTime& time) override;

private:
    TimedatedCall m_timedated;
    SettimeCall m_settime;
};

// Whether a D-Bus error name says that no timedated can answer (not installed, not activatable,
// masked), rather than that it refused.
bool MeansNoTimedated(std::string_view errorName);
