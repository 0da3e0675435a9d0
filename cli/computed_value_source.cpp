#include "cli/computed_value_source.h"

#include <array>

#include "info/sun_texts.h"

void ComputedValueSource::SetFields(MacroSource page, std::span<const ::FieldText> fields)
{
    for (const ::FieldText& field : fields) {
        m_texts[{page, field.controlId}] = field.text;
    }
}

void ComputedValueSource::SetFields(MacroSource page, std::span<const FigureField> fields)
{
    for (const FigureField& field : fields) {
        m_texts[{page, field.controlId}] = field.text.str();
    }
}

void ComputedValueSource::SetPickers(MacroSource page, int dateId, int timeId, const DateTime& value)
{
    const SystemTime record = value.GetAsSystemTime().value_or(SystemTime{});
    m_pickers[{page, dateId}] = record;
    m_pickers[{page, timeId}] = record;
}

std::optional<std::string> ComputedValueSource::FieldText(MacroSource page, int controlId) const
{
    const auto found = m_texts.find({page, controlId});
    return found != m_texts.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

std::optional<SystemTime> ComputedValueSource::PickerRecord(MacroSource page, int controlId) const
{
    const auto found = m_pickers.find({page, controlId});
    return found != m_pickers.end() ? std::optional<SystemTime>(found->second) : std::nullopt;
}

TimeInfoResults ComputeTimeInfo(const DateTime& value, const std::optional<ZoneRules>& zone,
                                const MessageSource& messages, const LocaleFormatter& formatter,
                                const Clock* astronomicalClock, const ZoneModel* model)
{
    TimeInfoResults results{ComputeCalendarFacts(value, messages, formatter),
                            {},
                            astronomicalClock != nullptr ? ComputeAstronomicalMoonPhase(value, *astronomicalClock)
                                                         : ComputeMoonPhase(value),
                            {},
                            ComputeHoroscope(value, messages)};
    if (zone) {
        results.zone = ComputeTimeZoneTexts(*zone, value, messages, formatter, model);
    } else {
        results.zone.fields = {::FieldText{kZoneFieldId, {}}, ::FieldText{kBeginRuleFieldId, {}},
                               ::FieldText{kEndRuleFieldId, {}}, ::FieldText{kNextBeginFieldId, {}},
                               ::FieldText{kNextEndFieldId, {}}};
    }
    results.moonTexts = MoonFieldTexts(results.moon, formatter);
    return results;
}

void ShowDifference(ComputedValueSource& pages, const DateTime& start, const DateTime& final,
                    const DifferenceTexts& texts, const ElapsedLine& elapsed, const ::FieldText* workingDays,
                    const std::array<std::string, 2>& endZones)
{
    pages.SetPickers(MacroSource::Difference, kDifferenceStartDateId, kDifferenceStartTimeId, start);
    pages.SetPickers(MacroSource::Difference, kDifferenceFinalDateId, kDifferenceFinalTimeId, final);
    pages.SetFields(MacroSource::Difference, texts);
    const ::FieldText value{kElapsedLineId, elapsed.value};
    pages.SetFields(MacroSource::Difference, std::span(&value, 1));
    const std::array<::FieldText, 2> zones = {
        {{kDifferenceStartZoneId, std::string(endZones[0])}, {kDifferenceFinalZoneId, std::string(endZones[1])}}};
    pages.SetFields(MacroSource::Difference, zones);
    if (workingDays != nullptr) {
        pages.SetFields(MacroSource::Difference, std::span(workingDays, 1));
    }
}

void ShowCalculation(ComputedValueSource& pages, const CalculationInput& input, const CalculationResult& result)
{
    pages.SetPickers(MacroSource::Calculation, kCalculationStartDateId, kCalculationStartTimeId, input.start);
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        const ::FieldText count{kCountEditIds[i], result.countTexts[i]};
        pages.SetFields(MacroSource::Calculation, {&count, 1});
    }
    pages.SetFields(MacroSource::Calculation, result.fields);
}

void ShowTimeInfo(ComputedValueSource& pages, const DateTime& value, const TimeInfoResults& results)
{
    pages.SetPickers(MacroSource::TimeInfo, kTimeInfoDateId, kTimeInfoTimeId, value);
    pages.SetFields(MacroSource::General, results.facts);
    pages.SetFields(MacroSource::TimeZone, results.zone.fields);
    pages.SetFields(MacroSource::Moon, results.moonTexts);
    pages.SetFields(MacroSource::Horoscope, results.horoscope);
    // The sun's fields need a place, which only the window's choice of zone or place gives.
    const std::array<::FieldText, 3> sun = {{{kSunriseFieldId, {}}, {kSunsetFieldId, {}}, {kDayLengthFieldId, {}}}};
    pages.SetFields(MacroSource::Sun, sun);
}
