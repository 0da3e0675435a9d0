#pragma once

#include <sys/types.h>

#include <cstddef>

// The system calls of the durable writer whose order keeps a file whole through a crash or power cut: the
// temporary file's creation, its bytes and mode, its flush to the disk, the rename over the name and the
// folder's flush. The base class makes the real calls; a test derives from it to record them.
class WriterCalls {
public:
    virtual ~WriterCalls() = default;
    virtual int OpenAt(int folder, const char* name, int flags, mode_t mode) const;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
    virtual int ChangeMode(int fd, mode_t mode) const;
    virtual int SyncFile(int fd) const;
    virtual int RenameAt(int fromFolder, const char* from, int toFolder, const char* to) const;
    // Flushes the folder's entries (the rename) to the disk: fsync of the folder opened anew.
    virtual int SyncFolder(int folder) const;
};

// The calls the writer makes, the real ones unless a test put others in their place.
const WriterCalls& CurrentWriterCalls();
// For tests: the writer makes `calls` (nullptr: the real ones) from now on; returns those in use before.
const WriterCalls* UseWriterCalls(const WriterCalls* calls);
