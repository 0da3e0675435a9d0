#include "settings/options_model.h"

#include <algorithm>

#include "core/ascii.h"
#include "core/folder_path.h"

namespace {

bool ListedBefore(std::string_view a, std::string_view b)
{
    const auto folded = [](std::string_view text) {
        std::string out(text);
        std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
        return out;
    };
    const std::string foldedA = folded(a);
    const std::string foldedB = folded(b);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
}

void SortAsListed(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return ListedBefore(a, b); });
}

}   // namespace

std::vector<std::string> ListLanguages(const ProgramLocation& location)
{
    std::vector<std::string> names;
    // The user's files first, so that their spelling wins over a file of the same name beside the program.
    for (const std::string& folder : {location.UserDataFolder(), ProgramFolder(location)}) {
        std::vector<std::string> found;
        // An empty folder would list the working folder.
        if (folder.empty() || !ListFiles(folder, "*.lng", found, false, true)) {
            continue;
        }
        // Sorted first, so that of two names in one folder the same one is kept every time.
        SortAsListed(found);
        for (std::string& name : found) {
            if (std::none_of(names.begin(), names.end(),
                             [&name](const std::string& n) { return EqualNoCase(n, name); })) {
                names.push_back(std::move(name));
            }
        }
    }
    SortAsListed(names);
    return names;
}

LanguageChoice ChooseLanguage(std::vector<std::string> names, std::string_view stored)
{
    const auto find = [&names](std::string_view name) {
        return std::find_if(names.begin(), names.end(), [name](const std::string& n) { return EqualNoCase(n, name); });
    };
    auto found = stored.empty() ? names.end() : find(stored);
    if (found == names.end()) {
        found = find(kDefaultLanguage);
    }
    if (found == names.end()) {
        found =
            names.insert(std::upper_bound(names.begin(), names.end(), kDefaultLanguage,
                                          [](std::string_view a, const std::string& b) { return ListedBefore(a, b); }),
                         std::string(kDefaultLanguage));
    }
    const auto selected = static_cast<std::size_t>(found - names.begin());
    return LanguageChoice{std::move(names), selected};
}

std::string TemplateFolderStatus(std::string_view typed, const ProgramLocation& location, const MessageSource& messages)
{
    std::string folder(typed);
    NormalizeFolderPath(folder, location);
    return FolderExists(folder) ? std::string() : messages.GetString(39);
}
