#include "cli/cli_session.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/working_week.h"
#include "core/calendar.h"
#include "platform/zone_catalog.h"
#include "templates/substitution.h"

namespace {

constexpr std::string_view kPageRange = "1754-01-01T00:00:00 to 9998-12-31T23:59:59";

std::vector<std::string_view> ColumnsOf(const CliOptions& options)
{
    if (!options.fields.empty()) {
        return options.fields;
    }
    const bool json = options.format == OutputFormat::Json;
    std::vector<std::string_view> columns;
    if (json) {
        columns.push_back(kLineKey);
    }
    if (options.answerTemplate) {
        columns.push_back(kTextKey);
    }
    for (const AnswerKey& key : options.answerTemplate ? std::span<const AnswerKey>() : AnswerKeys(options.command)) {
        if (key.AskedFor(options) && (json || key.column || (options.elapsed && key.name == "elapsedSeconds"))) {
            columns.push_back(key.name);
        }
    }
    columns.push_back(kErrorKey);
    return columns;
}

const Field* FieldOf(const Record& record, std::string_view key)
{
    const auto found = std::ranges::find(record.Fields(), key, &Field::key);
    return found != record.Fields().end() ? &*found : nullptr;
}

}   // namespace

CliSession::CliSession(const CliOptions& options, const CliServices& services, const LanguageFile& language,
                       const ZoneModel& zone, int in, int out, int err)
    : m_options(options),
      m_services(services),
      m_language(language),
      m_in(in),
      m_out(out),
      m_err(err),
      m_lineEnd(options.crlf ? "\r\n" : "\n"),
      m_zoneModel(zone),
      m_zones(zone, services.clock),
      m_format(options.format),
      m_whole(options.fields.empty() && !options.answerTemplate && options.format != OutputFormat::Text),
      m_columns(ColumnsOf(options))
{
}

void CliSession::Answer(Handler handler)
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
    m_texts = {texts.data(), count};
    if (m_options.header) {
        AnswerLine header(m_out, false);
        for (const std::string_view column : m_columns) {
            header.Value(column, column);
        }
        header.End(m_lineEnd);
    }
    if (fromInput == 0) {
        handler(*this, m_texts);
        return;
    }

    m_batch = true;
    LineReader lines(m_in, m_out);
    std::string_view line;
    bool tooLong = false;
    while (lines.Next(line, tooLong) && !m_out.Failed()) {
        m_lineNumber = lines.LineNumber();
        if (tooLong) {
            texts.fill({});
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
            texts = {line, {}};
            BadInput("expected START<TAB>FINAL");
            continue;
        }
        handler(*this, m_texts);
    }
    // Input that cannot be read is no input: the answers given so far may be all there are.
    if (lines.Error() != 0) {
        m_batch = false;
        Refuse(m_in < 0 ? "stdin is closed" : "cannot read stdin: " + std::string(std::strerror(lines.Error())));
    }
}

int CliSession::Finish()
{
    if (!m_out.Flush()) {
        WriteAll(m_err, "chronel-cli: the answers could not be written\n");
        Raise(kExitNoAnswer);
    }
    return m_status;
}

bool CliSession::ReadNamedZones()
{
    std::string problem;
    const auto load = [&](std::string_view name) {
        std::optional<ZoneModel> zone = m_services.loadZone(name, problem);
        if (!zone) {
            Refuse(problem);
        }
        return zone;
    };
    for (const auto& [name, zone] :
         {std::pair{m_options.startZone, &m_startZone}, {m_options.finalZone, &m_finalZone}}) {
        if (name && !(*zone = load(*name))) {
            return false;
        }
    }
    if (m_startZone || m_finalZone) {
        m_endZones.emplace(m_zones, StartZone(), FinalZone());
    }
    for (const std::string_view name : m_options.toZones) {
        std::optional<ZoneModel> zone = load(name);
        if (!zone) {
            return false;
        }
        m_toZones.push_back(std::move(*zone));
    }
    return true;
}

std::optional<std::int64_t> CliSession::ElapsedSeconds(const DateTime& start, const DateTime& final) const
{
    const std::optional<LocalElapsed> elapsed = DifferenceZones().ElapsedBetween(start, final);
    if (elapsed && elapsed->offsetChanged) {
        return elapsed->seconds;
    }
    return std::nullopt;
}

std::optional<LocalElapsed> EndZones::ElapsedBetween(const DateTime& from, const DateTime& to) const
{
    std::optional<LocalElapsed> elapsed = ElapsedBetweenZones(m_start, from, m_final, to);
    if (elapsed) {
        elapsed->offsetChanged = true;
    }
    return elapsed;
}

std::string CliSession::AnswerZoneName() const
{
    if (m_options.zone) {
        return std::string(*m_options.zone);
    }
    const std::string name = ComputerZoneName(std::getenv("TZ"));
    return name.empty() ? "local" : name;
}

std::array<std::string, 2> CliSession::EndZoneNames() const
{
    if (!EndsHaveZones()) {
        return {};
    }
    const std::string both = AnswerZoneName();
    return {m_options.startZone ? std::string(*m_options.startZone) : both,
            m_options.finalZone ? std::string(*m_options.finalZone) : both};
}

bool CliSession::ReadWorkingDays()
{
    // A template may name the working days; the other commands count them only when asked.
    if (!m_options.CountsWorkingDays() && m_options.command != CliCommand::Expand) {
        return true;
    }
    std::string problem;
    std::vector<std::string> warnings;
    m_calendar = LoadWorkingCalendar(m_options, m_services.location, problem, warnings);
    for (const std::string& warning : warnings) {
        Problem(warning);
    }
    if (!m_calendar) {
        Refuse(problem);
    }
    return m_calendar.has_value();
}

void CliSession::Problem(std::string_view message)
{
    std::string line = "chronel-cli: ";
    if (m_batch) {
        line += "line " + std::to_string(m_lineNumber) + ": ";
    }
    line += message;
    line += '\n';
    WriteAll(m_err, line);
}

void CliSession::Refuse(std::string_view message)
{
    Problem(message);
    Raise(kExitBadUse);
    if (m_format == OutputFormat::Json) {
        m_out.Append(RefusalJson(message));
    }
}

void CliSession::BadInput(std::string_view message)
{
    if (!m_batch) {
        Refuse(message);
        return;
    }
    Problem(message);
    Raise(kExitNoAnswer);
    // The line keeps its input, as typed, in the columns of the input; sun's answers have no such column.
    Record record;
    const std::span<const AnswerKey> keys =
        m_options.command == CliCommand::Sun ? std::span<const AnswerKey>() : AnswerKeys(m_options.command);
    for (std::size_t i = 0; i < m_texts.size() && i < keys.size(); ++i) {
        record.Add(keys[i].name, m_texts[i]);
    }
    record.Add(kErrorKey, message);
    Write(record);
}

void CliSession::NoAnswer(std::string_view message, Record& record)
{
    Problem(message);
    Raise(kExitNoAnswer);
    record.Add(kErrorKey, message);
    Write(record);
}

void CliSession::Write(const Record& record)
{
    const Field* error = FieldOf(record, kErrorKey);
    if (m_format == OutputFormat::Text) {
        WriteText(record, error);
        return;
    }
    AnswerLine line(m_out, m_format == OutputFormat::Json);
    for (const std::string_view column : m_columns) {
        if (column == kLineKey) {
            WriteLineKey(line);
        } else if (const Field* field = FieldOf(record, column)) {
            line.Value(column, field->text, field->kind);
        } else {
            line.Value(column, {}, Kind::Null);
        }
    }
    line.End(m_lineEnd);
}

void CliSession::WriteText(const Record& record, const Field* error)
{
    if (m_options.answerTemplate) {
        // One line per answer, empty for a line without one: the lines stay paired with the input's.
        const Field* text = FieldOf(record, kTextKey);
        m_out.Append(text != nullptr && error == nullptr ? text->text : std::string_view());
        m_out.Append(m_lineEnd);
        return;
    }
    if (error != nullptr) {
        m_out.Append(m_options.dataOnly ? std::string_view() : std::string_view("Error: "));
        m_out.Append(error->text);
        m_out.Append(m_lineEnd);
    } else {
        for (const std::string_view column : m_columns) {
            const Field* field = FieldOf(record, column);
            if (column == kLineKey && m_batch) {
                m_out.AppendNumber(static_cast<std::int64_t>(m_lineNumber));
            } else if (field != nullptr) {
                m_out.Append(field->text);
            }
            m_out.Append(m_lineEnd);
        }
    }
    if (m_batch) {
        m_out.Append(m_lineEnd);
    }
}

void CliSession::WritePages(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
                            std::string_view star)
{
    if (m_options.answerTemplate) {
        std::string text(*m_options.answerTemplate);
        if (Expand(text, pages, m_services.clock, m_services.formatter, m_language).capped) {
            Problem("the expansion is longer than " + std::to_string(kExpansionLimit >> 20) +
                    " MiB, the most one expansion may give: it was cut there");
            Raise(kExitNoAnswer);
        }
        Record record;
        record.Add(kTextKey, text);
        Write(record);
        return;
    }
    const auto writeLine = [this](std::string_view item) {
        m_out.Append(BuildOutputLine(item, m_options.dataOnly, m_options.crlf));
        if (!m_options.crlf) {
            m_out.Append('\n');
        }
    };
    for (const Macro& macro : kMacros) {
        if (std::find(sources.begin(), sources.end(), macro.source) == sources.end()) {
            continue;
        }
        // The elapsed-time line is there only when the zone's offset changes between, as on the page; the
        // working days only when they were asked for; the ends' zones only when named.
        const bool optionalLine = macro.source == MacroSource::Difference &&
                                  (macro.controlId == kElapsedLineId || macro.controlId == kWorkingDaysId ||
                                   macro.code == "%DSZ%" || macro.code == "%DEZ%");
        if (optionalLine && pages.FieldText(macro.source, macro.controlId).value_or(std::string()).empty()) {
            continue;
        }
        const std::string item = m_language.MenuLabel(macro.substitutionId, macro.substitutionLabel) + '\t' +
                                 std::string(macro.code) + (macro.trailingBlank ? " " : "");
        std::string filled = ExpandMenuItemText(item, pages, m_services.clock, m_services.formatter);
        const std::size_t tab = filled.find('\t');
        if (!star.empty() && std::string_view(filled).substr(tab + 1) == "*") {
            filled.replace(tab + 1, std::string::npos, star);
        }
        writeLine(filled);
    }
    // A batch's blocks end in an empty line each, so that splitting there pairs them with the input lines.
    if (m_batch) {
        m_out.Append(m_lineEnd);
    }
}

std::optional<Moment> CliSession::ReadMoment(std::string_view name, std::string_view text)
{
    return ReadMoment(name, text, m_zoneModel);
}

std::optional<Moment> CliSession::ReadMoment(std::string_view name, std::string_view text, const ZoneModel& zone)
{
    std::string problem;
    const std::optional<MomentText> read = ReadMomentText(text, m_services.clock, problem);
    if (!read) {
        BadInput(std::string(name) + " " + problem);
        return std::nullopt;
    }
    if (read->wall) {
        return read->wall;
    }
    const Moment wall = MomentAtWallSeconds(read->unixSeconds + zone.At(read->unixSeconds).offsetSeconds);
    if (!wall.value.IsValid()) {
        BadInput(std::string(name) + " '" + std::string(text) + "' is past the year 9999 or before 0100 in the zone");
        return std::nullopt;
    }
    return wall;
}

bool CliSession::InPageRange(std::string_view name, const Moment& moment, Record* record)
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
        Raise(kExitNoAnswer);
    }
    return false;
}
