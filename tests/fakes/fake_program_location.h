#pragma once

#include <string>

#include "core/program_location.h"

// A program file at a chosen path, usually inside a temporary folder. Its folder counts as writable
// unless told otherwise (chmod cannot make a folder read-only for root), and the user has a data
// folder only when one is given.
class FakeProgramLocation final : public ProgramLocation {
public:
    explicit FakeProgramLocation(std::string executablePath, std::string userDataFolder = {},
                                 bool canWriteProgramFolder = true)
        : m_path(std::move(executablePath)),
          m_userFolder(std::move(userDataFolder)),
          m_canWrite(canWriteProgramFolder)
    {
    }
    std::string ExecutablePath() const override { return m_path; }
    std::string UserDataFolder() const override { return m_userFolder; }
    bool CanWriteProgramFolder() const override { return m_canWrite; }

private:
    std::string m_path;
    std::string m_userFolder;
    bool m_canWrite;
};
