#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/clock_setter.h"
#include "fakes/fake_clock.h"

// Records every time it is asked to set and, unless told to refuse, moves the fake clock there.
class FakeClockSetter final : public ClockSetter {
public:
    explicit FakeClockSetter(FakeClock& clock) : m_clock(clock) {}

    SetTimeResult SetClock(const SystemTime& time) override
    {
        requests.push_back(time);
        if (refusal) {
            return SetTimeResult{false, *refusal};
        }
        SystemTime whole = time;
        whole.milliseconds = 0;
        m_clock.Set(whole);
        return SetTimeResult{true, {}};
    }

    // Set to make every request fail with this reason.
    std::optional<std::string> refusal;
    std::vector<SystemTime> requests;

private:
    FakeClock& m_clock;
};
