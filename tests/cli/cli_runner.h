#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_zone_source.h"
#include "fakes/temp_folder.h"

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

    // Runs it with `args`, `input` on its stdin; `extraEnv` ("NAME=value") adds to the environment.
    CliRun Run(const std::vector<std::string>& args, std::string_view input = {},
               const std::vector<std::string>& extraEnv = {}) const
    {
        WriteFileBytes(m_folder / "in", input);
        const int in = ::open((m_folder / "in").c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open((m_folder / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = ::open((m_folder / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        CliRun run = Wait(Start(args, in, out, err, extraEnv));
        for (const int fd : {in, out, err}) {
            ::close(fd);
        }
        run.out = ReadFileBytes(m_folder / "out");
        run.err = ReadFileBytes(m_folder / "err");
        return run;
    }

    // Starts it with the given descriptors as stdin, stdout and stderr; -1 when it could not start.
    pid_t Start(const std::vector<std::string>& args, int in, int out, int err,
                const std::vector<std::string>& extraEnv = {}) const
    {
        std::vector<std::string> env = {"LC_ALL=C", "TZ=Europe/Berlin", "TZDIR=" + TestZoneFolder().Root().string(),
                                        "HOME=" + m_folder.Path().string(), "XDG_DATA_HOME=" + (m_folder / "data")};
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
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
        posix_spawn_file_actions_adddup2(&actions, in, 0);
        posix_spawn_file_actions_adddup2(&actions, out, 1);
        posix_spawn_file_actions_adddup2(&actions, err, 2);
        pid_t pid = -1;
        if (posix_spawn(&pid, CHRONEL_CLI_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // Waits for a started run; its peak memory is its own, not that of earlier children.
    static CliRun Wait(pid_t pid)
    {
        CliRun run;
        int status = 0;
        rusage usage{};
        if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
            run.status = WEXITSTATUS(status);
            run.peakKilobytes = usage.ru_maxrss;
        }
        return run;
    }

private:
    TempFolder m_folder;
};
