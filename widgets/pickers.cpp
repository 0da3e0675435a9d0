#include "widgets/pickers.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>

#include "core/calendar.h"

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

// Typing February 29, 2004 in reading order passes through February 2003, which has no 29th, and the
// picker would settle on the 28th. This keeps a day typed into the day section that the date shown cannot
// hold, and puts it in as soon as the month and year typed after it have that day. Leaving the picker, or
// stepping the day with keys, forgets it.
class TypedDayKeeper final : public QObject {
public:
    explicit TypedDayKeeper(QDateEdit& picker) : QObject(&picker), m_picker(picker)
    {
        picker.installEventFilter(this);
        // After the key that changed the date is done with: a date set while the picker still handles a
        // key is overwritten by the text it is typing.
        connect(&picker, &QDateEdit::dateChanged, this,
                [this] { QTimer::singleShot(0, this, &TypedDayKeeper::Apply); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            Forget();
        } else if (event->type() == QEvent::KeyPress) {
            const bool inDay = m_picker.currentSection() == QDateTimeEdit::DaySection;
            const QString text = static_cast<const QKeyEvent*>(event)->text();
            if (inDay && text.size() == 1 && text[0].isDigit()) {
                // A new visit to the day section, or a third digit, starts a new number.
                m_digits = m_wasInDay && m_digits.size() < 2 ? m_digits + text : text;
                m_wantedDay = m_digits.toInt();
            } else if (inDay && IsStepKey(static_cast<const QKeyEvent*>(event)->key())) {
                Forget();
            }
            m_wasInDay = inDay;
        }
        return false;
    }

private:
    static bool IsStepKey(int key)
    {
        return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
               key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    void Forget()
    {
        m_wantedDay = 0;
        m_digits.clear();
        m_wasInDay = false;
    }
    void Apply()
    {
        const QDate date = m_picker.date();
        if (m_wantedDay == date.day()) {
            m_wantedDay = 0;
        } else if (m_wantedDay > date.day() && m_wantedDay <= date.daysInMonth()) {
            const int day = m_wantedDay;
            m_wantedDay = 0;
            m_picker.setDate(QDate(date.year(), date.month(), day));
        }
    }

    QDateEdit& m_picker;
    QString m_digits;
    int m_wantedDay = 0;
    bool m_wasInDay = false;
};

}   // namespace

QString LocaleTimeFormat()
{
    // The long format is the one with seconds; take the zone name ("t") and the blanks around it out. The
    // expression runs again only when the locale gives another long format.
    const QString longFormat = QLocale::system().timeFormat(QLocale::LongFormat);
    thread_local QString lastLongFormat;
    thread_local QString lastFormat;
    if (lastFormat.isNull() || longFormat != lastLongFormat) {
        static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
        QString format = longFormat;
        format.replace(zone, QStringLiteral(" "));
        lastFormat = format.trimmed();
        lastLongFormat = longFormat;
    }
    return lastFormat;
}

void SetUpDatePicker(QDateEdit& picker, const DateTime& earliest, const DateTime& latest)
{
    new TypedDayKeeper(picker);
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

void SetTimeInfoButton(QAbstractButton& button, bool available, const DateTime& moment, const QString& outsideText)
{
    const bool shown = IsInPickerRange(moment);
    button.setEnabled(available && shown);
    button.setToolTip(available && !shown ? outsideText : QString());
}
