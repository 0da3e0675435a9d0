#pragma once

#include <string_view>

enum class AutostartChange {
    Made,
    Impossible,   // no place could be written, or the entry could not be removed
    Busy,         // another running copy held the program's lock too long: try again later
};

// The system's list of programs started at log-on. Its places are tried in order and the first one that
// can be written is used, for adding and for removing alike.
class AutostartList {
public:
    virtual ~AutostartList() = default;
    // Adds or replaces the entry `name` that starts the program file `programPath`.
    virtual AutostartChange Add(std::string_view name, std::string_view programPath) = 0;
    // Removes the entry `name`.
    virtual AutostartChange Remove(std::string_view name) = 0;
};
