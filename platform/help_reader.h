#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/program_location.h"

// The help reader program's file name, beside the program file (the build target of the same name).
inline constexpr char kHelpReaderProgramName[] = "chronel-help-reader";

// Objects of a compiled help file by their paths ("/overview.htm").
using ChmObjects = std::map<std::string, std::string>;

// Bounds on one reading; a reader that passes one has failed.
struct HelpReaderLimits {
    std::chrono::milliseconds timeout{3000};   // wall clock, from the start until the reader has ended
    std::size_t maxOutputBytes = 32u << 20;
    std::uint64_t maxAddressSpaceBytes = 256u << 20;
    unsigned cpuSeconds = 1;
};

// Reads a compiled help file in a short-lived process of the help reader program, so that a damaged file,
// which can crash chmlib or make it allocate gigabytes, ends only that process. The reader runs with the
// limits above, no core dump and no file descriptors but /dev/null and the pipe we read; it is killed and
// reaped when it runs over its time or output.
class HelpReader {
public:
    // `program` must be an absolute path: a reader is never looked up in PATH or the current folder.
    explicit HelpReader(std::string program, HelpReaderLimits limits = {})
        : m_program(std::move(program)),
          m_limits(limits)
    {
    }

    // The reader beside the program file; one that reads nothing when the program's folder is unknown.
    static HelpReader BesideProgram(const ProgramLocation& location);

    // The objects at `objectPaths` that the file holds, or every ordinary object (topic pages, stylesheets,
    // images) when the list is empty. Empty when the file could not be read: not a help file, damaged,
    // not a regular file, or the reader missing, crashed or over a limit. Returns within the timeout plus
    // the moment it takes to reap a killed reader; safe to call from any thread.
    std::optional<ChmObjects> Read(const std::string& chmPath, const std::vector<std::string>& objectPaths = {}) const;

private:
    std::string m_program;
    HelpReaderLimits m_limits;
};

// Bounds on a help topic that the help window lays out: layout runs on the window's thread, and each level
// of tables nested in a cell multiplies its cost. The program's own largest topic is 20 KB, tables one deep.
inline constexpr std::size_t kMaxHelpPageBytes = 256u << 10;
inline constexpr int kMaxHelpTableDepth = 2;
inline constexpr int kMaxHelpTableCells = 2000;
// Qt makes every cell of a table's grid, rows times columns, empty ones too: the sum over tables of rows
// times cells (spans included) bounds it also when rows are uneven.
inline constexpr long long kMaxHelpTableGrid = 1 << 16;

// False when the page passes a bound above, judged from its bytes without parsing them. Tags are read as
// Qt's rich-text parser reads them (spaces after '<', quoted names, comments, quoted attribute values), and
// the count errs one way only: a table or cell counts wherever one may start, a table's end only where the
// parser surely sees it, so the page never holds more nesting or cells than counted.
bool HelpPageFitsLayout(std::string_view page);

// The reader writes one record per object to its standard output: the path's length as a uint32, the
// content's length as a uint64 (both in this machine's byte order), the path, the content.
inline void AppendHelpReaderRecord(std::string& out, std::string_view path, std::string_view content)
{
    const auto pathLength = static_cast<std::uint32_t>(path.size());
    const auto contentLength = static_cast<std::uint64_t>(content.size());
    out.append(reinterpret_cast<const char*>(&pathLength), sizeof pathLength);
    out.append(reinterpret_cast<const char*>(&contentLength), sizeof contentLength);
    out.append(path);
    out.append(content);
}
