#include "settings/desktop_entry.h"

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// Escapes of the string value type: the whole Exec line is such a value.
std::string EscapeStringValue(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

}   // namespace

std::string QuoteExecArgument(std::string_view path)
{
    std::string argument;
    // '%' starts a field code in Exec; a literal one is doubled.
    const bool quote = path.find_first_of(kReserved) != std::string_view::npos || path.empty();
    if (quote) {
        argument += '"';
    }
    for (const char c : path) {
        if (c == '%') {
            argument += "%%";
            continue;
        }
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
        }
        argument += c;
    }
    if (quote) {
        argument += '"';
    }
    return EscapeStringValue(argument);
}

std::string FormatAutostartEntry(std::string_view name, std::string_view programPath)
{
    std::string text = "[Desktop Entry]\nType=Application\nName=";
    text += EscapeStringValue(name);
    text += "\nExec=";
    // GLib looks for the program under its still-escaped name ("a%%b") and drops the entry when it is not
    // found; started through env, the escaped path is only an argument, unescaped before the launch.
    if (programPath.find('%') != std::string_view::npos) {
        text += "env ";
    }
    text += QuoteExecArgument(programPath);
    text += "\nTerminal=false\n";
    return text;
}
