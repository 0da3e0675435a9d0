#pragma once

#include <string>

#include "core/program_location.h"

// A program file at a chosen path, usually inside a temporary folder.
class FakeProgramLocation final : public ProgramLocation {
public:
    explicit FakeProgramLocation(std::string executablePath) : m_path(std::move(executablePath)) {}
    std::string ExecutablePath() const override { return m_path; }

private:
    std::string m_path;
};
