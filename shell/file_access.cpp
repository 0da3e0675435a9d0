#include "shell/file_access.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

// Language files and templates fit; larger files take a few more reads.
constexpr std::size_t kFirstReadBytes = 64 * 1024;

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
    // Only regular files are opened: opening a pipe could block, and a device could be endless.
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return result;
    }
    result.status = FileReadStatus::Unreadable;
    if (ec || !fs::is_regular_file(status)) {
        return result;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return result;
    }
    // Unbuffered: every read goes straight into `bytes`, and no system call is spent on a buffer.
    std::setvbuf(file, nullptr, _IONBF, 0);
    // Not zero-filled: only the bytes read are ever used.
    std::size_t capacity = std::min(kFirstReadBytes, maxBytes + 1);
    std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t filled = std::fread(buffer.get(), 1, capacity, file);
    if (filled == capacity) {
        // A big file: refuse it by its size before reading on, so a huge one costs no time.
        const std::uintmax_t size = fs::file_size(path, ec);
        filled = !ec && size > maxBytes ? maxBytes + 1 : filled;
    }
    while (filled == capacity && filled <= maxBytes) {
        capacity = std::min(capacity * 2, maxBytes + 1);
        std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity);
        std::copy_n(buffer.get(), filled, larger.get());
        buffer = std::move(larger);
        const std::size_t got = std::fread(buffer.get() + filled, 1, capacity - filled, file);
        filled += got;
        if (got == 0) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (filled > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    if (failed) {
        return result;
    }
    result.bytes.assign(buffer.get(), filled);
    result.status = FileReadStatus::Ok;
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
        // Built in steps: gcc 12 at -O3 warns falsely (-Wrestrict) on the one-expression form.
        std::string name = ".";
        name += target.filename().string();
        name += ".tmp-";
        name += UniqueSuffix();
        temp = target.parent_path() / name;
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
