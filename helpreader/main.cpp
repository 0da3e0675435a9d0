// The help reader: reads objects of a compiled help file with chmlib and writes them to its standard
// output as records (platform/help_reader.h). Chronel runs it in a short-lived process with tight limits,
// so that a damaged help file can end only this program.
//
//   chronel-help-reader FILE [OBJECT...]    without OBJECT: every topic page, stylesheet and image
//
// Exit status 0 when every object asked for was read or is not in the file; 1 when the file cannot be
// opened, an object it lists cannot be read, or it holds no object at all.

#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/write_all.h"
#include "helpreader/chm_file.h"
#include "platform/help_reader.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        return 1;
    }
    const std::optional<ChmFile> file = ChmFile::Open(argv[1]);
    if (!file) {
        return 1;
    }
    std::vector<std::string> paths(argv + 2, argv + argc);
    if (paths.empty()) {
        paths = file->ObjectPaths();
        // A help file without a single page is a damaged one.
        if (paths.empty()) {
            return 1;
        }
    }
    std::string record;
    for (const std::string& path : paths) {
        if (!file->Contains(path)) {
            continue;
        }
        const std::optional<std::string> content = file->Read(path);
        if (!content) {
            return 1;
        }
        record.clear();
        AppendHelpReaderRecord(record, path, *content);
        if (!WriteAll(STDOUT_FILENO, record)) {
            return 1;
        }
    }
    return 0;
}
