#pragma once

#include <cstdint>

#include "calc/calculation.h"
#include "calc/working_days.h"
#include "core/locale_format.h"

// The Calculation page with its Days count (`input`'s is N) read as N working days: years and months or
// weeks are stepped first, as the page steps them, then the working days, then hours, minutes and seconds;
// the difference result takes the same steps backwards. A result fails where the page's would, and also
// where its working days lead out of the range.
CalculationResult ComputeWorkingDayCalculation(const CalculationInput& input, std::int32_t workingDays,
                                               const WorkingCalendar& calendar, const LocaleFormatter& formatter);
