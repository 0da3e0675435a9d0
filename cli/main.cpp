#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/langinfo_formatter.h"
#include "platform/proc_program_location.h"
#include "platform/system_clock.h"
#include "platform/system_zone_source.h"

int main(int argc, char** argv)
{
    // Day and month names come from LC_TIME; numbers are written the same in every locale.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const SystemClock clock;
    const LangInfoFormatter formatter;
    const ProcProgramLocation location;
    const SystemZoneSource zones;
    const CliServices services{clock, formatter, location, zones, [](const std::string& zone) {
                                   // The clock reads "now" in that zone too.
                                   if (!NamesZone(zone)) {
                                       return false;
                                   }
                                   ::setenv("TZ", zone.c_str(), 1);
                                   ::tzset();
                                   return true;
                               }};
    return RunCli(args, services, 0, 1, 2);
}
