#include "templates/file_filter.h"

#include "core/ascii.h"

namespace {

std::string_view Trim(std::string_view text)
{
    return TrimAny(text, " \t");
}

std::string_view TakeField(std::string_view& text)
{
    const std::size_t bar = text.find('|');
    const std::string_view field = text.substr(0, bar);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    return field;
}

// "Text Files (*.txt)" -> "Text Files": the dialog adds the patterns itself.
std::string_view DropPatternSuffix(std::string_view description)
{
    description = Trim(description);
    if (description.ends_with(')')) {
        const std::size_t open = description.rfind('(');
        if (open != std::string_view::npos && open > 0) {
            return Trim(description.substr(0, open));
        }
    }
    return description;
}

}   // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view text)
{
    std::vector<FileFilter> filters;
    while (!text.empty()) {
        const std::string_view description = TakeField(text);
        const std::string_view patterns = TakeField(text);
        if (description.empty() || patterns.empty()) {
            break;
        }
        FileFilter filter;
        filter.description = std::string(DropPatternSuffix(description));
        std::string_view rest = patterns;
        while (!rest.empty()) {
            const std::size_t semicolon = rest.find(';');
            const std::string_view pattern = Trim(rest.substr(0, semicolon));
            rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
            if (!pattern.empty()) {
                filter.patterns.emplace_back(pattern == "*.*" ? "*" : pattern);
            }
        }
        if (!filter.patterns.empty()) {
            filters.push_back(std::move(filter));
        }
    }
    return filters;
}

std::string FormatNameFilters(const std::vector<FileFilter>& filters)
{
    std::string out;
    for (const FileFilter& filter : filters) {
        if (!out.empty()) {
            out += ";;";
        }
        out += filter.description;
        out += " (";
        for (std::size_t i = 0; i < filter.patterns.size(); ++i) {
            out += i > 0 ? " " : "";
            out += filter.patterns[i];
        }
        out += ')';
    }
    return out;
}
