#include "cli/working_day_calculation.h"

#include "core/count_text.h"

CalculationResult ComputeWorkingDayCalculation(const CalculationInput& input, std::int32_t workingDays,
                                               const WorkingCalendar& calendar, const LocaleFormatter& formatter)
{
    // The page's own steps, without days and times, give where the working days start from.
    CalculationInput stepped = input;
    for (const CountField field : {kDays, kHours, kMinutes, kSeconds}) {
        stepped.countTexts[field] = "0";
    }
    const CalculationResult steps = ComputeCalculation(stepped, formatter);
    CalculationResult result = ComputeCalculation(input, formatter);
    DateTimeSpan time;
    time.SetDateTimeSpan(0, ReadCount(result.countTexts[kHours]), ReadCount(result.countTexts[kMinutes]),
                         ReadCount(result.countTexts[kSeconds]));

    // Each side moved alone, then shown as the page shows a start that no count moves.
    const auto move = [&](bool available, const DateTime& from, int direction) {
        CalculationInput moved{};
        moved.start = DateTime::Invalid();
        if (available) {
            const DateTime day = AddWorkingDays(calendar, from, direction * std::int64_t{workingDays});
            moved.start = direction > 0 ? day + time : day - time;
        }
        for (std::string& text : moved.countTexts) {
            text = "0";
        }
        return ComputeCalculation(moved, formatter);
    };
    const CalculationResult before = move(steps.differenceAvailable, steps.difference, -1);
    const CalculationResult after = move(steps.sumAvailable, steps.sum, +1);
    result.difference = before.sum;
    result.differenceAvailable = before.sumAvailable;
    result.differenceFailure = steps.differenceAvailable ? before.sumFailure : steps.differenceFailure;
    result.sum = after.sum;
    result.sumAvailable = after.sumAvailable;
    result.sumFailure = steps.sumAvailable ? after.sumFailure : steps.sumFailure;
    result.fields[0].text = before.fields[2].text;
    result.fields[1].text = before.fields[3].text;
    result.fields[2].text = after.fields[2].text;
    result.fields[3].text = after.fields[3].text;
    // The Time Info buttons follow the results.
    result.controls[5].enabled = before.controls[6].enabled;
    result.controls[6].enabled = after.controls[6].enabled;
    return result;
}
