#include "helpreader/chm_file.h"

#include <sys/stat.h>

#include <chm_lib.h>

namespace {

// An object larger than this is not part of a help file of ours; refuse it rather than allocate.
constexpr LONGUINT64 kMaxObjectSize = 16u * 1024u * 1024u;

int CollectPath(chmFile*, chmUnitInfo* info, void* context)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
    return CHM_ENUMERATOR_CONTINUE;
}

}   // namespace

void ChmFile::Closer::operator()(chmFile* file) const
{
    chm_close(file);
}

std::optional<ChmFile> ChmFile::Open(const std::string& path)
{
    // A FIFO or a device would block chmlib's open or read: only a regular file is worth trying.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    chmFile* file = chm_open(path.c_str());
    if (file == nullptr) {
        return std::nullopt;
    }
    return ChmFile(file);
}

bool ChmFile::Contains(const std::string& objectPath) const
{
    chmUnitInfo info{};
    return chm_resolve_object(m_file.get(), objectPath.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::Read(const std::string& objectPath) const
{
    chmUnitInfo info{};
    if (chm_resolve_object(m_file.get(), objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS ||
        info.length > kMaxObjectSize) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(info.length), '\0');
    if (content.empty()) {
        return content;
    }
    const LONGINT64 read = chm_retrieve_object(m_file.get(), &info, reinterpret_cast<unsigned char*>(content.data()), 0,
                                               static_cast<LONGINT64>(info.length));
    if (read < 0 || static_cast<LONGUINT64>(read) != info.length) {
        return std::nullopt;
    }
    return content;
}

std::vector<std::string> ChmFile::ObjectPaths() const
{
    std::vector<std::string> paths;
    chm_enumerate(m_file.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPath, &paths);
    return paths;
}

std::optional<std::string> ReadChmObject(const std::string& chmPath, const std::string& objectPath)
{
    const std::optional<ChmFile> file = ChmFile::Open(chmPath);
    return file ? file->Read(objectPath) : std::nullopt;
}
