#include "info/horoscope.h"

namespace {

struct SignRange {
    int firstMonth, firstDay, lastMonth, lastDay;
    int messageId;
};

// Tested in order; a day in none of them is Capricorn.
constexpr SignRange kSigns[] = {
    {1, 21, 2, 18, 12},  {2, 19, 3, 20, 13},   {3, 21, 4, 20, 14},   {4, 21, 5, 21, 15},
    {5, 22, 6, 21, 16},  {6, 22, 7, 22, 17},   {7, 23, 8, 23, 18},   {8, 24, 9, 23, 19},
    {9, 24, 10, 23, 20}, {10, 24, 11, 22, 21}, {11, 23, 12, 21, 22},
};
constexpr int kCapricorn = 23;

constexpr int DayKey(int month, int day)
{
    return month * 100 + day;
}

}   // namespace

int ZodiacMessageId(int month, int day)
{
    const int key = DayKey(month, day);
    for (const SignRange& range : kSigns) {
        if (key >= DayKey(range.firstMonth, range.firstDay) && key <= DayKey(range.lastMonth, range.lastDay)) {
            return range.messageId;
        }
    }
    return kCapricorn;
}

int AnimalMessageId(int year)
{
    const auto rest = static_cast<int>((static_cast<long long>(year) - 2000) % 12);
    return rest < 0 ? rest + 12 : rest;
}

HoroscopeTexts ComputeHoroscope(const DateTime& value, const MessageSource& messages)
{
    const auto parts = value.GetParts();
    if (!parts) {
        return {FieldText{kYearAnimalFieldId, "*"}, FieldText{kSignFieldId, "*"}};
    }
    return {FieldText{kYearAnimalFieldId, messages.GetString(AnimalMessageId(parts->year))},
            FieldText{kSignFieldId, messages.GetString(ZodiacMessageId(parts->month, parts->day))}};
}
