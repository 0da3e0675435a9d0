#include "settings/default_messages.h"

#include <array>

#include "core/messages.h"

namespace {

// Messages 0..62; the optional per-weekday occurrence words (63..97) are empty in English, and the rule
// layout (98), the elapsed-time texts (99..103) and the refusals (104..111) and the reasons (112..118) are given below.
constexpr std::array<std::string_view, kOccurrenceByWeekdayMessage> kDefaults = {
    "Dragon",
    "Snake",
    "Horse",
    "Ram",
    "Monkey",
    "Rooster",
    "Dog",
    "Boar",
    "Rat",
    "Ox",
    "Tiger",
    "Rabbit",
    "Aquarius",
    "Pisces",
    "Aries",
    "Taurus",
    "Gemini",
    "Cancer",
    "Leo",
    "Virgo",
    "Libra",
    "Scorpio",
    "Sagittarius",
    "Capricorn",
    "1st",
    "2nd",
    "3rd",
    "4th",
    "Last",
    "System time error",
    "Time restore failed",
    "Changed",
    "Restored",
    "Yes",
    "No",
    "Winter",
    "Spring",
    "Summer",
    "Autumn",
    "A Folder by this name cannot be found",
    "Template folder cannot be found. Choose another template folder in the Options page",
    "Text Files (*.txt)|*.txt|All Files (*.*)|*.*",
    "Error opening file",
    "Error saving file",
    "Are you sure you want to delete template \"%s\"?",
    "Cannot remove template",
    "Editor already has a text, do you want to replace it?",
    "Error opening template",
    "Error saving template",
    "To create a new template choose Template -> New in the main menu",
    // 50..: messages for damaged or hostile input.
    "The settings file could not be read. A copy of it was kept as",
    "Settings cannot be saved. Changes made now are kept until Chronel is closed. The settings file is",
    "[Chronel stopped here: the expanded text would be longer than 16 MiB.]",
    "Help is not available: the help file cannot be read.",
    "This template holds bytes that the editor cannot show exactly (text that is not UTF-8, or mixed line ends). It is "
    "shown read-only so that it cannot be changed by accident.",
    "This template is a link to a file outside the template folder. It is shown read-only.",
    "Error writing the preview file",
    "No program could be started to show the preview file",
    "The stored rollback span is damaged, so Restore is not available. Set the time again to store a new one.",
    "Chronel runs as root: it will start for every user who logs in.",
    "Chronel runs as root, and other users can change its program file, so it will start only when root logs in.",
    "Damaged",
    "Time Info shows dates from January 1, 1754 to December 31, 9998",
};

constexpr std::array<std::string_view, kRefusedLinkMessage - kElapsedLineMessage> kElapsedDefaults = {
    "Elapsed: %1 (a daylight-saving change lies between)", "h", "min", "s", "Total seconds: %1",
};

// 104..: refusals met with hostile files, links and locks.
constexpr std::array<std::string_view, kForbiddenNameMessage - kRefusedLinkMessage> kRefusalDefaults = {
    "The file was not saved: it is reached through a link that another user made in a folder everyone can "
    "write to. The link is",
    "This page is too large to show.",
    "The setting could not be changed now: another copy of Chronel is busy with the settings. Try again in a "
    "moment.",
    "This template cannot be opened: %1",
    "it is not a regular file",
    "it is larger than 4 MiB",
    "This file is read-only, so Chronel does not change it. Changes made now are kept until Chronel is closed. "
    "The file is",
    "TZ names no time zone, so the computer's zone is used. TZ was",
};

// 112..132: what tells the user why: a template name, a kept Restore, a "*" result, an offset change, the
// pickers' date format, the working week and holiday files that give no holidays.
constexpr std::array<std::string_view, kHolidayReaderMissingMessage + 1 - kForbiddenNameMessage> kReasonDefaults = {
    "The template name holds characters that cannot be used: %1",
    "A template with this name exists already: choose another name.",
    "The time to go back to is kept: press Restore to try again.",
    "This date does not exist.",
    "The result lies outside %1 to %2.",
    "Elapsed: %1 (the zone's UTC offset changed between)",
    "MMMM dd, yyyy",
    "Weekend: %1. Holidays in the span: %2",
    "none",
    "At least one day of the week must be a working day.",
    "does not exist",
    "may not be read by you",
    "cannot be read",
    "is not a regular file",
    "is larger than 16 MiB, the most a holiday file may hold",
    "is not an iCalendar file",
    "has an event that repeats more than 100,000 times",
    "needs more than 256 MiB to read",
    "took longer than 2 s to read",
    "made the holiday reader fail",
    "cannot be read: chronel-holiday-reader is missing",
};

// 133..141: daylight-saving rules in words.
constexpr std::array<std::string_view, kRuleDaysBeforeDayOfYearMessage + 1 - kRuleJulianDayMessage> kRuleWordDefaults =
    {
        "%1, %2 %3",
        "%1, day %2 of the year",
        "%1, the %2 after the %3 %4 of %5",
        "%1, the %2 before the %3 %4 of %5",
        "%1, the %2 %6 days after the %3 %4 of %5",
        "%1, the %2 %6 days before the %3 %4 of %5",
        "first|second|third|fourth|last",
        "%1, %2 days after day %3 of the year",
        "%1, %2 days before day %3 of the year",
};

// 142..143: the zone chooser's entry for this computer and the elapsed line between two zones.
constexpr std::array<std::string_view, kZonesElapsedLineMessage + 1 - kComputerZoneMessage> kZoneDefaults = {
    "This computer (%1)",
    "Elapsed: %1",
};

// 144..146: why a time of the sun's day does not happen.
constexpr std::array<std::string_view, kSunNotBelowMessage + 1 - kSunNeverRisesMessage> kSunDefaults = {
    "The sun does not rise",
    "The sun does not set",
    "The sun does not reach %1° below the horizon",
};

// 147..156: the Sun sub-page's places, day length, and the Add Place dialog.
constexpr std::array<std::string_view, kPlaceZoneMissingMessage + 1 - kZonePlaceMessage> kSunPageDefaults = {
    "Zone's place (%1)",
    "Choose a place",
    "%1 h %2 min %3 s",
    "%1 min %2 s",
    "Add Place",
    "&Name:",
    "&Latitude, longitude:",
    "&Zone:",
    "Give the place a name.",
    "Choose the zone whose clocks tell the place's times.",
};

constexpr std::array<std::string_view, kTranslatorInfoCount> kTranslatorDefaults = {
    "Orvane",
    "support@orvane.com",
    "09/20/2004",
};

}   // namespace

std::string_view DefaultMessage(int messageId)
{
    if (messageId == kRuleLayoutMessage) {
        return "%1, %2 %3, %4";
    }
    if (messageId >= kRuleJulianDayMessage && messageId <= kRuleDaysBeforeDayOfYearMessage) {
        return kRuleWordDefaults[static_cast<std::size_t>(messageId - kRuleJulianDayMessage)];
    }
    if (messageId >= kSunNeverRisesMessage && messageId <= kSunNotBelowMessage) {
        return kSunDefaults[static_cast<std::size_t>(messageId - kSunNeverRisesMessage)];
    }
    if (messageId >= kZonePlaceMessage && messageId <= kPlaceZoneMissingMessage) {
        return kSunPageDefaults[static_cast<std::size_t>(messageId - kZonePlaceMessage)];
    }
    if (messageId >= kComputerZoneMessage && messageId <= kZonesElapsedLineMessage) {
        return kZoneDefaults[static_cast<std::size_t>(messageId - kComputerZoneMessage)];
    }
    if (messageId >= kForbiddenNameMessage && messageId <= kHolidayReaderMissingMessage) {
        return kReasonDefaults[static_cast<std::size_t>(messageId - kForbiddenNameMessage)];
    }
    if (messageId >= kRefusedLinkMessage && messageId < kForbiddenNameMessage) {
        return kRefusalDefaults[static_cast<std::size_t>(messageId - kRefusedLinkMessage)];
    }
    if (messageId >= kElapsedLineMessage && messageId < kRefusedLinkMessage) {
        return kElapsedDefaults[static_cast<std::size_t>(messageId - kElapsedLineMessage)];
    }
    if (messageId < 0 || messageId >= static_cast<int>(kDefaults.size())) {
        return {};
    }
    return kDefaults[static_cast<std::size_t>(messageId)];
}

std::string_view DefaultTranslatorInfo(int index)
{
    if (index < 0 || index >= kTranslatorInfoCount) {
        return {};
    }
    return kTranslatorDefaults[static_cast<std::size_t>(index)];
}
