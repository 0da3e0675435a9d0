#pragma once

#include <string>

#include "core/program_location.h"

// The running program file as the kernel names it in /proc/self/exe, and the user's folder
// "$XDG_DATA_HOME/Orvane/Chronel/" (default ~/.local/share), both read once at construction.
class ProcProgramLocation final : public ProgramLocation {
public:
    ProcProgramLocation();
    std::string ExecutablePath() const override { return m_path; }
    std::string UserDataFolder() const override { return m_userFolder; }
    // Asked anew at every call: the answer follows the folder's permissions and the user's rights.
    bool CanWriteProgramFolder() const override;

private:
    std::string m_path;
    std::string m_userFolder;
};
