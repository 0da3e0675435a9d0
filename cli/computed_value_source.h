#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "calc/calculation.h"
#include "calc/difference.h"
#include "calc/working_days_line.h"
#include "info/calendar_facts.h"
#include "info/horoscope.h"
#include "info/moon_phase.h"
#include "info/time_zone.h"
#include "templates/substitution.h"

// The pickers of the pages, by control id: templates read them as a long date and a time.
inline constexpr int kDifferenceStartDateId = 1001;
inline constexpr int kDifferenceStartTimeId = 1120;
inline constexpr int kDifferenceFinalDateId = 1002;
inline constexpr int kDifferenceFinalTimeId = 1122;
inline constexpr int kCalculationStartDateId = 1070;
inline constexpr int kCalculationStartTimeId = 1071;
inline constexpr int kTimeInfoDateId = 1045;
inline constexpr int kTimeInfoTimeId = 1090;
// The Difference page's zone choosers, which %DSZ% and %DEZ% read.
inline constexpr int kDifferenceStartZoneId = 1135;
inline constexpr int kDifferenceFinalZoneId = 1136;

// The pages' fields without the pages: each holds the text the page's own computation gives it, addressed
// by page and control id as the macros address them. A field never set does not exist, so its macros stay
// as typed.
class ComputedValueSource final : public MacroValueSource {
public:
    void SetFields(MacroSource page, std::span<const ::FieldText> fields);
    void SetFields(MacroSource page, std::span<const FigureField> fields);
    // A date picker and a time picker that hold the same moment.
    void SetPickers(MacroSource page, int dateId, int timeId, const DateTime& value);

    bool PagesExist() const override { return true; }
    bool TimeInfoSubPagesExist() const override { return true; }
    std::optional<std::string> FieldText(MacroSource page, int controlId) const override;
    std::optional<SystemTime> PickerRecord(MacroSource page, int controlId) const override;

private:
    std::map<std::pair<MacroSource, int>, std::string> m_texts;
    std::map<std::pair<MacroSource, int>, SystemTime> m_pickers;
};

// What the four sub-pages of Time Info compute for one moment.
struct TimeInfoResults {
    CalendarFactTexts facts;
    TimeZoneTexts zone;   // only the zone line and four empty fields without a zone
    std::optional<MoonPhase> moon;
    MoonTexts moonTexts;
    HoroscopeTexts horoscope;
};
// Without a zone the Time Zone sub-page shows nothing, as a page that could not read the zone. With
// `astronomicalClock` the moon is the real one in that clock's zone, as the Moon sub-page's Astronomical
// times give it; without, the mean lunation. With `model` the zone's next changes come from its history.
TimeInfoResults ComputeTimeInfo(const DateTime& value, const std::optional<ZoneRules>& zone,
                                const MessageSource& messages, const LocaleFormatter& formatter,
                                const Clock* astronomicalClock = nullptr, const ZoneModel* model = nullptr);

// Each page as it shows these inputs and their results.
// The elapsed-time line holds what its macro gives on the page (ElapsedLineValue: without its label), and
// is empty while the page hides it. The working-day line is there only when `workingDays` is given; the
// ends' zones (%DSZ%, %DEZ%) only when named.
void ShowDifference(ComputedValueSource& pages, const DateTime& start, const DateTime& final,
                    const DifferenceTexts& texts, const ElapsedLine& elapsed, const ::FieldText* workingDays = nullptr,
                    const std::array<std::string, 2>& endZones = {});
void ShowCalculation(ComputedValueSource& pages, const CalculationInput& input, const CalculationResult& result);
void ShowTimeInfo(ComputedValueSource& pages, const DateTime& value, const TimeInfoResults& results);
