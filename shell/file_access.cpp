#include "shell/file_access.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

// A name no other writer uses: a random stem drawn once per process plus a counter.
std::string UniqueSuffix()
{
    static const std::uint64_t stem = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }();
    static std::atomic<std::uint64_t> counter{0};
    char text[48];
    std::snprintf(text, sizeof text, "%016llx-%llu", static_cast<unsigned long long>(stem),
                  static_cast<unsigned long long>(counter.fetch_add(1)));
    return text;
}

fs::path ResolveLink(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) {
        return path;
    }
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) {
        return path;
    }
    return target.is_absolute() ? target : path.parent_path() / target;
}

bool WriteAll(std::FILE* file, std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

}  // namespace

FileReadResult ReadFileLimited(const std::string& path, std::size_t maxBytes)
{
    FileReadResult result;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return result;
    }
    result.status = FileReadStatus::Unreadable;
    if (ec || !fs::is_regular_file(status)) {
        return result;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return result;
    }
    std::string bytes;
    bytes.resize(ec ? 4096 : static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    while (in) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) {
                result.status = FileReadStatus::TooLarge;
                return result;
            }
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        in.read(bytes.data() + filled, static_cast<std::streamsize>(bytes.size() - filled));
        filled += static_cast<std::size_t>(in.gcount());
    }
    if (in.bad()) {
        return result;
    }
    if (filled > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    bytes.resize(filled);
    result.status = FileReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const fs::path target = ResolveLink(path);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (fs::exists(old) && !fs::is_regular_file(old)) {
        return false;
    }
    fs::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 8 && file == nullptr; ++attempt) {
        temp = target.parent_path() / ("." + target.filename().string() + ".tmp-" + UniqueSuffix());
        // "x": never open a file that is already there.
        file = std::fopen(temp.c_str(), "wbx");
    }
    if (file == nullptr) {
        return false;
    }
    const bool written = WriteAll(file, bytes);
    if (std::fclose(file) != 0 || !written) {
        fs::remove(temp, ec);
        return false;
    }
    if (fs::exists(old)) {
        fs::permissions(temp, old.permissions(), ec);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool AppendToFile(const std::string& path, std::string_view bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        return false;
    }
    const bool written = WriteAll(file, bytes);
    return std::fclose(file) == 0 && written;
}
