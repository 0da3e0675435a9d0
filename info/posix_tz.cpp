#include "info/posix_tz.h"

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kDefaultChangeTime = 2 * kSecondsPerHour;

bool IsAlpha(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the string front to back; every Read* leaves the position unchanged on failure.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos == m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
    bool Take(char c)
    {
        if (AtEnd() || m_text[m_pos] != c) {
            return false;
        }
        ++m_pos;
        return true;
    }

    // A zone abbreviation: three or more letters, or "<...>" with three or more letters, digits or signs.
    std::optional<std::string> ReadName()
    {
        const std::size_t start = m_pos;
        std::size_t end = start;
        if (Peek() == '<') {
            end = start + 1;
            while (end < m_text.size() && IsQuotedNameChar(m_text[end])) {
                ++end;
            }
            if (end >= m_text.size() || m_text[end] != '>' || end - start - 1 < 3) {
                return std::nullopt;
            }
            m_pos = end + 1;
            return std::string(m_text.substr(start + 1, end - start - 1));
        }
        while (end < m_text.size() && IsAlpha(m_text[end])) {
            ++end;
        }
        if (end - start < 3) {
            return std::nullopt;
        }
        m_pos = end;
        return std::string(m_text.substr(start, end - start));
    }

    // [+-]h[h[h]][:mm[:ss]] as signed seconds, hours at most `maxHours`.
    std::optional<int> ReadClock(int maxHours)
    {
        const std::size_t start = m_pos;
        int sign = 1;
        if (Take('-')) {
            sign = -1;
        } else {
            Take('+');
        }
        const auto hours = ReadNumber(3, maxHours);
        if (!hours) {
            m_pos = start;
            return std::nullopt;
        }
        int seconds = *hours * kSecondsPerHour;
        if (Take(':')) {
            const auto minutes = ReadNumber(2, 59);
            if (!minutes) {
                m_pos = start;
                return std::nullopt;
            }
            seconds += *minutes * 60;
            if (Take(':')) {
                const auto secs = ReadNumber(2, 59);
                if (!secs) {
                    m_pos = start;
                    return std::nullopt;
                }
                seconds += *secs;
            }
        }
        return sign * seconds;
    }

    // One to `maxDigits` decimal digits with a value up to `maxValue`.
    std::optional<int> ReadNumber(int maxDigits, int maxValue)
    {
        const std::size_t start = m_pos;
        int value = 0;
        int digits = 0;
        while (digits < maxDigits && IsDigit(Peek())) {
            value = value * 10 + (Peek() - '0');
            ++m_pos;
            ++digits;
        }
        if (digits == 0 || value > maxValue || IsDigit(Peek())) {
            m_pos = start;
            return std::nullopt;
        }
        return value;
    }

private:
    static bool IsQuotedNameChar(char c) { return IsAlpha(c) || IsDigit(c) || c == '+' || c == '-'; }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

std::optional<TzChange> ReadChange(Cursor& cursor)
{
    TzChange change;
    if (cursor.Take('M')) {
        const auto month = cursor.ReadNumber(2, 12);
        if (!month || *month < 1 || !cursor.Take('.')) {
            return std::nullopt;
        }
        const auto week = cursor.ReadNumber(1, 5);
        if (!week || *week < 1 || !cursor.Take('.')) {
            return std::nullopt;
        }
        const auto weekday = cursor.ReadNumber(1, 6);
        if (!weekday) {
            return std::nullopt;
        }
        change.month = *month;
        change.week = *week;
        change.weekday = *weekday;
    } else if (cursor.Take('J')) {
        const auto day = cursor.ReadNumber(3, 365);
        if (!day || *day < 1) {
            return std::nullopt;
        }
        change.form = TzChange::Form::JulianNoLeap;
        change.day = *day;
    } else {
        const auto day = cursor.ReadNumber(3, 365);
        if (!day) {
            return std::nullopt;
        }
        change.form = TzChange::Form::ZeroBased;
        change.day = *day;
    }
    change.timeSeconds = kDefaultChangeTime;
    if (cursor.Take('/')) {
        // Extended beyond one day for zones whose changes fall outside 0..24 h of local time.
        const auto time = cursor.ReadClock(167);
        if (!time) {
            return std::nullopt;
        }
        change.timeSeconds = *time;
    }
    return change;
}

bool WholeMinutes(int seconds)
{
    return seconds % 60 == 0;
}

// The change as a rule of the zone record; empty when it has no day-in-month form. 24:00 becomes the last second
// of the day, since a rule's time of day cannot name the following midnight.
std::optional<ChangeRule> DayInMonthRule(const TzChange& change)
{
    if (change.form != TzChange::Form::MonthWeekDay || change.timeSeconds < 0 ||
        change.timeSeconds > 24 * kSecondsPerHour) {
        return std::nullopt;
    }
    const int time = change.timeSeconds == 24 * kSecondsPerHour ? 24 * kSecondsPerHour - 1 : change.timeSeconds;
    return ChangeRule{change.month, change.weekday, change.week, time / kSecondsPerHour, time / 60 % 60, time % 60};
}

}   // namespace

std::optional<PosixTzRules> ParsePosixTz(std::string_view text)
{
    Cursor cursor(text);
    PosixTzRules rules;
    auto stdName = cursor.ReadName();
    if (!stdName) {
        return std::nullopt;
    }
    // POSIX counts offsets west of UTC as positive.
    const auto stdOffset = cursor.ReadClock(24);
    if (!stdOffset) {
        return std::nullopt;
    }
    rules.stdName = std::move(*stdName);
    rules.stdOffsetSeconds = -*stdOffset;
    rules.dstOffsetSeconds = rules.stdOffsetSeconds;
    if (cursor.AtEnd()) {
        return rules;
    }

    auto dstName = cursor.ReadName();
    if (!dstName) {
        return std::nullopt;
    }
    rules.dstName = std::move(*dstName);
    rules.dstOffsetSeconds = rules.stdOffsetSeconds + kSecondsPerHour;
    const char next = cursor.Peek();
    if (IsDigit(next) || next == '+' || next == '-') {
        const auto dstOffset = cursor.ReadClock(24);
        if (!dstOffset) {
            return std::nullopt;
        }
        rules.dstOffsetSeconds = -*dstOffset;
    }
    if (cursor.AtEnd()) {
        return rules;
    }

    if (!cursor.Take(',')) {
        return std::nullopt;
    }
    const auto start = ReadChange(cursor);
    if (!start || !cursor.Take(',')) {
        return std::nullopt;
    }
    const auto end = ReadChange(cursor);
    if (!end || !cursor.AtEnd()) {
        return std::nullopt;
    }
    rules.dst = DstRule{*start, *end};
    return rules;
}

std::optional<ZoneRules> ZoneFromPosixTz(const PosixTzRules& given)
{
    PosixTzRules rules = given;
    // Negative daylight saving (Dublin: "IST-1GMT0,M10.5.0,M3.5.0/1" calls winter's GMT its daylight
    // time): standard time is the smaller offset, so names, offsets and changes trade roles. Each change
    // time stays in the wall clock before its change, which is what the rule record means.
    if (!rules.dstName.empty() && rules.dstOffsetSeconds < rules.stdOffsetSeconds) {
        std::swap(rules.stdName, rules.dstName);
        std::swap(rules.stdOffsetSeconds, rules.dstOffsetSeconds);
        if (rules.dst) {
            std::swap(rules.dst->start, rules.dst->end);
        }
    }
    if (!WholeMinutes(rules.stdOffsetSeconds)) {
        return std::nullopt;
    }
    ZoneRules zone;
    zone.bias = -rules.stdOffsetSeconds / 60;
    zone.standardName = rules.stdName;
    zone.daylightName = rules.dstName.empty() ? rules.stdName : rules.dstName;
    if (rules.dstName.empty() || !rules.dst || !WholeMinutes(rules.dstOffsetSeconds)) {
        return zone;
    }
    const auto toDaylight = DayInMonthRule(rules.dst->start);
    const auto toStandard = DayInMonthRule(rules.dst->end);
    if (toDaylight && toStandard) {
        zone.toDaylight = *toDaylight;
        zone.toStandard = *toStandard;
    }
    return zone;
}

std::optional<ZoneRules> ZoneFromTzString(std::string_view text)
{
    const auto rules = ParsePosixTz(text);
    return rules ? ZoneFromPosixTz(*rules) : std::nullopt;
}
