#pragma once

#include <string>

#include "core/program_location.h"

// The running program file as the kernel names it in /proc/self/exe, read once at construction.
class ProcProgramLocation final : public ProgramLocation {
public:
    ProcProgramLocation();
    std::string ExecutablePath() const override { return m_path; }

private:
    std::string m_path;
};
