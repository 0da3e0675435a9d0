#include "cli/cli.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <optional>

#include "calc/calculation.h"
#include "calc/difference.h"
#include "cli/cli_options.h"
#include "cli/computed_value_source.h"
#include "cli/language_file.h"
#include "cli/moment_text.h"
#include "cli/stream_io.h"
#include "core/calendar.h"
#include "core/file_access.h"
#include "templates/substitution.h"
#include "templates/template_store.h"

namespace {

constexpr std::string_view kPageRange = "1754-01-01T00:00:00 to 9998-12-31T23:59:59";
constexpr std::string_view kNoSuchDate = "no such date";

// The JSON keys of the Difference page's fifteen figures, in the order ComputeDifference gives them; the
// tab-separated columns follow the same order.
constexpr std::array<std::string_view, 15> kDifferenceKeys = {
    "years",      "months",      "days",       "hours",     "minutes",    "seconds",      "weeks",       "weekDays",
    "totalYears", "totalMonths", "totalWeeks", "totalDays", "totalHours", "totalMinutes", "totalSeconds"};
constexpr std::array<std::string_view, kCountFieldCount> kCountKeys = {"years", "months",  "weeks",  "days",
                                                                       "hours", "minutes", "seconds"};

// One answer as a JSON object or a tab-separated line: its values as texts, by key.
enum class Kind { String, Number, Bool, Null };
struct Field {
    std::string_view key;
    std::string_view text;
    Kind kind = Kind::String;
};
class Record {
public:
    void Add(std::string_view key, std::string_view text, Kind kind = Kind::String)
    {
        // Member by member: a whole Field built on the stack and copied costs a store-forwarding stall.
        Field& field = m_fields[m_count++];
        field.key = key;
        field.text = text;
        field.kind = kind;
    }
    // A moment, or null when there is none.
    void AddMoment(std::string_view key, const std::optional<Moment>& moment)
    {
        Add(key, moment ? moment->Iso() : std::string_view(), moment ? Kind::String : Kind::Null);
    }
    std::span<const Field> Fields() const { return {m_fields.data(), m_count}; }

private:
    std::array<Field, 24> m_fields;
    std::size_t m_count = 0;
};

void AppendJsonString(OutputBuffer& out, std::string_view text)
{
    out.Append('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out.Append('\\');
            out.Append(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
            out.Append(std::string_view(escaped, sizeof escaped));
        } else {
            out.Append(c);
        }
    }
    out.Append('"');
}

// The value as a column: no tab or line end may split it.
void AppendColumn(OutputBuffer& out, std::string_view text)
{
    const auto splits = [](char c) { return c == '\t' || c == '\r' || c == '\n'; };
    if (std::none_of(text.begin(), text.end(), splits)) {
        out.Append(text);
        return;
    }
    for (const char c : text) {
        out.Append(splits(c) ? ' ' : c);
    }
}

// A valid value in ISO 8601, or nothing.
std::optional<Moment> MomentOrNone(const DateTime& value)
{
    if (!value.IsValid()) {
        return std::nullopt;
    }
    return MomentOf(value);
}

std::string_view TextOf(std::span<const FieldText> fields, int controlId)
{
    for (const FieldText& field : fields) {
        if (field.controlId == controlId) {
            return field.text;
        }
    }
    return {};
}

class Runner {
public:
    Runner(const CliOptions& options, const CliServices& services, const LanguageFile& language, int in, int out,
           int err)
        : m_options(options),
          m_services(services),
          m_language(language),
          m_in(in),
          m_out(out),
          m_err(err),
          m_lineEnd(options.crlf ? "\r\n" : "\n")
    {
    }

    int Run();

private:
    using Handler = void (Runner::*)(std::span<const std::string_view> texts);

    // The answers of one command: once from the operands, or once per line of stdin where one is "-".
    void Answer(Handler handler);
    void Expand();

    void Difference(std::span<const std::string_view> texts);
    void Calculation(std::span<const std::string_view> texts);
    void TimeInfo(std::span<const std::string_view> texts);

    // The moment `text` given as `name`; empty, with the problem reported, when it is none.
    std::optional<Moment> ReadMoment(std::string_view name, std::string_view text);
    // False, with the problem reported, when the moment lies outside what the pages can hold; the record
    // of the answer, when there is one, says so too.
    bool InPageRange(std::string_view name, const Moment& moment, Record* record);

    void Problem(std::string_view message);
    void BadInput(std::string_view message);
    void NoAnswer(std::string_view message, Record& record);
    void Write(const Record& record);
    // The lines Copy >> gives for every item of the pages' Substitution sub-menus, in menu order; a field
    // that reads "*" reads `star`.
    void WriteCopyLines(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
                        std::string_view star = {});

    const CliOptions& m_options;
    const CliServices& m_services;
    const LanguageFile& m_language;
    int m_in;
    OutputBuffer m_out;
    int m_err;
    std::string_view m_lineEnd;
    std::optional<ZoneRules> m_zone;
    bool m_batch = false;
    std::size_t m_lineNumber = 0;
    std::size_t m_answers = 0;
    int m_status = kExitAnswered;
};

int Runner::Run()
{
    switch (m_options.command) {
    case CliCommand::Diff:
        Answer(&Runner::Difference);
        break;
    case CliCommand::Calc:
        Answer(&Runner::Calculation);
        break;
    case CliCommand::Info:
        m_zone = m_services.zones.CurrentZoneRules();
        Answer(&Runner::TimeInfo);
        break;
    case CliCommand::Expand:
        m_zone = m_services.zones.CurrentZoneRules();
        Expand();
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        return kExitBadUse;
    }
    if (!m_out.Flush()) {
        WriteAll(m_err, "chronel-cli: the answers could not be written\n");
        m_status = std::max(m_status, kExitNoAnswer);
    }
    return m_status;
}

void Runner::Answer(Handler handler)
{
    std::array<std::string_view, 2> texts;
    const std::span<const std::string_view> operands = m_options.operands;
    std::size_t fromInput = 0;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        texts[i] = operands[i];
        fromInput += operands[i] == "-" ? 1u : 0u;
    }
    const std::size_t count = std::max<std::size_t>(operands.size(), 1);
    if (operands.empty()) {
        texts[0] = "now";
    }
    if (fromInput == 0) {
        (this->*handler)({texts.data(), count});
        return;
    }

    m_batch = true;
    LineReader lines(m_in, m_out);
    std::string_view line;
    bool tooLong = false;
    while (lines.Next(line, tooLong) && !m_out.Failed()) {
        m_lineNumber = lines.LineNumber();
        if (tooLong) {
            BadInput("longer than " + std::to_string(LineReader::kLongestLine) + " bytes");
            continue;
        }
        // Each "-" takes the next tab-separated piece of the line, the last one the rest of it.
        std::string_view rest = line;
        bool whole = true;
        for (std::size_t i = 0, left = fromInput; i < operands.size() && whole; ++i) {
            if (operands[i] == "-") {
                const std::size_t tab = --left > 0 ? rest.find('\t') : rest.size();
                whole = tab != std::string_view::npos;
                texts[i] = rest.substr(0, tab);
                rest = rest.substr(std::min(tab + 1, rest.size()));
            }
        }
        if (!whole) {
            BadInput("expected START<TAB>FINAL");
            continue;
        }
        (this->*handler)({texts.data(), count});
    }
    // Input that cannot be read is no input: the answers given so far may be all there are.
    if (lines.Error() != 0) {
        WriteAll(m_err, std::string("chronel-cli: ") +
                            (m_in < 0 ? "stdin is closed"
                                      : "cannot read stdin: " + std::string(std::strerror(lines.Error()))) +
                            "\n");
        m_status = kExitBadUse;
    }
}

void Runner::Problem(std::string_view message)
{
    std::string line = "chronel-cli: ";
    if (m_batch) {
        line += "line " + std::to_string(m_lineNumber) + ": ";
    }
    line += message;
    line += '\n';
    WriteAll(m_err, line);
}

void Runner::BadInput(std::string_view message)
{
    Problem(message);
    if (!m_batch) {
        m_status = kExitBadUse;
        return;
    }
    m_status = std::max(m_status, kExitNoAnswer);
    Record record;
    const std::string number = std::to_string(m_lineNumber);
    if (m_options.format == OutputFormat::Json) {
        record.Add("line", number, Kind::Number);
        record.Add("error", message);
    } else {
        record.Add("error", "error");
    }
    Write(record);
}

void Runner::NoAnswer(std::string_view message, Record& record)
{
    Problem(message);
    m_status = std::max(m_status, kExitNoAnswer);
    if (m_options.format == OutputFormat::Text) {
        Record alone;
        alone.Add("error", "no answer");
        Write(alone);
        return;
    }
    record.Add("error", message);
    Write(record);
}

void Runner::Write(const Record& record)
{
    OutputBuffer& out = m_out;
    if (m_options.format == OutputFormat::Json) {
        out.Append('{');
        bool first = true;
        for (const Field& field : record.Fields()) {
            if (!first) {
                out.Append(',');
            }
            first = false;
            AppendJsonString(out, field.key);
            out.Append(':');
            if (field.kind == Kind::String) {
                AppendJsonString(out, field.text);
            } else {
                out.Append(field.kind == Kind::Null ? std::string_view("null") : field.text);
            }
        }
        out.Append('}');
    } else {
        bool first = true;
        for (const Field& field : record.Fields()) {
            if (!first) {
                out.Append('\t');
            }
            first = false;
            AppendColumn(out, field.text);
        }
    }
    out.Append(m_lineEnd);
}

void Runner::WriteCopyLines(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
                            std::string_view star)
{
    if (m_answers++ > 0) {
        m_out.Append(m_lineEnd);   // a blank line between the answers of a batch
    }
    for (const Macro& macro : kMacros) {
        if (std::find(sources.begin(), sources.end(), macro.source) == sources.end()) {
            continue;
        }
        // The elapsed-time line is there only when the zone's offset changes between, as on the page.
        if (macro.source == MacroSource::Difference && macro.controlId == kElapsedLineId &&
            pages.FieldText(macro.source, macro.controlId).value_or(std::string()).empty()) {
            continue;
        }
        const std::string item = m_language.MenuLabel(macro.substitutionId, macro.substitutionLabel) + '\t' +
                                 std::string(macro.code) + (macro.trailingBlank ? " " : "");
        std::string filled = ExpandMenuItemText(item, pages, m_services.clock, m_services.formatter);
        const std::size_t tab = filled.find('\t');
        if (!star.empty() && std::string_view(filled).substr(tab + 1) == "*") {
            filled.replace(tab + 1, std::string::npos, star);
        }
        m_out.Append(BuildOutputLine(filled, m_options.dataOnly, m_options.crlf));
        if (!m_options.crlf) {
            m_out.Append('\n');
        }
    }
}

std::optional<Moment> Runner::ReadMoment(std::string_view name, std::string_view text)
{
    std::optional<Moment> moment = ParseMoment(text, m_services.clock);
    if (!moment) {
        BadInput(std::string(name) + " '" + std::string(text) + "' is not a moment: use " + std::string(kMomentForms));
    }
    return moment;
}

bool Runner::InPageRange(std::string_view name, const Moment& moment, Record* record)
{
    if (IsInPickerRange(moment.value)) {
        return true;
    }
    const std::string message = "no answer: " + std::string(name) + " " + std::string(moment.Iso()) +
                                " lies outside the pages' range, " + std::string(kPageRange);
    if (record != nullptr) {
        NoAnswer(message, *record);
    } else {
        Problem(message);
        m_status = std::max(m_status, kExitNoAnswer);
    }
    return false;
}

void Runner::Difference(std::span<const std::string_view> texts)
{
    const std::optional<Moment> start = ReadMoment("START", texts[0]);
    const std::optional<Moment> final = start ? ReadMoment("FINAL", texts[1]) : std::nullopt;
    if (!final) {
        return;
    }
    // The record is made only for the rare answer without figures: a batch makes millions of answers.
    if (!IsInPickerRange(start->value) || !IsInPickerRange(final->value)) {
        Record record;
        record.Add("start", start->Iso());
        record.Add("final", final->Iso());
        InPageRange("START", *start, &record) && InPageRange("FINAL", *final, &record);
        return;
    }
    if (m_options.format == OutputFormat::Text) {
        ComputedValueSource pages;
        ShowDifference(pages, start->value, final->value, ComputeDifference(start->value, final->value),
                       ComputeElapsedLine(start->value, final->value, m_services.zones, m_language));
        WriteCopyLines(pages, {MacroSource::Difference});
        return;
    }
    // The same figures as the page's texts, written straight into the output: a batch of a million pairs
    // should cost little more than computing them.
    const std::array<std::int64_t, 15> figures = *DifferenceFigures(start->value, final->value);
    const bool json = m_options.format == OutputFormat::Json;
    const auto put = [](char* at, std::string_view text) { return std::copy(text.begin(), text.end(), at); };
    char* at = m_out.Reserve(1024);
    at = put(at, json ? R"({"start":")" : "");
    at = put(at, start->Iso());
    at = put(at, json ? R"(","final":")" : "\t");
    at = put(at, final->Iso());
    at = put(at, json ? "\"" : "");
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (json) {
            at = put(put(put(at, ",\""), kDifferenceKeys[i]), "\":");
        } else {
            *at++ = '\t';
        }
        at = WriteFigure(at, figures[i]);
    }
    // Only JSON names the real elapsed time: tsv keeps its seventeen columns for the scripts that cut them.
    if (json) {
        if (const std::optional<LocalElapsed> elapsed = m_services.zones.ElapsedBetween(start->value, final->value);
            elapsed && elapsed->offsetChanged) {
            at = WriteFigure(put(at, R"(,"elapsedSeconds":)"), elapsed->seconds);
        }
    }
    at = put(at, json ? "}" : "");
    m_out.Commit(put(at, m_lineEnd));
}

void Runner::Calculation(std::span<const std::string_view> texts)
{
    const std::optional<Moment> start = ReadMoment("START", texts[0]);
    if (!start) {
        return;
    }
    Record record;
    record.Add("start", start->Iso());
    if (!InPageRange("START", *start, &record)) {
        return;
    }
    CalculationInput input{start->value, {}, !m_options.WeeksChosen(), m_options.WeeksChosen(), false};
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        input.countTexts[i] = std::to_string(m_options.counts[i].value_or(0));
    }
    const CalculationResult result = ComputeCalculation(input, m_services.formatter);
    for (const auto& [available, side] :
         {std::pair{result.differenceAvailable, "before"}, {result.sumAvailable, "after"}}) {
        if (!available) {
            m_status = std::max(m_status, kExitNoAnswer);
            Problem(std::string(kNoSuchDate) + " " + side + " " + std::string(start->Iso()) +
                    ": a step lands on a day its month does not have, or outside 1601-01-01T00:00:00 to "
                    "9999-12-31T23:59:59");
        }
    }
    if (m_options.format == OutputFormat::Text) {
        ComputedValueSource pages;
        ShowCalculation(pages, input, result);
        WriteCopyLines(pages, {MacroSource::Calculation}, kNoSuchDate);
        return;
    }
    if (m_options.format == OutputFormat::Json) {
        for (std::size_t i = 0; i < kCountFieldCount; ++i) {
            record.Add(kCountKeys[i], result.countTexts[i], Kind::Number);
        }
    }
    const std::optional<Moment> before = MomentOrNone(result.difference), after = MomentOrNone(result.sum);
    record.Add("before", result.differenceAvailable ? before->Iso() : kNoSuchDate);
    record.Add("after", result.sumAvailable ? after->Iso() : kNoSuchDate);
    Write(record);
}

void Runner::TimeInfo(std::span<const std::string_view> texts)
{
    const std::optional<Moment> moment = ReadMoment("MOMENT", texts[0]);
    if (!moment) {
        return;
    }
    Record record;
    record.Add("moment", moment->Iso());
    if (!InPageRange("MOMENT", *moment, &record)) {
        return;
    }
    const TimeInfoResults results = ComputeTimeInfo(moment->value, m_zone, m_language, m_services.formatter,
                                                    m_options.astronomical ? &m_services.clock : nullptr);
    if (m_options.format == OutputFormat::Text) {
        ComputedValueSource pages;
        ShowTimeInfo(pages, moment->value, results);
        WriteCopyLines(pages, {MacroSource::TimeInfo, MacroSource::General, MacroSource::TimeZone, MacroSource::Moon,
                               MacroSource::Horoscope});
        return;
    }
    const auto optionalText = [&record](std::string_view key, std::string_view text) {
        record.Add(key, text, text.empty() ? Kind::Null : Kind::String);
    };
    record.Add("weekday", TextOf(results.facts, kDayOfWeekFieldId));
    record.Add("leapYear", IsLeapYear(moment->value.GetYear()) ? "true" : "false", Kind::Bool);
    record.Add("dayOfYear", TextOf(results.facts, kDayNumberFieldId), Kind::Number);
    record.Add("week", TextOf(results.facts, kWeekNumberFieldId), Kind::Number);
    const IsoWeek isoWeek = IsoWeekOf(moment->value).value_or(IsoWeek{});
    const std::string isoWeekText = std::to_string(isoWeek.week), isoYearText = std::to_string(isoWeek.year);
    record.Add("isoWeek", isoWeekText, Kind::Number);
    record.Add("isoWeekYear", isoYearText, Kind::Number);
    record.Add("quarter", TextOf(results.facts, kQuarterFieldId), Kind::Number);
    record.Add("season", TextOf(results.facts, kSeasonFieldId));
    record.Add("zone", TextOf(results.zone.fields, kZoneFieldId));
    optionalText("dstBegins", TextOf(results.zone.fields, kBeginRuleFieldId));
    optionalText("dstEnds", TextOf(results.zone.fields, kEndRuleFieldId));
    const std::optional<Moment> nextBegin =
        MomentOrNone(results.zone.hasRules ? results.zone.nextBegin : DateTime::Invalid());
    const std::optional<Moment> nextEnd =
        MomentOrNone(results.zone.hasRules ? results.zone.nextEnd : DateTime::Invalid());
    record.AddMoment("nextDstBegin", nextBegin);
    record.AddMoment("nextDstEnd", nextEnd);
    std::string_view phase = TextOf(results.moonTexts, kMoonPhaseFieldId);
    record.Add("moonPhase", phase.substr(0, phase.find('%')), Kind::Number);
    const MoonPhase& moon = *results.moon;
    const std::optional<Moment> moons[] = {MomentOrNone(moon.previousFull), MomentOrNone(moon.nextFull),
                                           MomentOrNone(moon.previousNew), MomentOrNone(moon.nextNew)};
    record.AddMoment("previousFullMoon", moons[0]);
    record.AddMoment("nextFullMoon", moons[1]);
    record.AddMoment("previousNewMoon", moons[2]);
    record.AddMoment("nextNewMoon", moons[3]);
    record.Add("sign", TextOf(results.horoscope, kSignFieldId));
    record.Add("yearAnimal", TextOf(results.horoscope, kYearAnimalFieldId));
    Write(record);
}

void Runner::Expand()
{
    const std::string path(m_options.operands[0]);
    FileReadResult file = ReadFileLimited(path, kMaxTemplateBytes);
    if (file.status != FileReadStatus::Ok) {
        Problem(file.status == FileReadStatus::TooLarge
                    ? "template " + path + " is larger than " + std::to_string(kMaxTemplateBytes >> 20) +
                          " MiB, the most a template may hold"
                : file.status == FileReadStatus::Missing ? "cannot read template " + path + ": no such file"
                                                         : "cannot read template " + path + ": not a readable file");
        m_status = kExitBadUse;
        return;
    }
    const auto given = [](const std::optional<std::string_view>& text) { return text.value_or("now"); };
    const std::pair<std::string_view, std::string_view> inputs[] = {
        {"--start", given(m_options.start)},
        {"--final", given(m_options.final)},
        {"--calc-start", m_options.calcStart ? *m_options.calcStart : given(m_options.start)},
        {"--info", given(m_options.info)}};
    std::array<Moment, 4> moments;
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const std::optional<Moment> moment = ReadMoment(inputs[i].first, inputs[i].second);
        if (!moment || !InPageRange(inputs[i].first, *moment, nullptr)) {
            return;
        }
        moments[i] = *moment;
    }

    ComputedValueSource pages;
    ShowDifference(pages, moments[0].value, moments[1].value, ComputeDifference(moments[0].value, moments[1].value),
                   ComputeElapsedLine(moments[0].value, moments[1].value, m_services.zones, m_language));
    CalculationInput calculation{moments[2].value, {}, !m_options.WeeksChosen(), m_options.WeeksChosen(), false};
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        calculation.countTexts[i] = std::to_string(m_options.counts[i].value_or(0));
    }
    ShowCalculation(pages, calculation, ComputeCalculation(calculation, m_services.formatter));
    ShowTimeInfo(pages, moments[3].value,
                 ComputeTimeInfo(moments[3].value, m_zone, m_language, m_services.formatter,
                                 m_options.astronomical ? &m_services.clock : nullptr));
    if (::Expand(file.bytes, pages, m_services.clock, m_services.formatter, m_language).capped) {
        Problem("the expansion of " + path + " is longer than " + std::to_string(kExpansionLimit >> 20) +
                " MiB, the most one expansion may give: it was cut there");
        m_status = std::max(m_status, kExitNoAnswer);
    }
    m_out.Append(file.bytes);
}

}   // namespace

int RunCli(std::span<const std::string_view> args, const CliServices& services, int in, int out, int err)
{
    std::string problem;
    const std::optional<CliOptions> options = ParseCliOptions(args, problem);
    if (options && (options->command == CliCommand::Help || options->command == CliCommand::Version)) {
        const bool help = options->command == CliCommand::Help;
        if (WriteAll(out, help ? kCliUsage : "chronel-cli " CHRONEL_VERSION "\n")) {
            return kExitAnswered;
        }
        WriteAll(err, help ? "chronel-cli: the help could not be written\n"
                           : "chronel-cli: the version could not be written\n");
        return kExitNoAnswer;
    }
    std::optional<LanguageFile> language;
    if (options) {
        language =
            options->language ? LanguageFile::Find(*options->language, services.location, problem) : LanguageFile();
    }
    if (options && language && options->zone && !services.useZone(std::string(*options->zone))) {
        problem = "'" + std::string(*options->zone) +
                  "' names no time zone: give a zone such as Europe/Berlin (under TZDIR or /usr/share/zoneinfo) "
                  "or a TZ string such as CET-1CEST,M3.5.0,M10.5.0/3";
        language.reset();
    }
    if (!options || !language) {
        WriteAll(err, "chronel-cli: " + problem + "\n");
        return kExitBadUse;
    }
    return Runner(*options, services, *language, in, out, err).Run();
}
