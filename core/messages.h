#pragma once

#include <string>

// Numbered program messages (0..156) in the current language. Pure code asks for a text at the moment
// of use and caches nothing, so a language change shows at the next lookup.
// The tooltip of a Time Info button whose moment lies outside the pickers' range.
inline constexpr int kOutsideTimeInfoMessage = 62;
// The occurrence word of a daylight-saving rule for one weekday, kOccurrenceByWeekdayMessage + 7 *
// (occurrence - 1) + weekday, for languages whose word agrees with the weekday (optional, empty in English);
// and the rule's layout ("%1, %2 %3, %4": time, occurrence, weekday, month).
inline constexpr int kOccurrenceByWeekdayMessage = 63;
inline constexpr int kRuleLayoutMessage = 98;
// The Difference page's elapsed-time line: its layout ("Elapsed: %1 (...)"), the units of its figure
// ("h", "min", "s") and its tooltip ("Total seconds: %1").
inline constexpr int kElapsedLineMessage = 99;
inline constexpr int kHoursUnitMessage = 100;
inline constexpr int kMinutesUnitMessage = 101;
inline constexpr int kSecondsUnitMessage = 102;
inline constexpr int kElapsedSecondsMessage = 103;
// Refusals: a write through another user's link in a shared folder (followed by the link's path), a help
// page too large to lay out, the settings lock held elsewhere, a template that cannot be opened (its layout
// "...: %1" and two reasons of its own; other reasons are the system's words), a read-only settings or
// language file (followed by its path), a TZ that names no readable zone file (followed by TZ's value).
inline constexpr int kRefusedLinkMessage = 104;
inline constexpr int kHelpPageTooLargeMessage = 105;
inline constexpr int kSettingsBusyMessage = 106;
inline constexpr int kTemplateUnreadableMessage = 107;
inline constexpr int kNotRegularFileMessage = 108;
inline constexpr int kTemplateTooLargeMessage = 109;
inline constexpr int kReadOnlyFileMessage = 110;
inline constexpr int kUnreadableTzMessage = 111;
// Reasons: the template name dialog's two errors (a forbidden character, "%1" the forbidden ones; a name
// that exists), the Restore that failed but kept its span, why a result reads "*" (no such date; outside
// "%1 to %2"), the elapsed line across an offset change that is no daylight-saving change, and the
// pickers' display format (Qt date format).
inline constexpr int kForbiddenNameMessage = 112;
inline constexpr int kNameExistsMessage = 113;
inline constexpr int kRestoreKeptMessage = 114;
inline constexpr int kNoSuchDateMessage = 115;
inline constexpr int kOutsideRangeMessage = 116;
inline constexpr int kOffsetChangeLineMessage = 117;
inline constexpr int kPickerFormatMessage = 118;
// Working days: the tooltip of the Difference page's count ("%1" the weekend's day names, "%2" the
// holidays in the span), its word for a week without weekend, and the Options page's refusal of a week
// without a working day.
inline constexpr int kWorkingDaysTipMessage = 119;
inline constexpr int kNoWeekendMessage = 120;
inline constexpr int kNoWorkingDayMessage = 121;
// Why a holiday file gave no holidays, each read after its path and " \u2014 ": it does not exist, may not
// be read by this user, cannot be read (any other failure to open or read it), is no regular file, is too
// large, is no iCalendar file, repeats an event too often, needs too much memory or time, made the holiday
// reader fail (or answer what it may not), or the holiday reader is missing.
inline constexpr int kHolidayFileMissingMessage = 122;
inline constexpr int kHolidayFileForbiddenMessage = 123;
inline constexpr int kHolidayFileUnreadableMessage = 124;
inline constexpr int kHolidayFileIrregularMessage = 125;
inline constexpr int kHolidayFileTooLargeMessage = 126;
inline constexpr int kHolidayFileNotCalendarMessage = 127;
inline constexpr int kHolidayFileRepeatsMessage = 128;
inline constexpr int kHolidayFileMemoryMessage = 129;
inline constexpr int kHolidayFileTimeoutMessage = 130;
inline constexpr int kHolidayReaderFailedMessage = 131;
inline constexpr int kHolidayReaderMissingMessage = 132;
// Daylight-saving rules the zone record cannot hold, in words: a day of the year without February 29
// ("%1, %2 %3": time, month, day), one counted with it ("%1, day %2 of the year"), a weekday of the month
// with a change time beyond the day ("%1, the %2 after the %3 %4 of %5": time, weekday, occurrence, its
// weekday, month; before; "%6 days" after and before), the occurrence words ("first|...|last") where the
// language gives none per weekday, and a day of the year moved beyond its year ("%2 days after day %3").
inline constexpr int kRuleJulianDayMessage = 133;
inline constexpr int kRuleDayOfYearMessage = 134;
inline constexpr int kRuleDayAfterMessage = 135;
inline constexpr int kRuleDayBeforeMessage = 136;
inline constexpr int kRuleDaysAfterMessage = 137;
inline constexpr int kRuleDaysBeforeMessage = 138;
inline constexpr int kRuleOccurrenceWordsMessage = 139;
inline constexpr int kRuleDaysAfterDayOfYearMessage = 140;
inline constexpr int kRuleDaysBeforeDayOfYearMessage = 141;
// Zones: the chooser's first entry ("%1" the computer's zone name, or its present UTC offset), and the
// Difference page's elapsed line between two zones.
inline constexpr int kComputerZoneMessage = 142;
inline constexpr int kZonesElapsedLineMessage = 143;
// Why a time of the sun's day does not happen: it stays below the horizon, above it, or above the twilight's
// depth ("%1" its degrees).
inline constexpr int kSunNeverRisesMessage = 144;
inline constexpr int kSunNeverSetsMessage = 145;
inline constexpr int kSunNotBelowMessage = 146;
// The Sun sub-page: the zone's own place ("%1" its city and country), the entry without one, day length
// ("%1 h %2 min %3 s") and its change ("%1 min %2 s"), and the Add Place dialog: its title, its three
// labels and its two complaints.
inline constexpr int kZonePlaceMessage = 147;
inline constexpr int kChoosePlaceMessage = 148;
inline constexpr int kDayLengthMessage = 149;
inline constexpr int kDayLengthChangeMessage = 150;
inline constexpr int kAddPlaceTitleMessage = 151;
inline constexpr int kPlaceNameLabelMessage = 152;
inline constexpr int kPlacePointLabelMessage = 153;
inline constexpr int kPlaceZoneLabelMessage = 154;
inline constexpr int kPlaceNameMissingMessage = 155;
inline constexpr int kPlaceZoneMissingMessage = 156;

class MessageSource {
public:
    virtual ~MessageSource() = default;
    // Empty for an id outside 0..156.
    virtual std::string GetString(int messageId) const = 0;
};
