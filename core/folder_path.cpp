#include "core/folder_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of the UTF-8 character that starts at `pos` (1 for a stray byte).
std::size_t CharLength(std::string_view text, std::size_t pos)
{
    std::size_t length = 1;
    while (pos + length < text.size() && IsContinuation(text[pos + length])) {
        ++length;
    }
    return length;
}

std::string_view TrimEnd(std::string_view text, std::string_view characters)
{
    const std::size_t last = text.find_last_not_of(characters);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}   // namespace

void NormalizeFolderPath(std::string& path, const ProgramLocation& location)
{
    constexpr std::string_view kTrimmed = " \t\r\n";
    const std::size_t first = path.find_first_not_of(kTrimmed);
    path = first == std::string::npos ? std::string() : path.substr(first, path.find_last_not_of(kTrimmed) - first + 1);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path.front() != '/') {
        path.insert(0, ProgramFolder(location));
    }
    path.erase(TrimEnd(path, "/").size());
    path += '/';
}

bool FolderExists(std::string_view path)
{
    const std::size_t first = path.find_first_not_of(" \t\r\n\v\f");
    path = first == std::string_view::npos ? std::string_view() : path.substr(first);
    path = TrimEnd(path, " \\/");
    if (path.empty()) {
        return true;
    }
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

bool FileExists(std::string_view path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(fs::path(path), ec);
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    // Greedy matching with one backtrack point: the position after the last '*'.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += CharLength(name, n);
            ++p;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++n;
            ++p;
        } else if (starPattern != std::string_view::npos) {
            starName += CharLength(name, starName);
            n = starName;
            p = starPattern;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool ListFiles(std::string_view folder, std::string_view pattern, std::vector<std::string>& list, bool withFolder,
               bool stripExtension)
{
    list.clear();
    if (!folder.empty() && !FolderExists(folder)) {
        return false;
    }
    std::string prefix(TrimEnd(folder, "\\/ \t"));
    prefix += '/';
    std::error_code ec;
    for (fs::directory_iterator it(prefix, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statusError;
        if (it->is_directory(statusError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        if (!MatchesPattern(name, pattern)) {
            continue;
        }
        if (stripExtension) {
            const std::size_t dot = name.rfind('.');
            if (dot != std::string::npos) {
                name.erase(dot);
            }
        }
        if (!name.empty()) {
            list.push_back(withFolder ? prefix + name : name);
        }
    }
    return true;
}

bool MakeFolders(const std::string& path, mode_t mode)
{
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) {
        return S_ISDIR(status.st_mode);
    }
    if (path.empty() || path == "/") {
        return false;
    }
    const std::size_t slash = path.find_last_not_of('/') == std::string::npos
                                  ? std::string::npos
                                  : path.rfind('/', path.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) {
        return false;
    }
    return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}
