#include "cli/cli_commands.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "calc/calculation.h"
#include "calc/difference.h"
#include "calc/working_days.h"
#include "calc/working_days_line.h"
#include "cli/sun_command.h"
#include "cli/zone_commands.h"
#include "core/calendar.h"
#include "core/file_access.h"
#include "templates/substitution.h"
#include "templates/template_store.h"

namespace {

constexpr std::string_view kNoSuchDate = "no such date";

// The JSON keys of the Difference page's fifteen figures, in the order ComputeDifference gives them; the
// tab-separated columns follow the same order.
constexpr std::array<std::string_view, 15> kDifferenceKeys = {
    "years",      "months",      "days",       "hours",     "minutes",    "seconds",      "weeks",       "weekDays",
    "totalYears", "totalMonths", "totalWeeks", "totalDays", "totalHours", "totalMinutes", "totalSeconds"};
constexpr std::array<std::string_view, kCountFieldCount> kCountKeys = {"years", "months",  "weeks",  "days",
                                                                       "hours", "minutes", "seconds"};

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

// The Calculation page's input: from `start`, the counts the command line gives.
CalculationInput CalculationFrom(const DateTime& start, const CliOptions& options)
{
    CalculationInput input{start, {}, !options.WeeksChosen(), options.WeeksChosen(), false};
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        input.countTexts[i] = std::to_string(options.counts[i].value_or(0));
    }
    return input;
}

TimeInfoResults TimeInfoAt(CliSession& session, const DateTime& value)
{
    const CliServices& services = session.Services();
    return ComputeTimeInfo(value, session.Zone(), session.Language(), services.formatter,
                           session.Options().astronomical ? &services.clock : nullptr, session.Zones().Model());
}

constexpr std::string_view kWorkingDaysKey = "workingDays";

// The working days between, when the command line asks for them.
std::optional<std::int64_t> WorkingDaysOf(const CliSession& session, const Moment& start, const Moment& final)
{
    return session.Options().workingDays ? WorkingDaysBetween(session.Calendar(), start.value, final.value)
                                         : std::nullopt;
}

// The figures as the page's texts, written straight into the output: a batch of a million pairs should cost
// little more than computing them. Each format has its own copy, so that no figure asks which it is; the
// real elapsed time is asked of the zone only where it is written.
template <bool kJson, bool kElapsed>
void WriteDifferenceFigures(CliSession& session, const Moment& start, const Moment& final)
{
    const std::array<std::int64_t, 15> figures = *DifferenceFigures(start.value, final.value);
    ReservedSpace space(session.Out(), 1024);
    AnswerLine line(space, kJson);
    if (kJson) {
        session.WriteLineKey(line);
    }
    line.Moment("start", start);
    line.Moment("final", final);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        line.Number(kDifferenceKeys[i], figures[i]);
    }
    if (session.Options().workingDays) {
        const std::optional<std::int64_t> days = WorkingDaysOf(session, start, final);
        days ? line.Number(kWorkingDaysKey, *days) : line.Value(kWorkingDaysKey, {}, Kind::Null);
    }
    if (kJson || kElapsed) {
        if (const std::optional<std::int64_t> elapsed = session.ElapsedSeconds(start.value, final.value)) {
            line.Number("elapsedSeconds", *elapsed);
        } else {
            line.Value("elapsedSeconds", {}, Kind::Null);
        }
    }
    session.WriteNoError(line);
    line.End(session.LineEnd());
}

// The answer by its keys, for the keys --field chooses.
void WriteDifferenceRecord(CliSession& session, const Moment& start, const Moment& final)
{
    const std::array<std::int64_t, 15> figures = *DifferenceFigures(start.value, final.value);
    std::array<std::string, 17> texts;
    Record record;
    record.Add("start", start.Iso());
    record.Add("final", final.Iso());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        texts[i] = std::to_string(figures[i]);
        record.Add(kDifferenceKeys[i], texts[i], Kind::Number);
    }
    if (const std::optional<std::int64_t> days = WorkingDaysOf(session, start, final)) {
        texts[16] = std::to_string(*days);
        record.Add(kWorkingDaysKey, texts[16], Kind::Number);
    }
    if (const std::optional<std::int64_t> elapsed = session.ElapsedSeconds(start.value, final.value)) {
        texts[15] = std::to_string(*elapsed);
        record.Add("elapsedSeconds", texts[15], Kind::Number);
    }
    session.Write(record);
}

// The page's elapsed line: between two places whenever the ends have zones of their own.
ElapsedLine DifferenceElapsedLine(const CliSession& session, const DateTime& start, const DateTime& final)
{
    if (!session.EndsHaveZones()) {
        return ComputeElapsedLine(start, final, session.DifferenceZones(), session.Language());
    }
    return ElapsedLineBetweenZones(start, final, session.DifferenceZones().ElapsedBetween(start, final),
                                   session.Language());
}

void AnswerDifference(CliSession& session, std::span<const std::string_view> texts)
{
    const std::optional<Moment> start = session.ReadMoment("START", texts[0], session.StartZone());
    const std::optional<Moment> final =
        start ? session.ReadMoment("FINAL", texts[1], session.FinalZone()) : std::nullopt;
    if (!final) {
        return;
    }
    // The record is made only for the rare answer without figures: a batch makes millions of answers.
    if (!IsInPickerRange(start->value) || !IsInPickerRange(final->value)) {
        Record record;
        record.Add("start", start->Iso());
        record.Add("final", final->Iso());
        session.InPageRange("START", *start, &record) && session.InPageRange("FINAL", *final, &record);
        return;
    }
    const CliOptions& options = session.Options();
    if (session.WholeAnswers()) {
        (options.format == OutputFormat::Json
             ? WriteDifferenceFigures<true, true>
             : (options.elapsed ? WriteDifferenceFigures<false, true> : WriteDifferenceFigures<false, false>))(
            session, *start, *final);
        return;
    }
    if (!session.FromPages()) {
        WriteDifferenceRecord(session, *start, *final);
        return;
    }
    ComputedValueSource pages;
    const std::optional<WorkingDaysLine> working =
        options.workingDays ? std::optional(ComputeWorkingDaysLine(start->value, final->value, session.Calendar(),
                                                                   session.Services().formatter, session.Language()))
                            : std::nullopt;
    ShowDifference(pages, start->value, final->value, ComputeDifference(start->value, final->value),
                   DifferenceElapsedLine(session, start->value, final->value), working ? &working->field : nullptr,
                   session.EndZoneNames());
    session.WritePages(pages, {MacroSource::Difference});
}

void AnswerCalculation(CliSession& session, std::span<const std::string_view> texts)
{
    const std::optional<Moment> start = session.ReadMoment("START", texts[0]);
    if (!start) {
        return;
    }
    Record record;
    record.Add("start", start->Iso());
    if (!session.InPageRange("START", *start, &record)) {
        return;
    }
    const CliOptions& options = session.Options();
    CalculationInput input = CalculationFrom(start->value, options);
    // The page's Days count with "Days are working days" ticked.
    if (options.workingDayCount) {
        input.countTexts[kDays] = std::to_string(*options.workingDayCount);
        input.workingDays = &session.Calendar();
    }
    const CalculationResult result = ComputeCalculation(input, session.Services().formatter);
    for (const auto& [available, side] :
         {std::pair{result.differenceAvailable, "before"}, {result.sumAvailable, "after"}}) {
        if (!available) {
            session.Raise(kExitNoAnswer);
            session.Problem(std::string(kNoSuchDate) + " " + side + " " + std::string(start->Iso()) +
                            ": a step lands on a day its month does not have, or outside 1601-01-01T00:00:00 to "
                            "9999-12-31T23:59:59");
        }
    }
    if (session.FromPages()) {
        ComputedValueSource pages;
        ShowCalculation(pages, input, result);
        session.WritePages(pages, {MacroSource::Calculation}, kNoSuchDate);
        return;
    }
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        record.Add(kCountKeys[i], result.countTexts[i], Kind::Number);
    }
    const std::optional<Moment> before = MomentOrNone(result.difference), after = MomentOrNone(result.sum);
    record.Add("before", result.differenceAvailable ? before->Iso() : kNoSuchDate);
    record.Add("after", result.sumAvailable ? after->Iso() : kNoSuchDate);
    session.Write(record);
}

void AnswerTimeInfo(CliSession& session, std::span<const std::string_view> texts)
{
    const std::optional<Moment> moment = session.ReadMoment("MOMENT", texts[0]);
    if (!moment) {
        return;
    }
    Record record;
    record.Add("moment", moment->Iso());
    if (!session.InPageRange("MOMENT", *moment, &record)) {
        return;
    }
    const TimeInfoResults results = TimeInfoAt(session, moment->value);
    if (session.FromPages()) {
        ComputedValueSource pages;
        ShowTimeInfo(pages, moment->value, results);
        session.WritePages(pages, {MacroSource::TimeInfo, MacroSource::General, MacroSource::TimeZone,
                                   MacroSource::Moon, MacroSource::Horoscope});
        return;
    }
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
    const auto optionalText = [&record](std::string_view key, std::string_view text) {
        record.Add(key, text, text.empty() ? Kind::Null : Kind::String);
    };
    record.Add("zone", TextOf(results.zone.fields, kZoneFieldId));
    optionalText("dstBegins", TextOf(results.zone.fields, kBeginRuleFieldId));
    optionalText("dstEnds", TextOf(results.zone.fields, kEndRuleFieldId));
    const std::optional<Moment> nextBegin =
        MomentOrNone(results.zone.hasRules ? results.zone.nextBegin : DateTime::Invalid());
    const std::optional<Moment> nextEnd =
        MomentOrNone(results.zone.hasRules ? results.zone.nextEnd : DateTime::Invalid());
    record.AddMoment("nextDstBegin", nextBegin);
    record.AddMoment("nextDstEnd", nextEnd);
    const std::string_view phase = TextOf(results.moonTexts, kMoonPhaseFieldId);
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
    session.Write(record);
}

// The template's text cannot be read: one line names why.
std::string TemplateProblem(const FileReadResult& file, const std::string& path, int error)
{
    const std::string name = path == "-" ? "on stdin" : path;
    if (file.status == FileReadStatus::TooLarge) {
        return "template " + name + " is larger than " + std::to_string(kMaxTemplateBytes >> 20) +
               " MiB, the most a template may hold";
    }
    if (path == "-") {
        return error == EBADF ? "stdin is closed"
                              : "cannot read template on stdin: " + std::string(std::strerror(error));
    }
    return "cannot read template " + path +
           (file.status == FileReadStatus::Missing ? ": no such file" : ": not a readable file");
}

void ExpandTemplate(CliSession& session)
{
    const CliOptions& options = session.Options();
    const CliServices& services = session.Services();
    const std::string path(options.operands[0]);
    int error = 0;
    FileReadResult file =
        path == "-" ? ReadAllLimited(session.In(), kMaxTemplateBytes, error) : ReadFileLimited(path, kMaxTemplateBytes);
    if (file.status != FileReadStatus::Ok) {
        session.Refuse(TemplateProblem(file, path, error));
        return;
    }
    const auto given = [](const std::optional<std::string_view>& text) { return text.value_or("now"); };
    const std::pair<std::string_view, std::string_view> inputs[] = {
        {"--start", given(options.start)},
        {"--final", given(options.final)},
        {"--calc-start", options.calcStart ? *options.calcStart : given(options.start)},
        {"--info", given(options.info)}};
    std::array<Moment, 4> moments;
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const std::optional<Moment> moment = session.ReadMoment(inputs[i].first, inputs[i].second);
        if (!moment || !session.InPageRange(inputs[i].first, *moment, nullptr)) {
            return;
        }
        moments[i] = *moment;
    }

    ComputedValueSource pages;
    const DateTime &start = moments[0].value, &final = moments[1].value;
    const WorkingDaysLine working =
        ComputeWorkingDaysLine(start, final, session.Calendar(), services.formatter, session.Language());
    ShowDifference(pages, start, final, ComputeDifference(start, final),
                   ComputeElapsedLine(start, final, session.Zones(), session.Language()), &working.field);
    const CalculationInput calculation = CalculationFrom(moments[2].value, options);
    ShowCalculation(pages, calculation, ComputeCalculation(calculation, services.formatter));
    ShowTimeInfo(pages, moments[3].value, TimeInfoAt(session, moments[3].value));
    if (Expand(file.bytes, pages, services.clock, services.formatter, session.Language()).capped) {
        session.Problem("the expansion of " + path + " is longer than " + std::to_string(kExpansionLimit >> 20) +
                        " MiB, the most one expansion may give: it was cut there");
        session.Raise(kExitNoAnswer);
    }
    if (options.format != OutputFormat::Json) {
        session.Out().Append(file.bytes);
        return;
    }
    AnswerLine line(session.Out(), true);
    line.Value(kTextKey, file.bytes);
    line.End(session.LineEnd());
}

}   // namespace

int RunCommand(CliSession& session)
{
    if (!session.ReadWorkingDays() || !session.ReadNamedZones()) {
        return session.Finish();
    }
    switch (session.Options().command) {
    case CliCommand::Diff:
        session.Answer(AnswerDifference);
        break;
    case CliCommand::Calc:
        session.Answer(AnswerCalculation);
        break;
    case CliCommand::Info:
        session.ReadZone();
        session.Answer(AnswerTimeInfo);
        break;
    case CliCommand::Expand:
        session.ReadZone();
        ExpandTemplate(session);
        break;
    case CliCommand::Zones:
        ListZonePlaces(session);
        break;
    case CliCommand::Convert:
        session.Answer(AnswerConversion);
        break;
    case CliCommand::Sun:
        if (const std::optional<GeoPoint> place = ReadSunPlace(session)) {
            session.SetSunPlace(*place);
            session.Answer(AnswerSunDay);
        }
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        return kExitBadUse;
    }
    return session.Finish();
}
