#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

// A compiled HTML help file read with chmlib in this process. chmlib trusts what it reads: a damaged file
// can crash the process that reads it or make it allocate gigabytes. The program therefore reads its help
// file only through the help reader process (platform/help_reader.h); this is that process's half, and it
// serves the files the build made itself.
class ChmFile {
public:
    // Empty when `path` is not a regular file or chmlib cannot open it.
    static std::optional<ChmFile> Open(const std::string& path);

    // Whether the file lists an object at `objectPath` (which starts with '/').
    bool Contains(const std::string& objectPath) const;
    // The object's bytes; empty when the file lists no such object, claims more than 16 MiB for it or
    // cannot give all of it.
    std::optional<std::string> Read(const std::string& objectPath) const;
    // The paths of the topic pages, stylesheets and images: every ordinary object, none of the file's
    // own bookkeeping ("/#SYSTEM", "::DataSpace/...") and no folders.
    std::vector<std::string> ObjectPaths() const;

private:
    struct Closer {
        void operator()(chmFile* file) const;
    };
    explicit ChmFile(chmFile* file) : m_file(file) {}

    std::unique_ptr<chmFile, Closer> m_file;
};

// One object of a help file: ChmFile::Open, then Read.
std::optional<std::string> ReadChmObject(const std::string& chmPath, const std::string& objectPath);
