#include "widgets/picker_widget.h"

#include <QSignalBlocker>

#include "core/calendar.h"
#include "platform/qt_locale_formatter.h"

namespace {

// In the picker's own time zone setting: date and time pickers keep their value in UTC, so a local-time value
// would be shifted by the zone offset and could not hold a moment that a daylight-saving gap skips.
QDateTime ToQDateTime(const DateTime& value, const QDateTimeEdit& picker)
{
    const auto parts = value.GetParts();
    if (!parts) {
        return {};
    }
    return QDateTime(QDate(parts->year, parts->month, parts->day), QTime(parts->hour, parts->minute, parts->second),
                     picker.timeSpec());
}

}  // namespace

void SetUpDatePicker(QDateEdit& picker, const DateTime& earliest, const DateTime& latest)
{
    picker.setCalendarPopup(true);
    picker.setDisplayFormat(QString::fromLatin1(kDatePickerFormat));
    picker.setDateTimeRange(ToQDateTime(earliest, picker), ToQDateTime(latest, picker));
}

void SetUpTimePicker(QTimeEdit& picker)
{
    picker.setDisplayFormat(LocaleTimeFormat());
}

SystemTime PickerRecord(const QDateTimeEdit& picker)
{
    const QDateTime value = picker.dateTime();
    SystemTime record;
    record.year = static_cast<std::uint16_t>(value.date().year());
    record.month = static_cast<std::uint16_t>(value.date().month());
    record.dayOfWeek = static_cast<std::uint16_t>(value.date().dayOfWeek() % 7);
    record.day = static_cast<std::uint16_t>(value.date().day());
    record.hour = static_cast<std::uint16_t>(value.time().hour());
    record.minute = static_cast<std::uint16_t>(value.time().minute());
    record.second = static_cast<std::uint16_t>(value.time().second());
    return record;
}

DateTime PickerValue(const QDateTimeEdit& picker)
{
    DateTime value;
    value.SetDateTime(PickerRecord(picker));
    return value;
}

DateTime ReadPickerDateTime(const QDateEdit* date, const QTimeEdit* time)
{
    if (date == nullptr || time == nullptr) {
        return DateTime::Invalid();
    }
    return CombineDateAndTime(PickerRecord(*date), PickerRecord(*time));
}

DateTime ReadPickerDate(const QDateEdit* date)
{
    return date != nullptr ? DateOfRecord(PickerRecord(*date)) : DateTime::Invalid();
}

DateTime ReadPickerTime(const QTimeEdit* time)
{
    return time != nullptr ? TimeOfRecord(PickerRecord(*time)) : DateTime::Invalid();
}

void WritePicker(QDateTimeEdit& picker, const DateTime& value)
{
    const QDateTime converted = ToQDateTime(value, picker);
    if (!converted.isValid()) {
        return;
    }
    const QSignalBlocker blocker(picker);
    picker.setDateTime(converted);
}

void LoadPicker(QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    DateTime value;
    settings.ReadDateTime(id, value);
    WritePicker(picker, value);
}

void SavePicker(const QDateTimeEdit& picker, const SettingsStore& settings, SettingId id)
{
    settings.WriteDateTime(id, PickerValue(picker));
}
