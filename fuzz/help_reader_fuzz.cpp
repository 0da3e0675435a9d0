// The help file as the fuzzer makes it, read through the help reader process as the help window reads it.
// The reader may crash, loop or flood its output: that is damage contained. This side must always come
// back with an answer and leave no process and no descriptor behind.
//
// The reader is $CHRONEL_HELP_READER, or the one built beside chronel, a folder above this program.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/help_reader.h"
#include "platform/proc_program_location.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::string ReaderProgram()
{
    if (const char* chosen = std::getenv("CHRONEL_HELP_READER")) {
        return chosen;
    }
    return ProgramFolder(ProcProgramLocation()) + "../" + kHelpReaderProgramName;
}

// The input file, in a folder of its own that only this user can enter, so no one can plant a link there.
class InputFile {
public:
    InputFile()
    {
        std::string folder = (std::filesystem::temp_directory_path() / "chronel-help-fuzz-XXXXXX").string();
        Check(mkdtemp(folder.data()) != nullptr);
        m_folder = folder;
        m_path = folder + "/help.chm";
    }
    ~InputFile()
    {
        unlink(m_path.c_str());
        rmdir(m_folder.c_str());
    }

    const std::string& Write(const std::uint8_t* data, std::size_t size) const
    {
        const int fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
        Check(fd >= 0);
        Check(write(fd, data, size) == static_cast<ssize_t>(size));
        close(fd);
        return m_path;
    }

private:
    std::string m_folder;
    std::string m_path;
};

// Readers this process started that are still there, running or unreaped. Not waitpid(-1): the sanitizers
// keep a symbolizer process of their own.
int ReadersLeft()
{
    const std::string self = std::to_string(getpid());
    int left = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // "pid (name) state ppid ...", the name cut to 15 characters.
        const std::size_t nameEnd = line.rfind(')');
        if (nameEnd == std::string::npos || line.find("(chronel-help-re)") == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(nameEnd + 1));
        std::string state, parent;
        rest >> state >> parent;
        left += parent == self ? 1 : 0;
    }
    return left;
}

// The lowest free descriptor: it grows when a reading leaks one.
int LowestFreeFd()
{
    const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    close(fd);
    return fd;
}

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (access(ReaderProgram().c_str(), X_OK) != 0) {
        std::fprintf(stderr, "no help reader at %s; set CHRONEL_HELP_READER\n", ReaderProgram().c_str());
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const InputFile input;
    static const HelpReader reader(ReaderProgram());
    const std::string& path = input.Write(data, size);
    // Compared within the call: between calls the sanitizers open pipes to their symbolizer.
    const int lowestFreeFd = LowestFreeFd();
    // A reading costs a process: one per input, every object (as the help window reads) or two named ones.
    const std::optional<ChmObjects> objects =
        size % 2 == 0 ? reader.Read(path) : reader.Read(path, {"/first.htm", "/second.htm"});
    std::size_t bytes = 0;
    for (const auto& [objectPath, content] : objects.value_or(ChmObjects())) {
        bytes += objectPath.size() + content.size();
    }
    Check(bytes <= HelpReaderLimits().maxOutputBytes);
    Check(ReadersLeft() == 0);
    Check(LowestFreeFd() == lowestFreeFd);
    return 0;
}
