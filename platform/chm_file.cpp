#include "platform/chm_file.h"

#include <chm_lib.h>

#include <memory>

namespace {

// A help file larger than this is not a help file of ours; refuse it rather than allocate.
constexpr LONGUINT64 kMaxObjectSize = 16u * 1024u * 1024u;

struct ChmCloser {
    void operator()(chmFile* file) const { chm_close(file); }
};

}  // namespace

std::optional<std::string> ReadChmObject(const std::string& chmPath, const std::string& objectPath)
{
    const std::unique_ptr<chmFile, ChmCloser> file(chm_open(chmPath.c_str()));
    if (!file) {
        return std::nullopt;
    }
    chmUnitInfo info{};
    if (chm_resolve_object(file.get(), objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS ||
        info.length > kMaxObjectSize) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(info.length), '\0');
    const LONGINT64 read = chm_retrieve_object(file.get(), &info, reinterpret_cast<unsigned char*>(content.data()),
                                               0, static_cast<LONGINT64>(info.length));
    if (read < 0 || static_cast<LONGUINT64>(read) != info.length) {
        return std::nullopt;
    }
    return content;
}
