#pragma once

#include <optional>
#include <string>

// One object (a topic page, a stylesheet) of a compiled HTML help file, read with chmlib.
// Empty when the file cannot be opened or holds no such object. `objectPath` starts with '/'.
std::optional<std::string> ReadChmObject(const std::string& chmPath, const std::string& objectPath);
