#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_zone_source.h"
#include "fakes/temp_folder.h"

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// What one run of chronel-cli gave.
struct CliRun {
    int status = -1;   // the exit status; -1 when it did not exit normally
    std::string out, err;
    long peakKilobytes = 0;
};

// The built chronel-cli in an environment of its own: the C locale, the zones of tests/data/tz (TZ is
// Europe/Berlin), and home and data folders in a temporary folder, so that it never reads the machine's
// zone data or the user's files.
class CliRunner {
public:
    const TempFolder& Folder() const { return m_folder; }

    // Runs it with `args`, `input` on its stdin; `extraEnv` ("NAME=value") adds to the environment or
    // replaces a default.
    CliRun Run(const std::vector<std::string>& args, std::string_view input = {},
               const std::vector<std::string>& extraEnv = {}) const
    {
        WriteFileBytes(m_folder / "in", input);
        const int in = ::open((m_folder / "in").c_str(), O_RDONLY | O_CLOEXEC);
        CliRun run = RunWith(args, in, {}, extraEnv);
        ::close(in);
        return run;
    }

    // Runs it with the descriptor `in` as stdin (-1: stdin closed) and stdout written to `outPath` (empty: a
    // file read back into `out`); killed after `seconds` (0: never).
    CliRun RunWith(const std::vector<std::string>& args, int in, const std::string& outPath,
                   const std::vector<std::string>& extraEnv, int seconds = 0) const
    {
        const std::string outFile = outPath.empty() ? m_folder / "out" : outPath;
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = ::open((m_folder / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        CliRun run = Wait(Start(args, in, out, err, extraEnv), seconds);
        ::close(out);
        ::close(err);
        run.out = outPath.empty() ? ReadFileBytes(outFile) : std::string();
        run.err = ReadFileBytes(m_folder / "err");
        return run;
    }

    // Starts it with the given descriptors as stdin, stdout and stderr; -1 when it could not start.
    pid_t Start(const std::vector<std::string>& args, int in, int out, int err,
                const std::vector<std::string>& extraEnv = {}) const
    {
        std::vector<std::string> env = {"LC_ALL=C", "TZ=Europe/Berlin", "TZDIR=" + TestZoneFolder().Root().string(),
                                        "HOME=" + m_folder.Path().string(), "XDG_DATA_HOME=" + (m_folder / "data")};
        for (const std::string& entry : extraEnv) {
            // The C library reads the first of two entries of a name: the given one takes the default's place.
            const std::string name = entry.substr(0, entry.find('=') + 1);
            std::erase_if(env, [&name](const std::string& given) { return given.starts_with(name); });
            env.push_back(entry);
        }
        std::vector<char*> argv = {const_cast<char*>(CHRONEL_CLI_PROGRAM)}, envp;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        for (const std::string& entry : env) {
            envp.push_back(const_cast<char*>(entry.c_str()));
        }
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        in >= 0 ? posix_spawn_file_actions_adddup2(&actions, in, 0) : posix_spawn_file_actions_addclose(&actions, 0);
        posix_spawn_file_actions_adddup2(&actions, out, 1);
        posix_spawn_file_actions_adddup2(&actions, err, 2);
        pid_t pid = -1;
        if (posix_spawn(&pid, CHRONEL_CLI_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // Waits for a started run, killing it after `seconds` (0: never); its peak memory is its own, not that of
    // earlier children.
    static CliRun Wait(pid_t pid, int seconds = 0)
    {
        CliRun run;
        int status = 0;
        rusage usage{};
        pid_t ended = 0;
        for (int tick = 0; pid > 0 && ended == 0 && tick < seconds * 100; ++tick) {
            if ((ended = ::wait4(pid, &status, WNOHANG, &usage)) == 0) {
                ::usleep(10'000);
            }
        }
        if (pid > 0 && ended == 0) {
            if (seconds > 0) {
                ::kill(pid, SIGKILL);
            }
            ended = ::wait4(pid, &status, 0, &usage);
        }
        if (pid > 0 && ended == pid && WIFEXITED(status)) {
            run.status = WEXITSTATUS(status);
            run.peakKilobytes = usage.ru_maxrss;
        }
        return run;
    }

    // NAME.lng in the user's data folder, where --language NAME finds it.
    void WriteLanguage(const std::string& name, std::string_view text) const
    {
        std::filesystem::create_directories(m_folder / "data/Orvane/Chronel");
        WriteFileBytes(m_folder / ("data/Orvane/Chronel/" + name + ".lng"), text);
    }

    // What jq's `filter` gives for `json` (one value per line, compact), or "jq failed" when jq cannot parse
    // it or the filter's last value is false or null.
    std::string Jq(std::string_view json, std::string_view filter) const
    {
        WriteFileBytes(m_folder / "jq.json", json);
        WriteFileBytes(m_folder / "jq.filter", filter);
        const std::string command =
            "jq -e -c -f '" + (m_folder / "jq.filter") + "' '" + (m_folder / "jq.json") + "' 2>/dev/null";
        std::string out;
        FILE* pipe = ::popen(command.c_str(), "r");
        for (char block[4096]; pipe != nullptr && !std::feof(pipe);) {
            out.append(block, std::fread(block, 1, sizeof block, pipe));
        }
        return pipe != nullptr && ::pclose(pipe) == 0 ? out : "jq failed";
    }

private:
    TempFolder m_folder;
};
