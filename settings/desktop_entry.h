#pragma once

#include <string>
#include <string_view>

// The Desktop Entry file that starts `programPath` at log-on under the name `name`. The program path is
// quoted and escaped as the Exec key requires, so any path starts exactly that file.
std::string FormatAutostartEntry(std::string_view name, std::string_view programPath);

// `path` as one argument of a Desktop Entry Exec value (quoted when it holds a reserved character),
// already escaped as a string value.
std::string QuoteExecArgument(std::string_view path);
