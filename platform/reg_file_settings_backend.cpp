#include "platform/reg_file_settings_backend.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/durable_file.h"
#include "platform/system_clock.h"
#include "platform/xdg_paths.h"

namespace {

bool IsName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// A name beside `path` that nothing holds yet: <path>.damaged-<yyyymmdd>-<hhmmss>, then -2, -3, ...
// Empty when none is free. Called under the folder's lock, so no other copy takes the name meanwhile.
std::string FreeDamagedName(const std::string& path, const SystemTime& now)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, ".damaged-%04u%02u%02u-%02u%02u%02u", unsigned{now.year}, unsigned{now.month},
                  unsigned{now.day}, unsigned{now.hour}, unsigned{now.minute}, unsigned{now.second});
    const std::string base = path + stamp;
    for (int n = 1; n <= 1000; ++n) {
        std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat status {};
        if (lstat(name.c_str(), &status) != 0 && errno == ENOENT) {
            return name;
        }
    }
    return {};
}

// A file whose owner may not write it: the user's way of saying "leave it alone", which a writability
// test would not show for root.
bool IsReadOnlyFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

}   // namespace

RegFileSettingsBackend::RegFileSettingsBackend(std::string configHome, std::string keyName, std::string applicationName,
                                               const Clock* clock)
    : m_clock(clock)
{
    if (configHome.empty() || !IsName(keyName) || !IsName(applicationName)) {
        return;
    }
    m_folder = configHome + "/" + keyName;
    m_path = m_folder + "/" + applicationName + ".reg";
    m_keyPath = "HKEY_CURRENT_USER\\Software\\" + keyName + "\\" + applicationName;
    m_lock = std::make_shared<SettingsLock>(m_folder + "/" + applicationName + ".lock");
}

RegFileSettingsBackend RegFileSettingsBackend::ForCurrentUser(std::string keyName, std::string applicationName,
                                                              const Clock* clock)
{
    return RegFileSettingsBackend(XdgConfigHome(), std::move(keyName), std::move(applicationName), clock);
}

void RegFileSettingsBackend::Load(const FileStamp& stamp)
{
    FileReadResult file = ReadFileLimited(m_path, kMaxFileBytes);
    m_stamp = stamp;
    if (file.status == FileReadStatus::Ok && (m_state == FileState::Valid || m_state == FileState::Damaged) &&
        file.bytes == m_bytes) {
        return;   // a new stamp, the same content: nothing to parse
    }
    m_bytes.clear();
    m_document = RegDocument();
    switch (file.status) {
    case FileReadStatus::Missing:
        m_state = FileState::Missing;
        break;
    case FileReadStatus::TooLarge:
    case FileReadStatus::Unreadable:
        m_state = FileState::Unreadable;
        break;
    case FileReadStatus::Ok: {
        RegFileContent content = ParseRegFile(file.bytes);
        m_document = std::move(content.document);
        m_bytes = std::move(file.bytes);
        m_state = content.complete ? FileState::Valid : FileState::Damaged;
        break;
    }
    }
}

void RegFileSettingsBackend::Refresh()
{
    const FileStamp stamp = StampOfFile(m_path);
    if (m_state != FileState::Unknown && stamp == m_stamp) {
        return;
    }
    Load(stamp);
    // As a registry key, the file comes into being at the first read of a fresh profile; a damaged one
    // is repaired at once, so the user hears of it while the values are still fresh in mind.
    if (m_state != FileState::Valid && !m_holding) {
        WriteFileOrReport();
    }
}

void RegFileSettingsBackend::WriteHeld()
{
    m_holding = false;
    if (m_path.empty()) {
        return;
    }
    Refresh();
    if (m_state != FileState::Valid || !m_unsaved.Keys().empty()) {
        WriteFileOrReport();
    }
}

void RegFileSettingsBackend::WriteFileOrReport()
{
    switch (WriteFile()) {
    case WriteResult::Written:
    case WriteResult::Busy:
        break;
    case WriteResult::Failed:
        Report(SettingsProblem::Kind::NotSaved, m_path);
        break;
    case WriteResult::ReadOnly:
        Report(SettingsProblem::Kind::ReadOnly, m_path);
        break;
    }
}

bool RegFileSettingsBackend::KeepAside()
{
    if (m_state == FileState::Damaged && m_keptAside == m_stamp) {
        return true;   // copied already; only the rewrite failed last time
    }
    if (m_stamp.type != S_IFREG) {
        return false;   // a folder or a device in the file's place is not ours to move
    }
    const SystemTime now = m_clock != nullptr ? m_clock->Now() : SystemClock().Now();
    const std::string name = FreeDamagedName(m_path, now);
    if (name.empty()) {
        return false;
    }
    // A readable file is copied, so a link to it stays a link; one that cannot be read (or is too large
    // to read) is moved aside whole, which needs no reading.
    if (m_state == FileState::Damaged) {
        if (!ReplaceFileContents(name, m_bytes, {LinkHandling::ReplaceTarget, 0600})) {
            return false;
        }
        m_keptAside = m_stamp;
    } else if (std::rename(m_path.c_str(), name.c_str()) != 0) {
        return false;
    }
    Report(SettingsProblem::Kind::KeptAside, name);
    return true;
}

RegFileSettingsBackend::WriteResult RegFileSettingsBackend::WriteFile()
{
    if (!MakeFolders(m_folder, 0700)) {
        return WriteResult::Failed;
    }
    const SettingsLockHold lock(m_lock.get());
    if (lock.Result() != LockResult::Taken) {
        return lock.Result() == LockResult::Busy ? WriteResult::Busy : WriteResult::Failed;
    }
    // Another copy may have written since the last read: under the lock the file is read again (stamps
    // alone could miss a same-sized rewrite within one clock tick), but parsed only when it changed.
    Load(StampOfFile(m_path));
    if (m_state != FileState::Missing && IsReadOnlyFile(m_path)) {
        return WriteResult::ReadOnly;
    }
    if ((m_state == FileState::Damaged || m_state == FileState::Unreadable) && !KeepAside()) {
        return WriteResult::Failed;
    }
    RegDocument next = m_document;
    bool changed = next.AddKey(m_keyPath) || m_state != FileState::Valid;
    if (!m_unsaved.Keys().empty()) {
        for (const RegEntry& entry : m_unsaved.Keys().front().values) {
            changed = next.Set(m_keyPath, entry.name, entry.value) || changed;
        }
    }
    if (changed) {
        std::string text = FormatRegFile(next);
        if (text.size() > kMaxFileBytes || !ReplaceFileContents(m_path, text, {LinkHandling::ReplaceTarget, 0600})) {
            return WriteResult::Failed;
        }
        m_document = std::move(next);
        m_bytes = std::move(text);
        m_state = FileState::Valid;
        m_stamp = StampOfFile(m_path);
    }
    m_unsaved = RegDocument();
    return WriteResult::Written;
}

void RegFileSettingsBackend::Report(SettingsProblem::Kind kind, const std::string& path)
{
    bool& reported = m_reported[static_cast<int>(kind)];
    if (reported) {
        return;
    }
    reported = true;
    m_problems.push_back({kind, path});
    if (m_listener) {
        m_listener();
    }
}

std::vector<SettingsProblem> RegFileSettingsBackend::TakeProblems()
{
    return std::exchange(m_problems, {});
}

std::optional<RegValue> RegFileSettingsBackend::QueryValue(std::string_view name)
{
    if (m_path.empty()) {
        return std::nullopt;
    }
    if (const RegValue* unsaved = m_unsaved.Find(m_keyPath, name)) {
        return *unsaved;
    }
    Refresh();
    const RegValue* value = m_document.Find(m_keyPath, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    m_seen.Set(m_keyPath, name, *value);
    return *value;
}

bool RegFileSettingsBackend::SetValue(std::string_view name, const RegValue& value)
{
    if (m_path.empty()) {
        return false;
    }
    // Pages store every value they show, changed or not. One this copy did not change is not written:
    // another copy may have changed it in the file meanwhile, and that change must stand.
    if (!m_seen.Set(m_keyPath, name, value)) {
        return true;
    }
    if (m_unsaved.Keys().empty()) {
        // A value the file holds already needs no lock and no write.
        Refresh();
        const RegValue* stored = m_document.Find(m_keyPath, name);
        if (m_state == FileState::Valid && stored != nullptr && *stored == value) {
            return true;
        }
    }
    m_unsaved.Set(m_keyPath, name, value);
    if (!m_holding) {
        WriteFileOrReport();
    }
    return true;
}
