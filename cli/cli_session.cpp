#include "cli/cli_session.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/calendar.h"
#include "templates/substitution.h"

namespace {

constexpr std::string_view kPageRange = "1754-01-01T00:00:00 to 9998-12-31T23:59:59";

}   // namespace

CliSession::CliSession(const CliOptions& options, const CliServices& services, const LanguageFile& language, int in,
                       int out, int err)
    : m_options(options),
      m_services(services),
      m_language(language),
      m_in(in),
      m_out(out),
      m_err(err),
      m_lineEnd(options.crlf ? "\r\n" : "\n")
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
    if (fromInput == 0) {
        handler(*this, {texts.data(), count});
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
        handler(*this, {texts.data(), count});
    }
    // Input that cannot be read is no input: the answers given so far may be all there are.
    if (lines.Error() != 0) {
        WriteAll(m_err, std::string("chronel-cli: ") +
                            (m_in < 0 ? "stdin is closed"
                                      : "cannot read stdin: " + std::string(std::strerror(lines.Error()))) +
                            "\n");
        Raise(kExitBadUse);
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

void CliSession::BadInput(std::string_view message)
{
    Problem(message);
    if (!m_batch) {
        Raise(kExitBadUse);
        return;
    }
    Raise(kExitNoAnswer);
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

void CliSession::NoAnswer(std::string_view message, Record& record)
{
    Problem(message);
    Raise(kExitNoAnswer);
    if (m_options.format == OutputFormat::Text) {
        Record alone;
        alone.Add("error", "no answer");
        Write(alone);
        return;
    }
    record.Add("error", message);
    Write(record);
}

void CliSession::Write(const Record& record)
{
    AnswerLine line(m_out, m_options.format == OutputFormat::Json);
    for (const Field& field : record.Fields()) {
        line.Value(field.key, field.text, field.kind);
    }
    line.End(m_lineEnd);
}

void CliSession::WriteCopyLines(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
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

std::optional<Moment> CliSession::ReadMoment(std::string_view name, std::string_view text)
{
    std::optional<Moment> moment = ParseMoment(text, m_services.clock);
    if (!moment) {
        BadInput(std::string(name) + " '" + std::string(text) + "' is not a moment: use " + std::string(kMomentForms));
    }
    return moment;
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
