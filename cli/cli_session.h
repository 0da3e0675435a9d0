#pragma once

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "cli/answer_line.h"
#include "cli/cli.h"
#include "cli/cli_options.h"
#include "cli/computed_value_source.h"
#include "cli/language_file.h"
#include "cli/moment_text.h"
#include "cli/stream_io.h"

// One run of a command: what it was given, where its answers and problems go, and its exit status. The
// commands share through it how moments are read, problems reported and answers written.
class CliSession {
public:
    // Answers one set of texts: the operands, or the pieces of one line of stdin.
    using Handler = void (*)(CliSession& session, std::span<const std::string_view> texts);

    CliSession(const CliOptions& options, const CliServices& services, const LanguageFile& language, int in, int out,
               int err);

    const CliOptions& Options() const { return m_options; }
    const CliServices& Services() const { return m_services; }
    const LanguageFile& Language() const { return m_language; }
    OutputBuffer& Out() { return m_out; }
    std::string_view LineEnd() const { return m_lineEnd; }
    // The zone as the machine gives it, read once for all answers.
    void ReadZone() { m_zone = m_services.zones.CurrentZoneRules(); }
    const std::optional<ZoneRules>& Zone() const { return m_zone; }

    // Calls `handler` once with the operands ("now" when there are none), or once per line of stdin where
    // one of them is "-".
    void Answer(Handler handler);
    // Writes what is left of the answers; the exit status.
    int Finish();

    // One line on stderr, naming the input line in a batch.
    void Problem(std::string_view message);
    // The exit status becomes at least `status`.
    void Raise(int status) { m_status = std::max(m_status, status); }
    // Input that is no input: in a batch the line's answer says "error", otherwise the command line is bad.
    void BadInput(std::string_view message);
    // An answer that has none: `record`, which names what was asked, says why.
    void NoAnswer(std::string_view message, Record& record);
    void Write(const Record& record);
    // The lines Copy >> gives for every item of the pages' Substitution sub-menus, in menu order; a field
    // that reads "*" reads `star`.
    void WriteCopyLines(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
                        std::string_view star = {});

    // The moment `text` given as `name`; empty, with the problem reported, when it is none.
    std::optional<Moment> ReadMoment(std::string_view name, std::string_view text);
    // False, with the problem reported, when the moment lies outside what the pages can hold; the record
    // of the answer, when there is one, says so too.
    bool InPageRange(std::string_view name, const Moment& moment, Record* record);

private:
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
