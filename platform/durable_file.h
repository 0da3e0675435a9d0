#pragma once

#include <sys/types.h>

#include <chrono>
#include <mutex>
#include <string>
#include <utility>

#include "core/file_access.h"
#include "core/folder_path.h"

// Folders for the program's own files (MakeFolders is in core/folder_path.h), and the one lock that
// serialises every change of them across running copies.

// Takes group and other permissions from the folder at `path` when it is a folder of the user's own;
// a link in its place is left alone, never followed. True when the folder is private afterwards.
bool MakeFolderPrivate(const std::string& path);

enum class LockResult {
    Taken,
    Busy,     // another holder kept it past the wait limit
    Failed,   // the lock file cannot be opened (a link or something else in its place, no folder)
};

// The exclusive advisory lock (flock) that all copies of the program take before they change the
// settings file or the log-on entry: one lock file, opened once with O_NOFOLLOW at mode 0600 and kept
// for the life of the object, never written, renamed or removed. Other users may be able to open that
// file (root, a shared home), so the lock is never waited for without limit: it is tried every
// kRetryInterval until the wait limit has passed. flock belongs to the open file description, so takers
// within this process are serialised here and nested takes on one thread count as one.
class SettingsLock {
public:
    static constexpr std::chrono::milliseconds kWaitLimit{1000};
    static constexpr std::chrono::milliseconds kRetryInterval{50};

    explicit SettingsLock(std::string path) : m_path(std::move(path)) {}
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    const std::string& Path() const { return m_path; }
    // Tests shorten the wait so they check the refusal, not the time.
    void SetWaitLimit(std::chrono::milliseconds limit) { m_waitLimit = limit; }

    // Each Taken needs one Release.
    LockResult Take();
    void Release();

private:
    bool Open();

    std::string m_path;
    std::chrono::milliseconds m_waitLimit = kWaitLimit;
    std::recursive_mutex m_inProcess;
    int m_fd = -1;
    int m_depth = 0;
};

// Holds a SettingsLock from construction to destruction; a null lock is never taken.
class SettingsLockHold {
public:
    explicit SettingsLockHold(SettingsLock* lock)
        : m_lock(lock),
          m_result(lock != nullptr ? lock->Take() : LockResult::Failed)
    {
    }
    ~SettingsLockHold()
    {
        if (m_result == LockResult::Taken) {
            m_lock->Release();
        }
    }
    SettingsLockHold(const SettingsLockHold&) = delete;
    SettingsLockHold& operator=(const SettingsLockHold&) = delete;

    LockResult Result() const { return m_result; }

private:
    SettingsLock* m_lock;
    LockResult m_result;
};
