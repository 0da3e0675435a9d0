#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date_time.h"
#include "info/posix_tz.h"
#include "info/zone_rules.h"
#include "info/zone_source.h"

// A zone read whole: every transition of a TZif file (RFC 8536) and the TZ string that carries it on, or
// a TZ string alone. Converts between instants and wall times without the C library and without
// allocating, so that a batch of millions of conversions costs what its arithmetic costs.
class ZoneModel {
public:
    // What the zone's clocks show at an instant.
    struct LocalTime {
        std::int32_t offsetSeconds;      // east of UTC
        bool isDst;                      // the file's (or TZ string's) daylight flag
        std::string_view abbreviation;   // valid as long as the model
        // In the zone's summer time: the daylight flag with negative daylight saving turned round, as the
        // zone record reads it (Dublin's IST summer, its winter GMT not; Casablanca's +01 between Ramadans).
        bool isSummer;
    };

    // The 64-bit block of a version 2+ file, else the 32-bit one; the footer TZ string for instants from
    // the last transition on, as the C library reads it. Empty when `bytes` is not a TZif file, is cut
    // short, or holds a type index, abbreviation index or offset out of range, or unsorted transitions.
    static std::optional<ZoneModel> FromTzif(std::string_view bytes);
    // A zone given only by a TZ string ("CET-1CEST,M3.5.0,M10.5.0/3"); every change form the C library
    // reads (Mm.w.d, Jn, n, change times beyond 0..24 h, negative daylight saving). A daylight name without
    // change dates takes the C library's default rules (M3.2.0,M11.1.0). Empty when ParsePosixTz refuses it.
    static std::optional<ZoneModel> FromTzString(std::string_view posixTz);

    LocalTime At(std::int64_t unixSeconds) const;
    // The instant of a wall time (seconds from 1970-01-01T00:00:00 on the zone's clocks). A wall time the
    // clocks pass twice is its earlier instance; one they skip is read with the offset in force before
    // the change (Berlin's 02:30 on the spring day is 01:30 UTC, 03:30 CEST), as RFC 5545 reads both.
    std::int64_t InstantOf(std::int64_t wallSeconds) const;
    // The real time between two wall times, read as InstantOf reads them; `daylightChanged` compares the
    // daylight flags of the offsets they are read with. Empty when either is invalid or the zone keeps no
    // daylight saving now (its TZ string names no daylight time; without one, when its latest standard
    // and daylight types share an offset, as the C library's `daylight` says).
    std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const;

    // The zone record of its present rules: from the TZ string when ZoneFromPosixTz can use it, else
    // without daylight saving rules at the standard offset of the latest transition (or the first type).
    // Empty when no base offset in whole minutes results. The state is Unknown.
    std::optional<ZoneRules> PresentRules() const;

    // The latest change of UTC offset at or before `unixSeconds`, and the first after it: the instant from
    // which the new offset holds. A change of abbreviation or daylight flag alone is no change. Empty when
    // there is none (before the first change, or none after it up to the end of year 9999).
    std::optional<std::int64_t> PreviousChange(std::int64_t unixSeconds) const;
    std::optional<std::int64_t> NextChange(std::int64_t unixSeconds) const;
    // The TZ string that carries the zone on past its table (a TZ-string zone: its own); empty when none.
    const std::optional<PosixTzRules>& FooterRules() const { return m_footer; }

private:
    struct Type {
        std::int32_t offset;
        bool isDst;
        std::uint32_t abbreviationAt;   // into m_chars, '\0'-terminated
    };
    struct Reading {
        std::int64_t instant;
        std::uint16_t type;   // the type whose offset reads the wall time
    };

    ZoneModel() = default;
    bool TakeFooter(std::string_view text);
    void Finish();
    std::uint16_t FooterTypeAt(std::int64_t unixSeconds) const;
    Reading Read(std::int64_t wallSeconds) const;
    Reading ReadByFooter(std::int64_t wallSeconds) const;
    std::int64_t FooterChange(bool toDst, std::int64_t year) const;
    LocalTime Show(std::uint16_t type, bool isSummer) const;
    void FindSummers();
    std::optional<std::int64_t> FooterChangeAfter(std::int64_t unixSeconds) const;
    std::optional<std::int64_t> FooterChangeAtOrBefore(std::int64_t unixSeconds) const;
    bool FooterChangesAt(std::int64_t unixSeconds) const;

    friend std::optional<LocalElapsed> ElapsedBetweenZones(const ZoneModel&, const DateTime&, const ZoneModel&,
                                                           const DateTime&);

    std::vector<std::int64_t> m_times;        // transitions, UTC, ascending
    std::vector<std::int64_t> m_wallBefore;   // each transition on the clocks before it
    std::vector<std::uint16_t> m_typeAfter;   // the type each transition leads to
    std::vector<bool> m_summerAfter;          // LocalTime::isSummer from each transition on
    std::vector<Type> m_types;
    std::string m_chars;
    std::uint16_t m_initialType = 0;   // before the first transition
    // The TZ string's rules, used from m_footerFrom on; its standard and daylight types follow the file's.
    std::optional<PosixTzRules> m_footer;
    std::string m_footerText;
    std::int64_t m_footerFrom = INT64_MAX;
    std::uint16_t m_footerStd = 0, m_footerDst = 0;
    bool m_keepsDaylight = false;
    bool m_footerNegative = false;   // its daylight time is behind its standard time
    // The table's changes of offset as At() reads them, the footer's start among them when it is one.
    std::vector<std::int64_t> m_changes;
};

// The real time from wall time `from` in `fromZone` to wall time `to` in `toZone`, each read as InstantOf
// reads it; offsetChanged when the two offsets differ, daylightChanged when their daylight flags differ.
// Empty when either date-time is invalid.
std::optional<LocalElapsed> ElapsedBetweenZones(const ZoneModel& fromZone, const DateTime& from,
                                                const ZoneModel& toZone, const DateTime& to);

// The zone record of a TZif file: its model's present rules. Empty when the bytes are no zone file.
std::optional<ZoneRules> ZoneFromTzif(std::string_view bytes);
