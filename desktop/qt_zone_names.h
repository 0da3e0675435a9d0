#pragma once

#include <optional>
#include <string>

#include "platform/system_zone_source.h"

// The long names of Qt's zone data in the default locale; empty when Qt does not know the id or has only
// abbreviations.
std::optional<ZoneNames> QtZoneNames(const std::string& zoneId);
