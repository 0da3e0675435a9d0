#include "platform/proc_program_location.h"

#include <unistd.h>

#include <vector>

#include "platform/xdg_paths.h"

ProcProgramLocation::ProcProgramLocation()
{
    if (const std::string data = XdgDataHome(); !data.empty()) {
        m_userFolder = data + "/Orvane/Chronel/";
    }
    // readlink does not say how long the name is: grow the buffer until it fits.
    std::vector<char> buffer(256);
    while (buffer.size() <= 65536) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            m_path.assign(buffer.data(), static_cast<std::size_t>(length));
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool ProcProgramLocation::CanWriteProgramFolder() const
{
    const std::string folder = ProgramFolder(*this);
    return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}
