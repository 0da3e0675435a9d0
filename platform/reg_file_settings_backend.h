#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/file_access.h"
#include "platform/durable_file.h"
#include "settings/reg_file.h"
#include "settings/settings_backend.h"

// Something the user must be told about the settings file.
struct SettingsProblem {
    enum class Kind {
        KeptAside,   // the file held something that could not be read; `path` is the copy kept of it
        NotSaved,    // the file cannot be written; `path` is the settings file
        ReadOnly,    // the user took the file's write permission away; `path` is the settings file
    };
    Kind kind;
    std::string path;
};

// The settings key kept as a REGEDIT4 text file, <config home>/<key name>/<application name>.reg, holding
// the key HKEY_CURRENT_USER\Software\<key name>\<application name>.
//
// The file is parsed once and again only when its inode, size or modification time changes, so a change
// made by another running copy or an editor shows at the next read; a write updates the parsed copy
// without reading the file back. Writers take the program's lock (<key folder>/<application name>.lock,
// see SettingsLock), re-read the file under it, and replace it durably (temporary file, fsync, rename),
// so concurrent copies never lose each other's values and a crash leaves the previous file whole. A
// write refused because the lock stayed busy keeps its values in memory, like one to an unwritable file,
// for the next write that gets the lock (not reported: the file itself is fine, and WriteHeld at exit
// tries once more). Only values this copy changed are written: a value equal to what this copy last
// read or wrote is left as the file has it, so that another copy's change of it stands (one this copy
// found missing counts as changed).
//
// A file that cannot be read whole (a damaged line, no REGEDIT4 signature, unreadable, over
// kMaxFileBytes) gives the values that can be read; before it is rewritten it is kept aside as
// "<file>.damaged-<yyyymmdd>-<hhmmss>[-<n>]", and it is rewritten at once. When the file cannot be
// written, written values live in memory for the session (reads give them back) and are stored with the
// next write that succeeds. A file without its owner's write permission is never replaced, damaged or
// not (even by root, whom the permission does not stop): its values live in memory likewise. Each kind of
// problem is reported once per session. A file in another encoding (UTF-16, CR line ends) is rewritten
// as UTF-8 with LF line ends.
class RegFileSettingsBackend final : public SettingsBackend {
public:
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    // Opens nothing when any of the three is empty or a name holds '/'. `clock` dates the names of
    // kept-aside files; null is the system's clock.
    RegFileSettingsBackend(std::string configHome, std::string keyName, std::string applicationName,
                           const Clock* clock = nullptr);
    // In the user's configuration folder ($XDG_CONFIG_HOME or ~/.config).
    static RegFileSettingsBackend ForCurrentUser(std::string keyName, std::string applicationName,
                                                 const Clock* clock = nullptr);

    std::optional<RegValue> QueryValue(std::string_view name) override;
    // True also when the value could only be kept in memory (reported as NotSaved).
    bool SetValue(std::string_view name, const RegValue& value) override;

    // Until WriteHeld, written values are kept in memory (reads give them back) and the file is neither
    // made nor rewritten: a start-up that stores many values, each its default on a fresh profile, then
    // writes them all at once.
    void HoldWrites() { m_holding = true; }
    // Writes the held values and those kept in memory, and the file when it is missing or damaged, in one
    // durable write.
    void WriteHeld();

    // The program's lock, shared with the other writers of this process (the log-on entry).
    const std::shared_ptr<SettingsLock>& Lock() const { return m_lock; }

    // Empty when the backend opens nothing.
    const std::string& FilePath() const { return m_path; }

    // The problems met since the last call, oldest first; each kind comes at most once per session.
    std::vector<SettingsProblem> TakeProblems();
    // Called right after a problem is recorded, from inside the read or write that met it.
    void SetProblemListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    enum class FileState { Unknown, Missing, Valid, Damaged, Unreadable };
    enum class WriteResult { Written, Failed, Busy, ReadOnly };

    // Takes the file's content as the state; `stamp` was taken before it was read.
    void Load(const FileStamp& stamp);
    // Re-reads the file when it changed, and writes it when it is missing or damaged.
    void Refresh();
    // Under the program's lock: brings the parsed copy up to the file, keeps a damaged file aside, and
    // writes the unsaved values (and the key, when the file lacks it).
    WriteResult WriteFile();
    // WriteFile, reporting why the file was not written.
    void WriteFileOrReport();
    bool KeepAside();
    void Report(SettingsProblem::Kind kind, const std::string& path);

    const Clock* m_clock;
    std::string m_folder;
    std::string m_path;
    std::string m_keyPath;

    FileState m_state = FileState::Unknown;
    FileStamp m_stamp;        // of the content below
    std::string m_bytes;      // the file's content while Valid or Damaged
    RegDocument m_document;   // what could be read of it
    FileStamp m_keptAside;    // the damaged content last copied aside, so it is copied once
    RegDocument m_unsaved;    // values written this session that the file has not taken yet
    RegDocument m_seen;       // what this copy last read or wrote of each value
    std::shared_ptr<SettingsLock> m_lock;

    bool m_holding = false;

    std::vector<SettingsProblem> m_problems;
    bool m_reported[3] = {false, false, false};
    std::function<void()> m_listener;
};
