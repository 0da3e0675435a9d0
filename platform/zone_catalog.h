#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "info/zone_directory.h"
#include "info/zone_model.h"

// Which zones the program takes: a Zone or Link name that tzdata.zi of the zone folder lists, or a TZ
// string. A name is never opened as a path it was not listed under.

// TZDIR when set and not empty, else /usr/share/zoneinfo.
std::string ZoneFolder();

// Whether tzdata.zi of the zone folder lists `name` as a Zone or a Link. The file is read once per
// process (again only when TZDIR names another folder). Never true for a name that could lead out of the
// folder ("..", ".", an empty part, a leading '/') or when tzdata.zi cannot be read.
bool IsListedZoneName(std::string_view name);

// The zone of `--tz ZONE`: a listed name (its zone file), else a TZ string. Empty for anything else, with
// `problem` set to one line that says why ("'Mars/Olympus' names no time zone: give a name of ...").
std::optional<ZoneModel> LoadNamedZone(std::string_view zone, std::string& problem);

// The zone of the TZ variable, in every form the C library reads: unset (nullptr) or ":" the file
// /etc/localtime (UTC where that is missing or holds no zone, as the C library reads it), empty UTC,
// "/path" or ":/path" that zone file, "NAME" or ":NAME" a listed name, else a TZ string (a leading ':'
// dropped). Empty for anything else, with `problem` set to one line. Never blocks on a FIFO; a file over
// a few MiB is no zone file.
std::optional<ZoneModel> LoadTzVariable(const char* tz, std::string& problem);

// The places of zone.tab and iso3166.tab of the zone folder (regular files of at most 1 MiB, never a FIFO),
// then UTC; just UTC when zone.tab cannot be read. Read once per process.
const std::vector<ZonePlace>& ZonePlaces();

// The name of the computer's zone as the TZ variable (`tz`, nullptr when unset) or /etc/localtime's link
// into the zone folder gives it, when tzdata.zi lists it; empty otherwise (a TZ string, a copied file):
// the window then calls it by its offset, "This computer (UTC+01:00)".
std::string ComputerZoneName(const char* tz);
