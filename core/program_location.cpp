#include "core/program_location.h"

std::string ProgramFolder(const ProgramLocation& location)
{
    const std::string path = location.ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
