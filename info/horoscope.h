#pragma once

#include <array>

#include "core/date_time.h"
#include "core/field_text.h"
#include "core/messages.h"

// Control ids of the Horoscope sub-page.
inline constexpr int kSignFieldId = 1108;
inline constexpr int kYearAnimalFieldId = 1109;

// The message id of the western zodiac sign of a calendar day: 12 "Aquarius" (January 21 to February 18)
// through 22 "Sagittarius", and 23 "Capricorn" for December 22 to January 20 and any day outside the
// table's ranges.
int ZodiacMessageId(int month, int day);

// The message id of the year's animal, which equals (year - 2000) mod 12 taken in 0..11: 0 "Dragon" for
// 2000, 8 "Rat" for 2008. It changes on January 1.
int AnimalMessageId(int year);

// Year animal, then sign: the order the page writes them. Both "*" for an invalid value.
using HoroscopeTexts = std::array<FieldText, 2>;
HoroscopeTexts ComputeHoroscope(const DateTime& value, const MessageSource& messages);
