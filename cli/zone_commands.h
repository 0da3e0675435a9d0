#pragma once

#include <span>
#include <string_view>

#include "cli/cli_session.h"

// zones [SEARCH]: the places of the zone folder that match, with their offsets now.
void ListZonePlaces(CliSession& session);

// convert MOMENT: the instant, read in the answer zone, on the clocks of that zone and of each --to zone.
void AnswerConversion(CliSession& session, std::span<const std::string_view> texts);
