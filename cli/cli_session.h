#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/working_days.h"
#include "cli/answer_keys.h"
#include "cli/answer_line.h"
#include "cli/cli.h"
#include "cli/cli_options.h"
#include "cli/computed_value_source.h"
#include "cli/language_file.h"
#include "cli/moment_text.h"
#include "cli/stream_io.h"
#include "info/model_zone_source.h"
#include "info/sun.h"

// The zones of diff's two ends, as the Difference page's elapsed line reads them: the real time between
// always shows. All three must outlive it.
class EndZones final : public ZoneSource {
public:
    EndZones(const ZoneSource& base, const ZoneModel& start, const ZoneModel& final)
        : m_base(base),
          m_start(start),
          m_final(final)
    {
    }
    std::optional<ZoneRules> CurrentZoneRules() const override { return m_base.CurrentZoneRules(); }
    std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const override;

private:
    const ZoneSource& m_base;
    const ZoneModel& m_start;
    const ZoneModel& m_final;
};

// One run of a command: what it was given, where its answers and problems go, and its exit status. The
// commands share through it how moments are read, problems reported and answers written.
class CliSession {
public:
    // Answers one set of texts: the operands, or the pieces of one line of stdin.
    using Handler = void (*)(CliSession& session, std::span<const std::string_view> texts);

    // `zone` must outlive the session.
    CliSession(const CliOptions& options, const CliServices& services, const LanguageFile& language,
               const ZoneModel& zone, int in, int out, int err);

    const CliOptions& Options() const { return m_options; }
    const CliServices& Services() const { return m_services; }
    const LanguageFile& Language() const { return m_language; }
    OutputBuffer& Out() { return m_out; }
    // Stdin; -1 when it is closed.
    int In() const { return m_in; }
    std::string_view LineEnd() const { return m_lineEnd; }
    // The zone the answers are given in.
    const ZoneSource& Zones() const { return m_zones; }
    // Its rules as they are now, read once for all answers.
    void ReadZone() { m_zone = m_zones.CurrentZoneRules(); }
    const std::optional<ZoneRules>& Zone() const { return m_zone; }
    // Reads the zones the command line names besides --tz (--start-tz, --final-tz, --to); false, with the
    // problem refused, when one names no zone.
    bool ReadNamedZones();
    // The zone the answers are given in, and those of diff's two ends (each that zone when not named).
    const ZoneModel& AnswerZone() const { return m_zoneModel; }
    const ZoneModel& StartZone() const { return m_startZone ? *m_startZone : m_zoneModel; }
    const ZoneModel& FinalZone() const { return m_finalZone ? *m_finalZone : m_zoneModel; }
    // The name --tz gives, else the computer's zone's own name, else "local" (a TZ string, a copied file).
    std::string AnswerZoneName() const;
    // Whether diff's ends have zones of their own, and their names (%DSZ%, %DEZ%): both empty without, as
    // the page's choosers then name none.
    bool EndsHaveZones() const { return m_startZone || m_finalZone; }
    std::array<std::string, 2> EndZoneNames() const;
    // sun's place, which the answers share.
    void SetSunPlace(const GeoPoint& place) { m_sunPlace = place; }
    const GeoPoint& SunPlace() const { return m_sunPlace; }
    // Whether the answers are those of lines of stdin.
    bool InBatch() const { return m_batch; }
    // The instant a moment's text names, its wall time read in the answer zone; "now" is the present
    // instant itself, as its wall time may be one of a repeated hour's two.
    std::int64_t InstantOfText(std::string_view text, const MomentText& read) const
    {
        const std::optional<std::int64_t> now = text == "now" ? m_services.clock.UnixNow() : std::nullopt;
        return now ? *now : read.wall ? m_zoneModel.InstantOf(WallSecondsOf(read.wall->value)) : read.unixSeconds;
    }
    // convert's --to zones, in order.
    const std::vector<ZoneModel>& ToZones() const { return m_toZones; }
    // The real seconds from `start` to `final`: always when diff's ends have zones of their own, else when
    // the answer zone's offset changes between them.
    std::optional<std::int64_t> ElapsedSeconds(const DateTime& start, const DateTime& final) const;
    // What the Difference page's elapsed line is told: the ends' zones when they have their own.
    const ZoneSource& DifferenceZones() const
    {
        return m_endZones ? static_cast<const ZoneSource&>(*m_endZones) : m_zones;
    }
    // Reads which days are working days, when the command line counts them; false, with the problem refused,
    // when they cannot be known.
    bool ReadWorkingDays();
    // Valid after ReadWorkingDays when the command line counts working days.
    const WorkingCalendar& Calendar() const { return *m_calendar; }

    // Calls `handler` once with the operands ("now" when there are none), or once per line of stdin where
    // one of them is "-".
    void Answer(Handler handler);
    // Writes what is left of the answers; the exit status.
    int Finish();

    // Whether answers are the command's own keys, all of them, in the chosen format: no --field or
    // --template chooses, and the format is not text. Such an answer may be written straight (WriteLineKey,
    // then its keys, then WriteNoError).
    bool WholeAnswers() const { return m_whole; }
    // Whether an answer is written from the pages' fields: text's Copy >> lines, or --template.
    bool FromPages() const
    {
        return m_options.answerTemplate || (m_format == OutputFormat::Text && m_options.fields.empty());
    }
    template <class Sink>
    void WriteLineKey(AnswerLine<Sink>& line) const
    {
        m_batch ? line.Number(kLineKey, static_cast<std::int64_t>(m_lineNumber)) : line.Value(kLineKey, {}, Kind::Null);
    }
    template <class Sink>
    void WriteNoError(AnswerLine<Sink>& line) const
    {
        line.Value(kErrorKey, {}, Kind::Null);
    }

    // One line on stderr, naming the input line in a batch.
    void Problem(std::string_view message);
    // The exit status becomes at least `status`.
    void Raise(int status) { m_status = std::max(m_status, status); }
    // What cannot be used at all (exit status 2): one line on stderr, and in JSON an object that says so.
    void Refuse(std::string_view message);
    // Input that is no input: in a batch the line's answer says "error", otherwise the command line is bad.
    void BadInput(std::string_view message);
    // An answer that has none: `record`, which names what was asked, says why.
    void NoAnswer(std::string_view message, Record& record);
    // An answer by its keys, in the columns chosen; a key it lacks is null (empty in a column).
    void Write(const Record& record);
    // The answer the pages give: the lines Copy >> gives for every item of their Substitution sub-menus, in
    // menu order (a field that reads "*" reads `star`), or the --template filled from them.
    void WritePages(const ComputedValueSource& pages, std::initializer_list<MacroSource> sources,
                    std::string_view star = {});

    // The moment `text` given as `name`, an instant as the zone's wall time; empty, with the problem
    // reported, when it is none.
    std::optional<Moment> ReadMoment(std::string_view name, std::string_view text);
    // The same, an instant shown as `zone`'s wall time.
    std::optional<Moment> ReadMoment(std::string_view name, std::string_view text, const ZoneModel& zone);
    // False, with the problem reported, when the moment lies outside what the pages can hold; the record
    // of the answer, when there is one, says so too.
    bool InPageRange(std::string_view name, const Moment& moment, Record* record);

private:
    // A text answer: its values one per line, or the error that it has none.
    void WriteText(const Record& record, const Field* error);

    const CliOptions& m_options;
    const CliServices& m_services;
    const LanguageFile& m_language;
    int m_in;
    OutputBuffer m_out;
    int m_err;
    std::string_view m_lineEnd;
    const ZoneModel& m_zoneModel;
    ModelZoneSource m_zones;
    std::optional<ZoneRules> m_zone;
    std::optional<ZoneModel> m_startZone, m_finalZone;
    std::vector<ZoneModel> m_toZones;
    std::optional<EndZones> m_endZones;
    std::optional<WorkingCalendar> m_calendar;
    GeoPoint m_sunPlace;
    OutputFormat m_format;
    bool m_whole;
    // The keys of every answer, in order: those --field gives, or the command's in the chosen format.
    std::vector<std::string_view> m_columns;
    // The texts being answered, for the answer that says they are no input.
    std::span<const std::string_view> m_texts;
    bool m_batch = false;
    std::size_t m_lineNumber = 0;
    int m_status = kExitAnswered;
};
