#include "core/program_location.h"

std::string ProgramFolder(const ProgramLocation& location)
{
    const std::string path = location.ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string OwnFilesFolder(const ProgramLocation& location)
{
    std::string user = location.UserDataFolder();
    if (user.empty() || location.CanWriteProgramFolder()) {
        return ProgramFolder(location);
    }
    return user;
}
