#include "core/writer_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/file_descriptor.h"

namespace {

const WriterCalls kRealCalls;
const WriterCalls* g_calls = &kRealCalls;

}   // namespace

int WriterCalls::OpenAt(int folder, const char* name, int flags, mode_t mode) const
{
    return ::openat(folder, name, flags, mode);
}

ssize_t WriterCalls::Write(int fd, const void* data, std::size_t size) const
{
    return ::write(fd, data, size);
}

int WriterCalls::ChangeMode(int fd, mode_t mode) const
{
    return ::fchmod(fd, mode);
}

int WriterCalls::SyncFile(int fd) const
{
    return ::fsync(fd);
}

int WriterCalls::RenameAt(int fromFolder, const char* from, int toFolder, const char* to) const
{
    return ::renameat(fromFolder, from, toFolder, to);
}

int WriterCalls::SyncFolder(int folder) const
{
    const FileDescriptor opened(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return opened.Valid() ? ::fsync(opened.Get()) : -1;
}

const WriterCalls& CurrentWriterCalls()
{
    return *g_calls;
}

const WriterCalls* UseWriterCalls(const WriterCalls* calls)
{
    const WriterCalls* previous = g_calls;
    g_calls = calls != nullptr ? calls : &kRealCalls;
    return previous;
}
