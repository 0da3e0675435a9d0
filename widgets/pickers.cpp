#include "widgets/pickers.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "core/calendar.h"
#include "core/clock.h"

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

// Qt reads a month shown by name only from its whole name, and AM/PM only from the whole text. This
// reads them as the native picker does. The month section takes its number, moving on once no second
// digit could follow ("1" waits for 10, 11 or 12), or any prefix of a name that only one month has, in
// the picker's language and any case, from both forms of the name (Russian shows "декабря" and also
// takes "декабрь"); it moves on when the whole name is typed. The AM/PM section takes "a", "p" or the
// first letters of the locale's own texts. A visit to another section starts a new entry.
class SectionTyping final : public QObject {
public:
    explicit SectionTyping(QDateTimeEdit& picker) : QObject(&picker), m_picker(picker)
    {
        picker.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseButtonPress) {
            m_typed.clear();
            return false;
        }
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<const QKeyEvent*>(event);
        const QString text = key->text();
        const QDateTimeEdit::Section section = m_picker.currentSection();
        const bool named = section == QDateTimeEdit::MonthSection || section == QDateTimeEdit::AmPmSection;
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        // A month or half of the day set from elsewhere since the last key also starts a new entry; a day
        // put back by TypedDayKeeper does not.
        if (section != m_section || SectionValue() != m_entered) {
            m_typed.clear();
        }
        m_section = section;
        if (!named || !plain || text.size() != 1 || !text[0].isLetterOrNumber()) {
            m_typed.clear();
            return false;
        }
        if (section == QDateTimeEdit::MonthSection) {
            TypeMonth(text[0]);
        } else {
            TypeAmPm(text[0]);
        }
        m_entered = SectionValue();
        return true;
    }

private:
    int SectionValue() const { return m_picker.date().month() * 2 + m_picker.time().hour() / 12; }

    void TypeMonth(QChar typed)
    {
        const bool digit = typed.isDigit();
        if (!m_typed.isEmpty() && m_typed[0].isDigit() != digit) {
            m_typed.clear();
        }
        if (digit) {
            QString digits = m_typed + typed;
            if (digits.size() > 2 || digits.toInt() > 12 || digits == QLatin1String("00")) {
                digits = typed;
            }
            m_typed = digits;
            const int month = digits.toInt();
            if (month > 0) {
                SetMonth(month);
            }
            if (month > 1 || digits.size() == 2) {
                MoveOn();
            }
            return;
        }
        // A letter that no name continues with starts a new entry.
        const QString typedFolded = QString(typed).toCaseFolded();
        m_typed = Matches(m_typed + typedFolded).empty() ? typedFolded : m_typed + typedFolded;
        const std::vector<std::pair<int, QString>> matches = Matches(m_typed);
        const bool oneMonth = !matches.empty() && std::all_of(matches.begin(), matches.end(), [&](const auto& m) {
            return m.first == matches.front().first;
        });
        if (!oneMonth) {
            m_typed = matches.empty() ? QString() : m_typed;
            return;
        }
        SetMonth(matches.front().first);
        if (std::all_of(matches.begin(), matches.end(), [&](const auto& m) { return m.second == m_typed; })) {
            MoveOn();
        }
    }

    // Month and folded name of every name that starts with `typed`.
    std::vector<std::pair<int, QString>> Matches(const QString& typed) const
    {
        const QLocale locale = m_picker.locale();
        std::vector<std::pair<int, QString>> matches;
        for (int month = 1; month <= 12; ++month) {
            for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
                for (const QString& name : {locale.monthName(month, type), locale.standaloneMonthName(month, type)}) {
                    const QString folded = name.toCaseFolded();
                    if (folded.startsWith(typed)) {
                        matches.emplace_back(month, folded);
                    }
                }
            }
        }
        return matches;
    }

    void TypeAmPm(QChar typed)
    {
        const QLocale locale = m_picker.locale();
        const auto side = [&](const QString& text, QChar letter, const QString& entry) {
            return text.toCaseFolded().startsWith(entry) || entry == letter;
        };
        const auto choose = [&](const QString& entry, bool& am, bool& pm) {
            am = side(locale.amText(), QLatin1Char('a'), entry);
            pm = side(locale.pmText(), QLatin1Char('p'), entry);
            return am || pm;
        };
        bool am = false;
        bool pm = false;
        const QString folded = QString(typed).toCaseFolded();
        m_typed = choose(m_typed + folded, am, pm) ? m_typed + folded : folded;
        if (!choose(m_typed, am, pm)) {
            m_typed.clear();
        } else if (am != pm) {
            const QTime time = m_picker.time();
            m_picker.setTime(QTime(time.hour() % 12 + (pm ? 12 : 0), time.minute(), time.second()));
            MoveOn();
        }
    }

    // The day is held to the new month's length; a day typed earlier is put back by TypedDayKeeper.
    void SetMonth(int month)
    {
        const QDate date = m_picker.date();
        const int day = std::min(date.day(), QDate(date.year(), month, 1).daysInMonth());
        m_picker.setDate(QDate(date.year(), month, day));
    }

    void MoveOn()
    {
        m_typed.clear();
        const int next = m_picker.currentSectionIndex() + 1;
        if (next < m_picker.sectionCount()) {
            m_picker.setSelectedSection(m_picker.sectionAt(next));
        }
    }

    QDateTimeEdit& m_picker;
    QString m_typed;     // case-folded letters, or digits
    int m_entered = 0;   // SectionValue() after the last key taken
    QDateTimeEdit::Section m_section = QDateTimeEdit::NoSection;
};

// Qt works out a picker's width once, from the format it had then and the texts of its range's ends; another
// format, and a month name longer than those ends have ("September", "сентября"), need a width of their own.
void FitDatePicker(QDateEdit& picker)
{
    QEvent styleChange(QEvent::StyleChange);   // drops the width Qt kept
    QCoreApplication::sendEvent(&picker, &styleChange);
    const QFontMetrics metrics = picker.fontMetrics();
    const auto textWidth = [&](const QDate& date) {
        return metrics.horizontalAdvance(picker.locale().toString(date, picker.displayFormat()) + u' ');
    };
    const int ends = std::max(textWidth(picker.minimumDate()), textWidth(picker.maximumDate()));
    int widest = ends;
    for (int month = 1; month <= 12; ++month) {
        widest = std::max(widest, textWidth(QDate(picker.maximumDate().year(), month, 28)));
    }
    picker.setMinimumWidth(picker.sizeHint().width() + widest - ends);
}

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
    // The day keeper's filter runs first (the last one installed does), so it sees the month keys that
    // SectionTyping takes and knows the day section was left.
    new SectionTyping(picker);
    new TypedDayKeeper(picker);
    picker.setCalendarPopup(true);
    picker.setDisplayFormat(QString::fromLatin1(kDatePickerFormat));
    picker.setDateTimeRange(ToQDateTime(earliest, picker), ToQDateTime(latest, picker));
}

void SetDatePickerFormat(QDateEdit& picker, const QString& format)
{
    constexpr QDateTimeEdit::Sections kDate =
        QDateTimeEdit::DaySection | QDateTimeEdit::MonthSection | QDateTimeEdit::YearSection;
    picker.setDisplayFormat(format);
    if (picker.displayFormat() != format || picker.displayedSections() != kDate) {
        picker.setDisplayFormat(QString::fromLatin1(kDatePickerFormat));
    }
    FitDatePicker(picker);
}

void SetUpTimePicker(QTimeEdit& picker)
{
    new SectionTyping(picker);
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

void WritePickersNow(QDateEdit& date, QTimeEdit& time, const Clock& clock)
{
    const DateTime now = GetNow(clock);
    WritePicker(date, now);
    WritePicker(time, now);
}

void SetTimeInfoButton(QAbstractButton& button, bool available, const DateTime& moment, const QString& outsideText)
{
    const bool shown = IsInPickerRange(moment);
    button.setEnabled(available && shown);
    button.setToolTip(available && !shown ? outsideText : QString());
}
