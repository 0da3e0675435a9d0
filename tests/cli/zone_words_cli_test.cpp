// `info` for zones whose daylight saving the zone record cannot hold: their rules in words and their real
// next changes, at the wall time before each change.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"

namespace {

TEST(ZoneWordsCli, InfoGivesRulesInWordsAndTheRealNextChanges)
{
    const CliRunner cli;
    const std::pair<const char*, const char*> cases[] = {
        {"IST-2IDT,M3.4.4/26,M10.5.0",
         R"(["02:00, the Friday after the fourth Thursday of March","2026-03-27T02:00:00","2026-10-25T02:00:00"])"},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
         R"(["23:00, the Saturday before the last Sunday of March","2026-03-28T23:00:00","2026-10-25T00:00:00"])"},
    };
    for (const auto& [tz, expected] : cases) {
        const CliRun run = cli.Run({"info", "2026-03-01", "--tz", tz, "--format", "json"});
        EXPECT_EQ(cli.Jq(run.out, "[.dstBegins, .nextDstBegin, .nextDstEnd]"), std::string(expected) + "\n") << tz;
    }
}

}   // namespace
