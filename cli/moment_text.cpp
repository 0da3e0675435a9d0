#include "cli/moment_text.h"

#include <algorithm>
#include <cstring>

#include "core/calendar.h"
#include "core/civil.h"

namespace {

// The value of `count` digits at `at`; -1 when any of them is not a digit. Inline with a fixed count, so
// that a batch's millions of moments cost no loop.
template <std::size_t count>
inline int Digits(std::string_view text, std::size_t at)
{
    int value = 0;
    bool digits = true;
    for (std::size_t i = at; i < at + count; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
        digits = digits && digit <= 9;
        value = value * 10 + static_cast<int>(digit);
    }
    return digits ? value : -1;
}

void PutDigits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

std::optional<Moment> FromFields(int year, int month, int day, int hour, int minute, int second)
{
    Moment moment{DateTime::FromParts(year, month, day, hour, minute, second), {}};
    if (!moment.value.IsValid()) {
        return std::nullopt;
    }
    char* const out = moment.iso.data();
    PutDigits(out, year, 4);
    out[4] = '-';
    PutDigits(out + 5, month, 2);
    out[7] = '-';
    PutDigits(out + 8, day, 2);
    out[10] = 'T';
    PutDigits(out + 11, hour, 2);
    out[13] = ':';
    PutDigits(out + 14, minute, 2);
    out[16] = ':';
    PutDigits(out + 17, second, 2);
    return moment;
}

}   // namespace

Moment MomentAtWallSeconds(std::int64_t wallSeconds)
{
    const std::int64_t days = civil::FloorDiv(wallSeconds, civil::kSecondsPerDay);
    const auto second = static_cast<int>(wallSeconds - days * civil::kSecondsPerDay);
    const civil::YearMonthDay date = civil::CivilFromDays(days);
    return FromFields(date.year, date.month, date.day, second / 3600, second / 60 % 60, second % 60)
        .value_or(Moment{DateTime::Invalid(), {}});
}

std::int64_t WallSecondsOf(const DateTime& value)
{
    return (value - DateTime()).GetTotalSeconds() + civil::kOleEpochFromUnixDays * civil::kSecondsPerDay;
}

Moment MomentOf(const DateTime& value)
{
    const std::optional<DateTime::Parts> parts = value.GetParts();
    std::optional<Moment> moment;
    if (parts) {
        moment = FromFields(parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second);
    }
    return moment.value_or(Moment{DateTime::Invalid(), {}});
}

namespace {

// The instants whose wall time in UTC lies in the years 0100..9999.
constexpr std::int64_t kFirstInstant = civil::DaysFromCivil(100, 1, 1) * civil::kSecondsPerDay;
constexpr std::int64_t kLastInstant = civil::DaysFromCivil(10000, 1, 1) * civil::kSecondsPerDay - 1;
static_assert(kFirstInstant == -59011459200 && kLastInstant == 253402300799, "the message below names them");
constexpr std::string_view kInstantRange =
    ": instants run @-59011459200 to @253402300799 (0100-01-01T00:00:00Z to 9999-12-31T23:59:59Z)";

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};

// At most 60 bytes of `text`, cut before a character rather than inside it, so that a message quoting
// input stays one short line whatever the input.
std::string Quoted(std::string_view text)
{
    constexpr std::size_t kLongest = 60;
    if (text.size() <= kLongest) {
        return std::string(text);
    }
    std::size_t end = kLongest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end)) + "...";
}

std::nullopt_t Refuse(std::string& problem, std::string message)
{
    problem = std::move(message);
    return std::nullopt;
}

std::nullopt_t NotAMoment(std::string_view text, std::string& problem)
{
    return Refuse(problem, "'" + Quoted(text) + "' is not a moment: use " + std::string(kMomentForms));
}

// Whether `rest` starts with a decimal fraction, as "12:00:00.5" or "@1,5" would go on.
bool StartsWithFraction(std::string_view rest)
{
    return rest.size() >= 2 && (rest[0] == '.' || rest[0] == ',') && rest[1] >= '0' && rest[1] <= '9';
}

// An offset east of UTC: "Z", or a sign and "HH", "HHMM" or "HH:MM". `hours` is -1 when the text is none.
struct Offset {
    int sign = 1, hours = -1, minutes = 0;
};

Offset ReadOffset(std::string_view text)
{
    if (text == "Z") {
        return {1, 0, 0};
    }
    const bool colon = text.size() == 6 && text[3] == ':';
    if ((text.size() != 3 && text.size() != 5 && !colon) || (text[0] != '+' && text[0] != '-')) {
        return {};
    }
    const int minutes = text.size() == 3 ? 0 : Digits<2>(text, colon ? 4 : 3);
    return {text[0] == '-' ? -1 : 1, minutes < 0 ? -1 : Digits<2>(text, 1), minutes};
}

struct Fields {
    int year, month, day, hour, minute, second;
};

// The first field outside its range, named with the part of the text it came from; empty when none is.
std::string FieldProblem(const Fields& f, std::string_view date, std::string_view time)
{
    const auto says = [](std::string_view part, std::string_view what) {
        return std::string(part) + ": " + std::string(what);
    };
    if (f.year < 100) {
        return says(date, "years run 0100 to 9999");
    }
    if (f.month < 1 || f.month > 12) {
        return says(date, "months run 01 to 12");
    }
    const int length = DaysInMonth(f.year, f.month);
    if (f.day < 1) {
        return says(date, "days run from 01");
    }
    if (f.day > length) {
        return says(date, std::string(kMonthNames[f.month - 1]) + " " + std::string(date.substr(0, 4)) + " has " +
                              std::to_string(length) + " days");
    }
    if (f.hour > 23) {
        return says(time, "hours run 00 to 23");
    }
    if (f.minute > 59) {
        return says(time, "minutes run 00 to 59");
    }
    if (f.second > 59) {
        return says(time, "seconds run 00 to 59, as chronel-cli counts the seconds of UTC without leap seconds");
    }
    return {};
}

std::optional<MomentText> ReadIsoText(std::string_view text, std::string& problem)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') {
        return NotAMoment(text, problem);
    }
    Fields f{Digits<4>(text, 0), Digits<2>(text, 5), Digits<2>(text, 8), 0, 0, 0};
    std::string_view rest = text.substr(10), time;
    if (rest.size() >= 6 && (rest[0] == 'T' || rest[0] == ' ') && rest[3] == ':') {
        const bool seconds = rest.size() >= 9 && rest[6] == ':';
        f.hour = Digits<2>(rest, 1);
        f.minute = Digits<2>(rest, 4);
        f.second = seconds ? Digits<2>(rest, 7) : 0;
        time = rest.substr(1, seconds ? 8 : 5);
        rest.remove_prefix(seconds ? 9 : 6);
    }
    if (f.year < 0 || f.month < 0 || f.day < 0 || f.hour < 0 || f.minute < 0 || f.second < 0) {
        return NotAMoment(text, problem);
    }
    if (!time.empty() && StartsWithFraction(rest)) {
        const std::size_t end = std::min(rest.find_first_not_of("0123456789", 1), rest.size());
        return Refuse(problem, Quoted(std::string(time) + std::string(rest.substr(0, end))) +
                                   ": chronel-cli counts whole seconds");
    }
    const Offset offset = rest.empty() ? Offset{1, 0, 0} : ReadOffset(rest);
    if (offset.hours < 0) {
        return NotAMoment(text, problem);
    }
    if (!rest.empty() && time.empty()) {
        return Refuse(problem, Quoted(text) + ": an offset needs a time of day, as in " +
                                   std::string(text.substr(0, 10)) + "T00:00" + std::string(rest));
    }
    if (std::string wrong = FieldProblem(f, text.substr(0, 10), time); !wrong.empty()) {
        return Refuse(problem, std::move(wrong));
    }
    if (offset.hours > 23 || offset.minutes > 59) {
        return Refuse(problem, std::string(rest) + ": offsets run -23:59 to +23:59");
    }
    if (rest.empty()) {
        Moment wall{DateTime::FromParts(f.year, f.month, f.day, f.hour, f.minute, f.second), {}};
        if (!wall.value.IsValid()) {
            return NotAMoment(text, problem);
        }
        // The text is its own ISO form but for the T and what it leaves out: copied, not written anew, as a
        // batch reads millions.
        std::memcpy(wall.iso.data(), text.data(), 10);
        wall.iso[10] = 'T';
        std::memcpy(wall.iso.data() + 11, "00:00:00", 8);
        // Not memcpy: a date alone leaves `time` empty, and its null pointer must never reach memcpy.
        std::copy(time.begin(), time.end(), wall.iso.data() + 11);
        return MomentText{wall, 0};
    }
    const std::int64_t instant =
        civil::DaysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day)) *
            civil::kSecondsPerDay +
        f.hour * 3600 + f.minute * 60 + f.second - offset.sign * (offset.hours * 3600 + offset.minutes * 60);
    if (instant < kFirstInstant || instant > kLastInstant) {
        return Refuse(problem, std::string(text) + std::string(kInstantRange));
    }
    return MomentText{std::nullopt, instant};
}

std::optional<MomentText> ReadUnixText(std::string_view text, std::string& problem)
{
    std::string_view digits = text.substr(1);
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) {
        digits.remove_prefix(1);
    }
    const std::size_t count = std::min(digits.find_first_not_of("0123456789"), digits.size());
    const std::size_t zeros = std::min(digits.find_first_not_of('0'), count);
    if (StartsWithFraction(digits.substr(count))) {
        return Refuse(problem, Quoted(text) + ": chronel-cli counts whole seconds");
    }
    if (count == 0 || count < digits.size()) {
        return NotAMoment(text, problem);
    }
    // Twelve significant digits hold every instant of the range; more cannot be one, and could overflow.
    const bool tooMany = count - zeros > 12;
    std::int64_t value = 0;
    for (std::size_t i = zeros; i < count && !tooMany; ++i) {
        value = value * 10 + (digits[i] - '0');
    }
    value = negative ? -value : value;
    if (tooMany || value < kFirstInstant || value > kLastInstant) {
        return Refuse(problem, Quoted(text) + std::string(kInstantRange));
    }
    return MomentText{std::nullopt, value};
}

}   // namespace

std::optional<MomentText> ReadMomentText(std::string_view text, const Clock& clock, std::string& problem)
{
    if (text == "now" || text == "today") {
        const std::optional<DateTime::Parts> now = GetNow(clock).GetParts();
        const bool today = text == "today";
        std::optional<Moment> moment;
        if (now) {
            moment = FromFields(now->year, now->month, now->day, today ? 0 : now->hour, today ? 0 : now->minute,
                                today ? 0 : now->second);
        }
        if (!moment) {
            return Refuse(problem, "the clock reads a moment outside the years 0100 to 9999");
        }
        return MomentText{moment, 0};
    }
    return text.starts_with('@') ? ReadUnixText(text, problem) : ReadIsoText(text, problem);
}
