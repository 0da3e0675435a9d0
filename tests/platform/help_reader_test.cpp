#include "platform/help_reader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "helpreader/chm_file.h"

namespace {

const HelpReader kReader(CHRONEL_HELP_READER);

TEST(HelpReader, ReadsTheHelpFileThroughTheReaderProgram)
{
    const std::optional<ChmObjects> all = kReader.Read(CHRONEL_TEST_HELP_FILE);
    ASSERT_TRUE(all && all->count("/first.htm") == 1 && all->count("/second.htm") == 1);
    for (const auto& [name, bytes] : *all) {
        EXPECT_EQ(bytes, ReadChmObject(CHRONEL_TEST_HELP_FILE, name)) << name << ": the bytes survive the pipe";
    }
    const ChmObjects second{{"/second.htm", all->at("/second.htm")}};
    EXPECT_EQ(kReader.Read(CHRONEL_TEST_HELP_FILE, {"/second.htm", "/missing.htm"}), second)
        << "an object the file lacks is left out; the file still counts as read";

    TempFolder folder;
    std::filesystem::create_symlink(CHRONEL_HELP_READER, folder / kHelpReaderProgramName);
    EXPECT_EQ(HelpReader::BesideProgram(FakeProgramLocation(folder / "chronel")).Read(CHRONEL_TEST_HELP_FILE), all);
    EXPECT_EQ(HelpReader::BesideProgram(FakeProgramLocation("")).Read(CHRONEL_TEST_HELP_FILE), std::nullopt)
        << "no program folder: never a reader from the current folder or PATH";
}

// The structures a damage is aimed at, found by their marks rather than at fixed offsets.
std::size_t Mark(const std::string& bytes, std::string_view mark)
{
    const std::size_t at = bytes.find(mark);
    EXPECT_NE(at, std::string::npos) << "the test help file has no " << mark;
    return at == std::string::npos ? bytes.size() : at;
}

template <typename T>
std::string Put(std::string bytes, std::size_t at, T value)
{
    if (at + sizeof value <= bytes.size()) {
        std::memcpy(bytes.data() + at, &value, sizeof value);
    }
    return bytes;
}

// The first `count` bytes turned into their complement, or into random bytes when `random`.
std::string Scramble(std::string bytes, std::size_t count, bool random)
{
    std::minstd_rand numbers(7);
    for (std::size_t i = 0; i < count && i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(random ? numbers() : ~bytes[i]);
    }
    return bytes;
}

enum class Made { File, Folder, Fifo };

// Every one of them is read as no help file at all: chmlib fails, crashes or loops in the reader.
const std::tuple<const char*, Made, std::string (*)(std::string good)> kDamage[] = {
    {"empty", Made::File, [](std::string) { return std::string(); }},
    {"cut in half", Made::File, [](std::string b) { return b.substr(0, b.size() / 2); }},
    {"header bytes flipped", Made::File, [](std::string b) { return Scramble(b, 0x60, false); }},
    {"garbage", Made::File, [](std::string b) { return Scramble(b, b.size(), true); }},
    // A directory claiming chunks of 2.6 GB.
    {"huge", Made::File, [](std::string b) { return Put<std::uint32_t>(b, Mark(b, "ITSP") + 16, 2'600'000'000); }},
    // A directory chunk that is its own successor: chmlib loops until the CPU limit.
    {"own successor", Made::File, [](std::string b) { return Put<std::int32_t>(b, Mark(b, "PMGL") + 16, 0); }},
    // LZX data of another version: chmlib reads through a null pointer.
    {"LZX version", Made::File, [](std::string b) { return Put<std::uint32_t>(b, Mark(b, "LZXC") + 4, 1); }},
    // An LZX window of size zero: chmlib divides by zero.
    {"LZX window 0", Made::File, [](std::string b) { return Put<std::uint32_t>(b, Mark(b, "LZXC") + 12, 0); }},
    {"a folder", Made::Folder, nullptr},
    {"a FIFO that no one writes", Made::Fifo, nullptr},
};

TEST(HelpReader, ADamagedFileEndsOnlyTheReader)
{
    const std::string good = ReadFileBytes(CHRONEL_TEST_HELP_FILE);
    ASSERT_FALSE(good.empty());
    TempFolder folder;
    int number = 0;
    for (const auto& [why, made, damage] : kDamage) {
        SCOPED_TRACE(why);
        const std::string path = folder / ("damaged" + std::to_string(++number) + ".chm");
        if (made == Made::File) {
            WriteFileBytes(path, damage(good));
        } else if (made == Made::Folder) {
            std::filesystem::create_directory(path);
        } else {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        }
        EXPECT_EQ(kReader.Read(path), std::nullopt);
    }
}

// Stand-ins for the reader program, each breaking its side of the bargain; the record is the one the real
// reader writes for ("/a.htm", "hi") on a little-endian machine.
const std::tuple<const char*, const char*, std::optional<ChmObjects>> kFakeReaders[] = {
    // The default limits; descriptor 40 is held open, without close-on-exec, by the test.
    {"writes a record if it runs limited, on /dev/null and without our descriptors",
     R"sh([ "$(ulimit -v) $(ulimit -t) $(ulimit -c)" = "262144 1 0" ] && [ ! -e /proc/$$/fd/40 ] &&
        [ "$(readlink /proc/$$/fd/2)" = /dev/null ] && printf '\6\0\0\0\2\0\0\0\0\0\0\0/a.htmhi')sh",
     ChmObjects{{"/a.htm", "hi"}}},
    {"writes a cut record", R"(printf '\6\0\0\0\377\0\0\0\0\0\0\0/a.htmhi')", std::nullopt},
    {"writes a record, then fails", R"(printf '\6\0\0\0\2\0\0\0\0\0\0\0/a.htmhi'; exit 3)", std::nullopt},
    {"dies by a signal", "kill -SEGV $$", std::nullopt},
    {"hangs", "exec sleep 30", std::nullopt},
    {"closes its output, then hangs", "exec >&-; exec sleep 30", std::nullopt},
    {"floods its output", "exec cat /dev/zero", std::nullopt},
    // The child's pid replaces the reader's: it must end with the reader's process group.
    {"leaves a child holding its output", R"(sleep 30 & echo $! > "$0.pid"; exec sleep 30)", std::nullopt},
    {"leaves a child after a good reading", R"(sleep 30 >/dev/null & echo $! > "$0.pid")", ChmObjects()},
};

// Gone, or a zombie of another parent: a killed grandchild is reaped by whoever adopts it.
bool Ended(pid_t pid)
{
    for (int i = 0; i < 200; ++i) {
        if (kill(pid, 0) == -1 && errno == ESRCH) {
            return true;
        }
        const std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t state = stat.rfind(") ");
        if (state != std::string::npos && stat[state + 2] == 'Z' && std::atoi(stat.c_str() + state + 4) != getpid()) {
            return true;
        }
        usleep(10'000);
    }
    return false;
}

TEST(HelpReader, AReaderThatMisbehavesIsKilledAndReaped)
{
    TempFolder folder;
    const int held = open("/dev/null", O_RDONLY);
    ASSERT_EQ(dup2(held, 40), 40);
    int number = 0;
    for (const auto& [why, body, expected] : kFakeReaders) {
        SCOPED_TRACE(why);
        const std::string script = folder / ("reader" + std::to_string(++number));
        const std::string pidFile = script + ".pid";
        WriteFileBytes(script, "#!/bin/sh\necho $$ > '" + pidFile + "'\n" + body + "\n");
        ASSERT_EQ(chmod(script.c_str(), 0700), 0);

        const HelpReader reader(script, HelpReaderLimits{.timeout = std::chrono::milliseconds(500)});
        EXPECT_EQ(reader.Read(CHRONEL_TEST_HELP_FILE), expected);
        const pid_t pid = std::atoi(ReadFileBytes(pidFile).c_str());
        EXPECT_TRUE(pid > 0 && Ended(pid)) << "the reader and what it started are gone, not left a zombie";
    }
    close(40);
    close(held);
    EXPECT_EQ(HelpReader(folder / "absent").Read(CHRONEL_TEST_HELP_FILE), std::nullopt);
}

std::string Nest(int depth, const std::string& inner = "x")
{
    return depth == 0 ? inner : "<table><tr><td>" + Nest(depth - 1, inner) + "</td></tr></table>";
}

std::string Repeat(std::string_view piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// Three tables deep, the middle table's end hidden from a careless scan in the way `hide` shows.
std::string HiddenEnd(const std::string& hide)
{
    return "<table><tr><td>" + hide + Nest(2) + "</td></tr></table>";
}

const std::pair<const char*, std::string> kPages[] = {
    {"fits: tables two deep, one after another", Repeat(Nest(2), 100)},
    {"fits: ends in capitals, with spaces and a slash", Repeat("<TABLE><tr><td>" + Nest(1) + "</TABLE\n></table/>", 9)},
    {"fits: 2,000 cells and a <thead> that is none", "<table><thead>" + Repeat("<td>x<th>y", 1000) + "</table>"},
    {"fits: the largest page", std::string(kMaxHelpPageBytes, 'x')},
    {"too large: a byte more", std::string(kMaxHelpPageBytes + 1, 'x')},
    {"too large: three deep", Nest(3)},
    {"too large: 2,001 cells", "<table><tr>" + Repeat("<td>x</td>", 2000) + "<TH>y</table>"},
    {"too large: cells after spaces and quotes", "<table><tr>" + Repeat("< td>\xC2\xA0<'th'>", 1001)},
    {"fits: 150 rows of two cells", "<table>" + Repeat("<tr><td>x<td>y", 150)},
    {"too large: one wide row among many", "<table><tr>" + Repeat("<td>x", 999) + Repeat("<tr><td>y", 1000)},
    {"too large: wide spans", "<table>" + Repeat("<tr><td COLSPAN=40>x", 50)},
    {"too large: a span in quotes", "<table><tr><td rowspan=\"60000\">"},
    {"too large: a span whose name has an entity", "<table><tr><td c&#111;lspan=60000>"},
    {"too large: a span not in plain digits", "<table><tr><td colspan=+60000>"},
    {"too large: a row outside any table starts one", "<tr><td>" + Nest(2)},
    {"too large: names in capitals", "<TABLE><TR><TD><Table><tr><td><tAbLe>"},
    {"too large: spaces before the name", "<table><tr><td>< table><tr><td><\xE3\x80\x80table>"},
    {"too large: quoted names", "<\"table\"><tr><td><'table'><tr><td><table>"},
    {"too large: a name with an entity", "<table><tr><td><table><tr><td><t&#97;ble>"},
    {"too large: an end in a comment", HiddenEnd("<!-- a > b </table> -->")},
    {"too large: an end in an attribute value", HiddenEnd("<a title=\"x > </table>\">")},
    {"too large: an end after a non-ASCII space in a tag", HiddenEnd("<a\xC2\xA0title='>x</table>'>")},
    {"too large: an end in a longer name", HiddenEnd("</tables></table-></table\xC3\xA9>")},
    {"too large: an end inside an end", HiddenEnd("</td </table>")},
};

TEST(HelpPageFitsLayout, CountsNestingAndCellsAsTheParserWould)
{
    for (const auto& [why, page] : kPages) {
        SCOPED_TRACE(why);
        EXPECT_EQ(HelpPageFitsLayout(page), std::string_view(why).starts_with("fits"));
    }
}

}   // namespace
