#include "info/zone_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/civil.h"

namespace {

constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kTypeSize = 6;
// The offsets a TZif file may hold: -25 h < offset < 26 h.
constexpr std::int32_t kMinUtOffset = -89999;
constexpr std::int32_t kMaxUtOffset = 93599;
// Far beyond any calendar anyone asks about, and small enough that no sum of offsets overflows.
constexpr std::int64_t kTimeLimit = std::int64_t{1} << 59;
constexpr std::int64_t kDay = civil::kSecondsPerDay;
// The last second of year 9999, beyond which no change is looked for.
constexpr std::int64_t kLastInstant = civil::DaysFromCivil(10000, 1, 1) * kDay - 1;
// The Gregorian calendar repeats every 400 years, and so do a TZ string's changes: a search that finds
// none in as many years finds none at all.
constexpr std::int64_t kRuleCycleYears = 400;

struct Counts {
    std::uint32_t isUt = 0, isStd = 0, leap = 0, time = 0, type = 0, chars = 0;
};

std::uint64_t BigEndian(std::string_view bytes, std::size_t at, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<Counts> ReadCounts(std::string_view bytes, std::size_t at)
{
    if (bytes.size() < at || bytes.size() - at < kHeaderSize || bytes.substr(at, 4) != "TZif") {
        return std::nullopt;
    }
    const auto count = [&](std::size_t offset) { return static_cast<std::uint32_t>(BigEndian(bytes, at + offset, 4)); };
    return Counts{count(20), count(24), count(28), count(32), count(36), count(40)};
}

// 64-bit arithmetic: the counts come from the file and are up to 2^32 - 1 each.
std::uint64_t DataSize(const Counts& c, std::uint64_t timeSize)
{
    return std::uint64_t{c.time} * (timeSize + 1) + std::uint64_t{c.type} * kTypeSize + c.chars +
           std::uint64_t{c.leap} * (timeSize + 4) + c.isStd + c.isUt;
}

std::int64_t SignedTime(std::string_view bytes, std::size_t at, std::size_t size)
{
    const std::uint64_t raw = BigEndian(bytes, at, size);
    return size == 4 ? std::int64_t{static_cast<std::int32_t>(raw)} : static_cast<std::int64_t>(raw);
}

// The year of a count of seconds from 1970, held where the day arithmetic cannot overflow.
std::int64_t YearOf(std::int64_t seconds)
{
    return civil::CivilFromDays(civil::FloorDiv(std::clamp(seconds, -kTimeLimit, kTimeLimit), kDay)).year;
}

bool IsLeapYear(std::int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The day (from 1970) a change of a TZ string falls on in `year`, as the C library counts it.
std::int64_t DayOfChange(const TzChange& change, std::int64_t year)
{
    const std::int64_t newYear = civil::DaysFromCivil(year, 1, 1);
    switch (change.form) {
    case TzChange::Form::JulianNoLeap:
        return newYear + change.day - 1 + (change.day >= 60 && IsLeapYear(year) ? 1 : 0);
    case TzChange::Form::ZeroBased:
        return newYear + change.day;
    case TzChange::Form::MonthWeekDay:
        break;
    }
    const auto month = static_cast<unsigned>(change.month);
    const std::int64_t first = civil::DaysFromCivil(year, month, 1);
    const std::int64_t next =
        month == 12 ? civil::DaysFromCivil(year + 1, 1, 1) : civil::DaysFromCivil(year, month + 1, 1);
    std::int64_t day = (change.weekday - civil::WeekdayFromDays(first) + 7) % 7 + 7 * (change.week - 1);
    while (day >= next - first) {
        day -= 7;
    }
    return first + day;
}

// The rules the C library takes for a daylight name without change dates.
DstRule DefaultDstRule()
{
    TzChange start, end;
    start.month = 3;
    start.week = 2;
    end.month = 11;
    end.week = 1;
    return {start, end};
}

}   // namespace

std::optional<ZoneModel> ZoneModel::FromTzif(std::string_view bytes)
{
    const auto first = ReadCounts(bytes, 0);
    if (!first || bytes.size() - kHeaderSize < DataSize(*first, 4)) {
        return std::nullopt;
    }
    Counts counts = *first;
    std::size_t at = kHeaderSize;
    std::size_t timeSize = 4;
    const bool hasSecondBlock = bytes[4] != '\0';
    if (hasSecondBlock) {
        const std::size_t secondAt = kHeaderSize + static_cast<std::size_t>(DataSize(*first, 4));
        const auto second = ReadCounts(bytes, secondAt);
        if (!second || bytes.size() - secondAt - kHeaderSize < DataSize(*second, 8)) {
            return std::nullopt;
        }
        counts = *second;
        at = secondAt + kHeaderSize;
        timeSize = 8;
    }
    if (counts.type == 0 || counts.type > 256 || counts.chars == 0) {
        return std::nullopt;
    }
    const std::size_t indicesAt = at + std::size_t{counts.time} * timeSize;
    const std::size_t typesAt = indicesAt + counts.time;
    const std::size_t charsAt = typesAt + std::size_t{counts.type} * kTypeSize;

    ZoneModel model;
    model.m_chars = std::string(bytes.substr(charsAt, counts.chars)) + '\0';
    for (std::size_t i = 0; i < counts.type; ++i) {
        const std::size_t typeAt = typesAt + i * kTypeSize;
        const auto offset = static_cast<std::int32_t>(BigEndian(bytes, typeAt, 4));
        const auto abbreviationAt = static_cast<unsigned char>(bytes[typeAt + 5]);
        if (offset < kMinUtOffset || offset > kMaxUtOffset || abbreviationAt >= counts.chars) {
            return std::nullopt;
        }
        model.m_types.push_back({offset, bytes[typeAt + 4] != 0, abbreviationAt});
    }
    for (std::size_t i = 0; i < counts.time; ++i) {
        const std::int64_t time = SignedTime(bytes, at + i * timeSize, timeSize);
        const auto type = static_cast<unsigned char>(bytes[indicesAt + i]);
        if (type >= counts.type || time < -kTimeLimit || time > kTimeLimit ||
            (!model.m_times.empty() && time <= model.m_times.back())) {
            return std::nullopt;
        }
        model.m_times.push_back(time);
        model.m_typeAfter.push_back(type);
    }
    // Before the first transition, and with none at all, the C library shows the first standard type.
    const auto firstStandard =
        std::find_if(model.m_types.begin(), model.m_types.end(), [](const Type& type) { return !type.isDst; });
    model.m_initialType =
        firstStandard == model.m_types.end() ? 0 : static_cast<std::uint16_t>(firstStandard - model.m_types.begin());

    if (hasSecondBlock) {
        // The footer is the text between two newlines right after the data.
        const std::string_view rest = bytes.substr(charsAt + counts.chars + std::size_t{counts.leap} * (timeSize + 4) +
                                                   counts.isStd + counts.isUt);
        const std::size_t end = rest.size() >= 2 && rest[0] == '\n' ? rest.find('\n', 1) : std::string_view::npos;
        // With no transitions the C library shows the first standard type throughout, footer or not.
        if (end != std::string_view::npos && model.TakeFooter(rest.substr(1, end - 1)) && !model.m_times.empty()) {
            model.m_footerFrom = model.m_times.back();
        }
    }
    model.Finish();
    return model;
}

std::optional<ZoneModel> ZoneModel::FromTzString(std::string_view posixTz)
{
    ZoneModel model;
    if (!model.TakeFooter(posixTz)) {
        return std::nullopt;
    }
    model.m_initialType = model.m_footerStd;
    model.m_footerFrom = INT64_MIN;
    model.Finish();
    return model;
}

bool ZoneModel::TakeFooter(std::string_view text)
{
    auto rules = ParsePosixTz(text);
    if (!rules) {
        return false;
    }
    if (!rules->dstName.empty() && !rules->dst) {
        rules->dst = DefaultDstRule();
    }
    const auto addType = [this](std::int32_t offset, bool isDst, const std::string& name) {
        m_types.push_back({offset, isDst, static_cast<std::uint32_t>(m_chars.size())});
        m_chars += name;
        m_chars += '\0';
        return static_cast<std::uint16_t>(m_types.size() - 1);
    };
    m_footerStd = addType(rules->stdOffsetSeconds, false, rules->stdName);
    m_footerDst = rules->dstName.empty() ? m_footerStd : addType(rules->dstOffsetSeconds, true, rules->dstName);
    m_footer = std::move(rules);
    m_footerText = std::string(text);
    return true;
}

void ZoneModel::Finish()
{
    m_wallBefore.resize(m_times.size());
    for (std::size_t i = 0; i < m_times.size(); ++i) {
        m_wallBefore[i] = m_times[i] + m_types[i == 0 ? m_initialType : m_typeAfter[i - 1]].offset;
    }
    FindSummers();
    m_changes.clear();
    for (const std::int64_t time : m_times) {
        if (time <= m_footerFrom && At(time - 1).offsetSeconds != At(time).offsetSeconds) {
            m_changes.push_back(time);
        }
    }
    if (m_footer) {
        m_keepsDaylight = !m_footer->dstName.empty();
        return;
    }
    // As the C library's `daylight`: the latest standard and daylight types differ in offset.
    std::optional<std::int32_t> standard, summer;
    for (std::size_t i = m_typeAfter.size(); i-- > 0 && !(standard && summer);) {
        const Type& type = m_types[m_typeAfter[i]];
        auto& slot = type.isDst ? summer : standard;
        if (!slot) {
            slot = type.offset;
        }
    }
    m_keepsDaylight = standard && summer && *standard != *summer;
}

std::int64_t ZoneModel::FooterChange(bool toDst, std::int64_t year) const
{
    const TzChange& change = toDst ? m_footer->dst->start : m_footer->dst->end;
    // Each change time is on the clocks in force before it.
    const std::int32_t before = toDst ? m_footer->stdOffsetSeconds : m_footer->dstOffsetSeconds;
    return DayOfChange(change, year) * kDay + change.timeSeconds - before;
}

std::uint16_t ZoneModel::FooterTypeAt(std::int64_t unixSeconds) const
{
    if (!m_footer->dst) {
        return m_footerStd;
    }
    // The C library's reading: both changes of the instant's UTC year, the later one ending the year's
    // daylight time in the south.
    const std::int64_t year = YearOf(unixSeconds);
    const std::int64_t start = FooterChange(true, year);
    const std::int64_t end = FooterChange(false, year);
    const bool isDst =
        start > end ? (unixSeconds < end || unixSeconds >= start) : (unixSeconds >= start && unixSeconds < end);
    return isDst ? m_footerDst : m_footerStd;
}

void ZoneModel::FindSummers()
{
    m_footerNegative = m_footer && m_footer->dst && m_footer->dstOffsetSeconds < m_footer->stdOffsetSeconds;
    const auto type = [this](std::size_t i) { return m_types[m_typeAfter[i]]; };
    // A daylight reading behind a standard one next to it is winter; a standard one between two such is
    // summer, as is one before a footer that keeps negative daylight saving.
    std::vector<bool> behind(m_times.size());
    for (std::size_t i = 0; i < behind.size(); ++i) {
        const auto ahead = [&](std::size_t j) { return !type(j).isDst && type(j).offset > type(i).offset; };
        behind[i] = type(i).isDst && ((i > 0 && ahead(i - 1)) || (i + 1 < behind.size() && ahead(i + 1)));
    }
    m_summerAfter.resize(m_times.size());
    for (std::size_t i = 0; i < behind.size(); ++i) {
        const bool nextBehind = i + 1 < behind.size() ? behind[i + 1] : m_footerNegative;
        m_summerAfter[i] = type(i).isDst ? !behind[i] : i > 0 && behind[i - 1] && nextBehind;
    }
}

ZoneModel::LocalTime ZoneModel::Show(std::uint16_t type, bool isSummer) const
{
    const Type& t = m_types[type];
    return {t.offset, t.isDst, std::string_view(m_chars.c_str() + t.abbreviationAt), isSummer};
}

ZoneModel::LocalTime ZoneModel::At(std::int64_t unixSeconds) const
{
    if (m_footerFrom != INT64_MAX && unixSeconds >= m_footerFrom) {
        const std::uint16_t type = FooterTypeAt(unixSeconds);
        return Show(type, m_types[type].isDst != m_footerNegative);
    }
    const auto after = std::upper_bound(m_times.begin(), m_times.end(), unixSeconds);
    if (after == m_times.begin()) {
        return Show(m_initialType, m_types[m_initialType].isDst);
    }
    const auto i = static_cast<std::size_t>(after - m_times.begin()) - 1;
    return Show(m_typeAfter[i], m_summerAfter[i]);
}

ZoneModel::Reading ZoneModel::Read(std::int64_t wallSeconds) const
{
    const auto after = std::upper_bound(m_wallBefore.begin(), m_wallBefore.end(), wallSeconds);
    if (after == m_wallBefore.begin()) {
        return m_footerFrom == INT64_MIN ? ReadByFooter(wallSeconds)
                                         : Reading{wallSeconds - m_types[m_initialType].offset, m_initialType};
    }
    const auto i = static_cast<std::size_t>(after - m_wallBefore.begin()) - 1;
    if (i + 1 == m_times.size() && m_footerFrom == m_times.back()) {
        return ReadByFooter(wallSeconds);
    }
    const std::uint16_t before = i == 0 ? m_initialType : m_typeAfter[i - 1];
    const std::uint16_t now = m_typeAfter[i];
    // From the last wall time before the change up to the first after it the clocks skip.
    const bool skipped = wallSeconds < m_times[i] + m_types[now].offset;
    const std::uint16_t type = skipped ? before : now;
    return {wallSeconds - m_types[type].offset, type};
}

ZoneModel::Reading ZoneModel::ReadByFooter(std::int64_t wallSeconds) const
{
    if (!m_footer->dst) {
        return {wallSeconds - m_types[m_footerStd].offset, m_footerStd};
    }
    struct Change {
        std::int64_t at;
        bool toDst;
    };
    // The year's two changes, and the neighbouring year's where a change time of up to a week could
    // carry one across the new year.
    std::array<Change, 6> changes{};
    std::size_t count = 0;
    const std::int64_t year = YearOf(wallSeconds);
    const std::int64_t dayOfYear = civil::FloorDiv(wallSeconds, kDay) - civil::DaysFromCivil(year, 1, 1);
    for (std::int64_t y = dayOfYear < 8 ? year - 1 : year; y <= (dayOfYear > 356 ? year + 1 : year); ++y) {
        for (const bool toDst : {true, false}) {
            Change change{FooterChange(toDst, y), toDst};
            std::size_t at = count++;
            for (; at > 0 && changes[at - 1].at > change.at; --at) {
                changes[at] = changes[at - 1];
            }
            changes[at] = change;
        }
    }
    const auto typeAfter = [this](const Change& c) { return c.toDst ? m_footerDst : m_footerStd; };
    const auto typeBefore = [this](const Change& c) { return c.toDst ? m_footerStd : m_footerDst; };
    std::uint16_t type = typeBefore(changes[0]);
    for (std::size_t i = 0; i < count; ++i) {
        const Change& change = changes[i];
        if (change.at + m_types[typeBefore(change)].offset > wallSeconds) {
            break;
        }
        const bool skipped = wallSeconds < change.at + m_types[typeAfter(change)].offset;
        type = skipped ? typeBefore(change) : typeAfter(change);
    }
    return {wallSeconds - m_types[type].offset, type};
}

std::int64_t ZoneModel::InstantOf(std::int64_t wallSeconds) const
{
    return Read(wallSeconds).instant;
}

std::optional<LocalElapsed> ZoneModel::ElapsedBetween(const DateTime& from, const DateTime& to) const
{
    if (!m_keepsDaylight || !from.IsValid() || !to.IsValid()) {
        return std::nullopt;
    }
    constexpr std::int64_t kUnixEpoch = -civil::kOleEpochFromUnixDays * kDay;
    const Reading start = Read((from - DateTime()).GetTotalSeconds() - kUnixEpoch);
    const Reading end = Read((to - DateTime()).GetTotalSeconds() - kUnixEpoch);
    const Type& startType = m_types[start.type];
    const Type& endType = m_types[end.type];
    const bool offsetChanged = startType.offset != endType.offset;
    return LocalElapsed{end.instant - start.instant, offsetChanged, offsetChanged && startType.isDst != endType.isDst};
}

std::optional<ZoneRules> ZoneModel::PresentRules() const
{
    if (m_footer) {
        if (auto zone = ZoneFromTzString(m_footerText)) {
            return zone;
        }
    }
    const auto latestStandard = std::find_if(m_typeAfter.rbegin(), m_typeAfter.rend(),
                                             [this](std::uint16_t type) { return !m_types[type].isDst; });
    const Type& type = m_types[latestStandard == m_typeAfter.rend() ? 0 : *latestStandard];
    PosixTzRules base;
    base.stdName = std::string(m_chars.c_str() + type.abbreviationAt);
    base.stdOffsetSeconds = type.offset;
    return ZoneFromPosixTz(base);
}

bool ZoneModel::FooterChangesAt(std::int64_t unixSeconds) const
{
    return m_types[FooterTypeAt(unixSeconds - 1)].offset != m_types[FooterTypeAt(unixSeconds)].offset;
}

namespace {

// The instants in UTC year `year` at which a TZ string's reading may change: its two changes, wherever
// their year's change times carry them, and the new year itself, at which the reading switches years.
template <typename ChangeOf>
std::array<std::int64_t, 7> CandidatesIn(std::int64_t year, const ChangeOf& changeOf, std::size_t& count)
{
    const std::int64_t begin = civil::DaysFromCivil(year, 1, 1) * kDay;
    const std::int64_t end = civil::DaysFromCivil(year + 1, 1, 1) * kDay;
    std::array<std::int64_t, 7> found;
    found.fill(INT64_MAX);
    found[0] = begin;
    count = 1;
    for (std::int64_t y = year - 1; y <= year + 1; ++y) {
        for (const bool toDst : {true, false}) {
            const std::int64_t at = changeOf(toDst, y);
            if (at > begin && at < end) {
                found[count++] = at;
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}   // namespace

std::optional<std::int64_t> ZoneModel::FooterChangeAfter(std::int64_t unixSeconds) const
{
    if (!m_footer->dst || m_footer->stdOffsetSeconds == m_footer->dstOffsetSeconds) {
        return std::nullopt;
    }
    const auto changeOf = [this](bool toDst, std::int64_t y) { return FooterChange(toDst, y); };
    const std::int64_t first = YearOf(unixSeconds);
    for (std::int64_t year = first; year <= std::min(first + kRuleCycleYears, std::int64_t{9999}); ++year) {
        std::size_t count = 0;
        const auto candidates = CandidatesIn(year, changeOf, count);
        for (std::size_t i = 0; i < count; ++i) {
            if (candidates[i] > unixSeconds && FooterChangesAt(candidates[i])) {
                return candidates[i] <= kLastInstant ? std::optional(candidates[i]) : std::nullopt;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> ZoneModel::FooterChangeAtOrBefore(std::int64_t unixSeconds) const
{
    if (!m_footer->dst || m_footer->stdOffsetSeconds == m_footer->dstOffsetSeconds) {
        return std::nullopt;
    }
    const auto changeOf = [this](bool toDst, std::int64_t y) { return FooterChange(toDst, y); };
    const std::int64_t last = YearOf(unixSeconds);
    const std::int64_t stop = std::max(last - kRuleCycleYears, YearOf(m_footerFrom));
    for (std::int64_t year = last; year >= stop; --year) {
        std::size_t count = 0;
        const auto candidates = CandidatesIn(year, changeOf, count);
        for (std::size_t i = count; i-- > 0;) {
            if (candidates[i] <= unixSeconds && candidates[i] > m_footerFrom && FooterChangesAt(candidates[i])) {
                return candidates[i];
            }
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> ZoneModel::NextChange(std::int64_t unixSeconds) const
{
    const auto after = std::upper_bound(m_changes.begin(), m_changes.end(), unixSeconds);
    if (after != m_changes.end()) {
        return *after <= kLastInstant ? std::optional(*after) : std::nullopt;
    }
    if (!m_footer || m_footerFrom == INT64_MAX) {
        return std::nullopt;
    }
    return FooterChangeAfter(std::max(unixSeconds, m_footerFrom));
}

std::optional<std::int64_t> ZoneModel::PreviousChange(std::int64_t unixSeconds) const
{
    if (m_footer && m_footerFrom != INT64_MAX && unixSeconds > m_footerFrom) {
        if (const auto change = FooterChangeAtOrBefore(unixSeconds)) {
            return change;
        }
    }
    const auto after = std::upper_bound(m_changes.begin(), m_changes.end(), unixSeconds);
    return after == m_changes.begin() ? std::nullopt : std::optional(*(after - 1));
}

std::optional<LocalElapsed> ElapsedBetweenZones(const ZoneModel& fromZone, const DateTime& from,
                                                const ZoneModel& toZone, const DateTime& to)
{
    if (!from.IsValid() || !to.IsValid()) {
        return std::nullopt;
    }
    constexpr std::int64_t kUnixEpoch = -civil::kOleEpochFromUnixDays * kDay;
    const ZoneModel::Reading start = fromZone.Read((from - DateTime()).GetTotalSeconds() - kUnixEpoch);
    const ZoneModel::Reading end = toZone.Read((to - DateTime()).GetTotalSeconds() - kUnixEpoch);
    const ZoneModel::Type& startType = fromZone.m_types[start.type];
    const ZoneModel::Type& endType = toZone.m_types[end.type];
    return LocalElapsed{end.instant - start.instant, startType.offset != endType.offset,
                        startType.isDst != endType.isDst};
}

std::optional<ZoneRules> ZoneFromTzif(std::string_view bytes)
{
    const std::optional<ZoneModel> model = ZoneModel::FromTzif(bytes);
    return model ? model->PresentRules() : std::nullopt;
}
