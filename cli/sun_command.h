#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "cli/cli_session.h"
#include "info/sun.h"

// Where sun looks from: --at's place, else the zone.tab place of --tz's zone (the computer's zone without
// --tz). Empty, with the problem refused, when --at cannot be read or the zone has no place (UTC, a TZ
// string).
std::optional<GeoPoint> ReadSunPlace(CliSession& session);

// sun MOMENT: the sun over MOMENT's local day in the answer zone at the session's place, and where it stands
// at MOMENT.
void AnswerSunDay(CliSession& session, std::span<const std::string_view> texts);
