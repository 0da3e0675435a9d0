#pragma once

#include <QAbstractButton>
#include <QDateEdit>
#include <QTimeEdit>

#include "core/date_time.h"
#include "core/system_time.h"

class Clock;

// Display format of a date picker until a language gives its own, and when the language's is unusable.
inline constexpr char kDatePickerFormat[] = "MMMM dd, yyyy";
// The locale's time format with hours, minutes and seconds and no zone name, as the time pickers show it.
QString LocaleTimeFormat();

// A date picker with a calendar pop-up, "MMMM dd, yyyy" and the given range. A day typed before the month
// and year that have it (29 before February 2004) is kept until they are typed. The month section takes
// its number or a prefix of its name that only it has, as the time picker's AM/PM section takes "a"/"p".
void SetUpDatePicker(QDateEdit& picker, const DateTime& earliest, const DateTime& latest);
// Shows the date in `format` (Qt date format, a language's message 118); one that cannot be read or that
// lacks the day, the month or the year, or has more, gives kDatePickerFormat. The date stays.
void SetDatePickerFormat(QDateEdit& picker, const QString& format);
// A time picker in the locale's time format with seconds.
void SetUpTimePicker(QTimeEdit& picker);

// The picker's whole value as the calendar record the pure code reads.
SystemTime PickerRecord(const QDateTimeEdit& picker);

// The picker's whole value, date and time of day; both kinds of picker keep both.
DateTime PickerValue(const QDateTimeEdit& picker);

// The date of the first picker and the time of day of the second in one value; invalid when either
// picker is missing.
DateTime ReadPickerDateTime(const QDateEdit* date, const QTimeEdit* time);
// The picker's date at 00:00:00; invalid when missing.
DateTime ReadPickerDate(const QDateEdit* date);
// The picker's time of day on 1971-03-09; invalid when missing.
DateTime ReadPickerTime(const QTimeEdit* time);

// Puts the whole value into a picker without signalling a change; the picker holds it within its range.
// An invalid value leaves the picker as it is.
void WritePicker(QDateTimeEdit& picker, const DateTime& value);
// Puts the clock's present moment into both pickers, the same way.
void WritePickersNow(QDateEdit& date, QTimeEdit& time, const Clock& clock);

// Gives a Time Info button the state of the moment it names: enabled when `available` and the moment lies
// in the pickers' range; a moment outside it puts `outsideText` in the tooltip, to say why.
void SetTimeInfoButton(QAbstractButton& button, bool available, const DateTime& moment, const QString& outsideText);
