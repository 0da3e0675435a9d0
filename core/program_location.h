#pragma once

#include <string>

// Where the running program file lies. Language files, the default template folder and the help file
// sit beside it; tests point it at a temporary folder.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    // The full path of the running program file; empty when the platform cannot tell.
    virtual std::string ExecutablePath() const = 0;
};

// The folder of the program file with its final '/'; empty when the path is empty or holds no '/'.
std::string ProgramFolder(const ProgramLocation& location);
