#pragma once

#include "desktop/time_change_watcher.h"

// The system's time-change notice on demand.
class FakeTimeChangeSource final : public TimeChangeSource {
public:
    void Notify() { emit timeChanged(); }
};
