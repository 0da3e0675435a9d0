#include "calc/working_days_line.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/calendar.h"
#include "core/civil.h"

namespace {

// The layout with "%1" and "%2" replaced in one pass, so that a name holding "%2" stays as it is.
std::string Fill(const std::string& layout, const std::string& first, const std::string& second)
{
    std::string text;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (layout[i] == '%' && i + 1 < layout.size() && (layout[i + 1] == '1' || layout[i + 1] == '2')) {
            text += layout[i + 1] == '1' ? first : second;
            ++i;
        } else {
            text += layout[i];
        }
    }
    return text;
}

}   // namespace

std::int64_t DayNumber(const DateTime& value)
{
    const std::optional<DateTime::Parts> parts = value.GetParts();
    if (!parts) {
        return 0;
    }
    return civil::DaysFromCivil(parts->year, static_cast<unsigned>(parts->month), static_cast<unsigned>(parts->day));
}

WorkingDaysLine ComputeWorkingDaysLine(const DateTime& start, const DateTime& final, const WorkingCalendar& calendar,
                                       const LocaleFormatter& formatter, const MessageSource& messages)
{
    WorkingDaysLine line;
    const std::optional<std::int64_t> count =
        IsInPickerRange(start) && IsInPickerRange(final) ? WorkingDaysBetween(calendar, start, final) : std::nullopt;
    if (!count) {
        line.field.text.push_back('*');   // not = "*": GCC 12 warns falsely of an overlap
        return line;
    }
    line.field.text = std::to_string(*count);
    std::vector<std::string> names;
    for (int day = 0; day < 7; ++day) {
        if ((calendar.WorkingWeekdays() & (1u << day)) == 0) {
            // 2001-01-01 was a Monday.
            const DateTime date = DateTime::FromParts(2001, 1, 1 + day, 0, 0, 0);
            names.push_back(FormatDateNameOf(formatter, date, false, false).value_or("?"));
        }
    }
    std::string weekend;
    for (const std::string& name : names) {
        weekend.append(weekend.empty() ? std::string_view() : std::string_view(", ")).append(name);
    }
    if (weekend.empty()) {
        weekend = messages.GetString(kNoWeekendMessage);
    }
    const std::int64_t first = DayNumber(std::min(start, final));
    const std::int64_t last = DayNumber(std::max(start, final));
    line.toolTip = Fill(messages.GetString(kWorkingDaysTipMessage), weekend,
                        std::to_string(calendar.HolidaysBetween(first, last)));
    return line;
}
