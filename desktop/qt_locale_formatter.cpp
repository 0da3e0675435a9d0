#include "desktop/qt_locale_formatter.h"

#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QLocale>
#include <QPointer>
#include <QTime>

#include <array>
#include <atomic>
#include <charconv>
#include <optional>
#include <vector>

#include "widgets/pickers.h"

namespace {

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

// Qt brings QLocale::system() up to date and then sends QEvent::LocaleChange to the application object;
// cached forms compare this count with the one they were read at.
std::atomic<unsigned> g_localeChanges{0};

class LocaleChangeCounter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LocaleChange && watched == QCoreApplication::instance()) {
            g_localeChanges.fetch_add(1, std::memory_order_relaxed);
        }
        return false;
    }
};

// Counts the changes for the application object that exists now, if any, and returns it.
const QCoreApplication* WatchLocaleChanges()
{
    static QPointer<LocaleChangeCounter> counter;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && (!counter || counter->parent() != app)) {
        counter = new LocaleChangeCounter(app);
        app->installEventFilter(counter);
    }
    return app;
}

// The parts of one moment a format can show. Weekday as Qt counts it: 1 = Monday ... 7 = Sunday.
struct Moment {
    int year = 0, month = 0, day = 0, weekday = 0, hour = 0, minute = 0, second = 0;
};

enum class Field { Text, Day, DayName, Month, MonthName, Year, Hour12, Hour24, Minute, Second, AmPm };

// One piece of a parsed Qt format: a literal text, a number of at least `width` digits, or a name that Qt
// itself rendered for each value of the field.
struct Piece {
    Field field = Field::Text;
    int width = 0;
    std::string text;
    std::vector<std::string> names;
};

// A format of the locale, parsed once into pieces. Without pieces (a field this does not take apart, or
// one that came out differently from Qt's) Qt formats each call.
struct Picture {
    QString format;
    std::vector<Piece> pieces;
    bool parsed = false;
};

using Digits = std::array<std::string, 10>;

void AppendNumber(std::string& out, int value, int width, const Digits& digits)
{
    char buffer[16];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (auto pad = width - (end - buffer); pad > 0; --pad) {
        out += digits[0];
    }
    for (const char* p = buffer; p < end; ++p) {
        out += digits[static_cast<std::size_t>(*p - '0')];
    }
}

std::string Render(const Picture& picture, const Moment& moment, const Digits& digits)
{
    std::string out;
    out.reserve(48);
    for (const Piece& piece : picture.pieces) {
        switch (piece.field) {
        case Field::Text:
            out += piece.text;
            break;
        case Field::Day:
            AppendNumber(out, moment.day, piece.width, digits);
            break;
        case Field::DayName:
            out += piece.names[static_cast<std::size_t>(moment.weekday - 1)];
            break;
        case Field::Month:
            AppendNumber(out, moment.month, piece.width, digits);
            break;
        case Field::MonthName:
            out += piece.names[static_cast<std::size_t>(moment.month - 1)];
            break;
        case Field::Year:
            AppendNumber(out, piece.width == 2 ? moment.year % 100 : moment.year, piece.width, digits);
            break;
        case Field::Hour12:
            AppendNumber(out, moment.hour % 12 == 0 ? 12 : moment.hour % 12, piece.width, digits);
            break;
        case Field::Hour24:
            AppendNumber(out, moment.hour, piece.width, digits);
            break;
        case Field::Minute:
            AppendNumber(out, moment.minute, piece.width, digits);
            break;
        case Field::Second:
            AppendNumber(out, moment.second, piece.width, digits);
            break;
        case Field::AmPm:
            out += piece.names[moment.hour < 12 ? 0 : 1];
            break;
        }
    }
    return out;
}

QDate DateOf(const Moment& moment)
{
    return QDate(moment.year, moment.month, moment.day);
}

QTime TimeOf(const Moment& moment)
{
    return QTime(moment.hour, moment.minute, moment.second);
}

// A field piece; a named field takes the names Qt renders for `token` alone (2006 began on a Sunday).
Piece FieldPiece(Field kind, int width, const QString& token, const QLocale& locale)
{
    Piece piece{kind, width, {}, {}};
    if (kind == Field::DayName) {
        for (int weekday = 1; weekday <= 7; ++weekday) {
            piece.names.push_back(Utf8(locale.toString(QDate(2006, 1, 1 + weekday % 7), token)));
        }
    } else if (kind == Field::MonthName) {
        for (int month = 1; month <= 12; ++month) {
            piece.names.push_back(Utf8(locale.toString(QDate(2006, month, 1), token)));
        }
    } else if (kind == Field::AmPm) {
        piece.names = {Utf8(locale.toString(QTime(1, 0), token)), Utf8(locale.toString(QTime(13, 0), token))};
    }
    return piece;
}

// Appends the quoted run that starts at the quote at `i` to `literal` ('' is a quote, inside a run as
// well as alone) and moves `i` past it; an unclosed run lasts to the end.
void TakeQuoted(const QString& format, qsizetype& i, QString& literal)
{
    const qsizetype size = format.size();
    ++i;
    if (i < size && format[i] == u'\'') {
        literal += u'\'';
        ++i;
        return;
    }
    while (i < size) {
        if (format[i] != u'\'') {
            literal += format[i++];
        } else if (i + 1 < size && format[i + 1] == u'\'') {
            literal += u'\'';
            i += 2;
        } else {
            ++i;
            return;
        }
    }
}

// Qt's reading of a format: a quoted run is literal ('' is a quote), a run of one field letter is that
// field, every other character is itself. A date format knows only d, M and y; a time format only h, H,
// m, s and AP. Empty for a field not taken apart here (single y, z, t).
std::optional<std::vector<Piece>> Parse(const QString& format, bool date, const QLocale& locale)
{
    std::vector<Piece> pieces;
    QString literal;
    const auto flush = [&] {
        if (!literal.isEmpty()) {
            pieces.push_back(Piece{Field::Text, 0, Utf8(literal), {}});
            literal.clear();
        }
    };
    const auto field = [&](Field kind, int width, const QString& token) {
        flush();
        pieces.push_back(FieldPiece(kind, width, token, locale));
    };
    const qsizetype size = format.size();
    bool twelveHour = false;
    for (qsizetype i = 0; i < size;) {
        const char16_t c = format[i].unicode();
        if (c == u'\'') {
            TakeQuoted(format, i, literal);
            continue;
        }
        int run = 1;
        while (i + run < size && format[i + run] == format[i]) {
            ++run;
        }
        int take = run;
        if (date && (c == u'd' || c == u'M')) {
            take = std::min(run, 4);
            const bool named = take >= 3;
            field(c == u'd' ? (named ? Field::DayName : Field::Day) : (named ? Field::MonthName : Field::Month), take,
                  QString(take, QChar(c)));
        } else if (date && c == u'y') {
            if (run < 2) {
                return std::nullopt;
            }
            take = run >= 4 ? 4 : 2;
            field(Field::Year, take, {});
        } else if (!date && (c == u'h' || c == u'H' || c == u'm' || c == u's')) {
            take = std::min(run, 2);
            const Field kind =
                c == u'h' ? Field::Hour12 : (c == u'H' ? Field::Hour24 : (c == u'm' ? Field::Minute : Field::Second));
            field(kind, take, {});
        } else if (!date && (c == u'a' || c == u'A')) {
            take = i + 1 < size && QChar(format[i + 1]).toLower() == u'p' ? 2 : 1;
            twelveHour = true;
            field(Field::AmPm, 0, format.mid(i, take));
        } else if (!date && (c == u'z' || c == u't')) {
            return std::nullopt;
        } else {
            literal += format.mid(i, run);
        }
        i += take;
    }
    flush();
    if (!twelveHour) {
        for (Piece& piece : pieces) {
            if (piece.field == Field::Hour12) {
                piece.field = Field::Hour24;
            }
        }
    }
    return pieces;
}

// The moments a parsed format must render exactly as Qt does before it is trusted: every day of a month,
// every weekday, month and hour, and years of one to five digits.
std::vector<Moment> ProbeMoments(bool date)
{
    std::vector<Moment> moments;
    if (date) {
        for (int day = 1; day <= 31; ++day) {
            moments.push_back(Moment{2004, 1, day});
        }
        for (int month = 1; month <= 12; ++month) {
            moments.push_back(Moment{1999, month, 15});
        }
        for (const int year : {1, 10, 99, 100, 999, 1000, 1601, 2000, 9999, 10000, 65535}) {
            moments.push_back(Moment{year, 12, 31});
        }
        for (Moment& moment : moments) {
            moment.weekday = DateOf(moment).dayOfWeek();
        }
    } else {
        for (int hour = 0; hour <= 23; ++hour) {
            moments.push_back(Moment{0, 0, 0, 0, hour, (hour * 7) % 60, (hour * 13 + 5) % 60});
        }
        moments.push_back(Moment{0, 0, 0, 0, 12, 0, 0});
        moments.push_back(Moment{0, 0, 0, 0, 23, 59, 59});
    }
    return moments;
}

// `qtText` is the text the formatter gave before it cached anything, and stays its answer when the
// format is not one taken apart here.
template <typename QtText>
Picture ReadPicture(const QString& format, bool date, const QLocale& locale, const Digits& digits, QtText qtText)
{
    Picture picture{format, {}, false};
    auto pieces = Parse(format, date, locale);
    if (!pieces) {
        return picture;
    }
    picture.pieces = std::move(*pieces);
    for (const Moment& moment : ProbeMoments(date)) {
        if (Render(picture, moment, digits) != Utf8(qtText(moment))) {
            picture.pieces.clear();
            return picture;
        }
    }
    picture.parsed = true;
    return picture;
}

}   // namespace

// Everything read from the locale, for the locale change count it was read at.
struct QtLocaleFormatter::Forms {
    Forms()
        : app(WatchLocaleChanges()),
          changes(g_localeChanges.load(std::memory_order_relaxed)),
          locale(QLocale::system())
    {
        // The locale's digits as Qt writes day numbers.
        for (int day = 1; day <= 9; ++day) {
            digits[static_cast<std::size_t>(day)] = Utf8(locale.toString(QDate(2004, 1, day), QStringLiteral("d")));
        }
        digits[0] = Utf8(locale.toString(QDate(2004, 1, 10), QStringLiteral("d"))).substr(digits[1].size());
        longDate = ReadPicture(locale.dateFormat(QLocale::LongFormat), true, locale, digits,
                               [this](const Moment& m) { return locale.toString(DateOf(m), QLocale::LongFormat); });
        const QString timeFormat = LocaleTimeFormat();
        time = ReadPicture(timeFormat, false, locale, digits,
                           [&](const Moment& m) { return locale.toString(TimeOf(m), timeFormat); });
        for (int weekday = 1; weekday <= 7; ++weekday) {
            const QDate day(2006, 1, 1 + weekday % 7);
            dayNames[0][static_cast<std::size_t>(weekday - 1)] = Utf8(locale.toString(day, QStringLiteral("ddd")));
            dayNames[1][static_cast<std::size_t>(weekday - 1)] = Utf8(locale.toString(day, QStringLiteral("dddd")));
        }
        for (int month = 1; month <= 12; ++month) {
            const QDate first(2006, month, 1);
            monthNames[0][static_cast<std::size_t>(month - 1)] = Utf8(locale.toString(first, QStringLiteral("MMM")));
            monthNames[1][static_cast<std::size_t>(month - 1)] = Utf8(locale.toString(first, QStringLiteral("MMMM")));
        }
    }

    const QCoreApplication* app;
    unsigned changes;
    QLocale locale;
    Digits digits;
    Picture longDate, time;
    // Short and long, as Qt renders "ddd", "dddd", "MMM" and "MMMM" alone.
    std::array<std::array<std::string, 7>, 2> dayNames;
    std::array<std::array<std::string, 12>, 2> monthNames;
};

QtLocaleFormatter::QtLocaleFormatter() = default;
QtLocaleFormatter::~QtLocaleFormatter() = default;

const QtLocaleFormatter::Forms& QtLocaleFormatter::Current() const
{
    if (!m_forms || m_forms->changes != g_localeChanges.load(std::memory_order_relaxed) ||
        m_forms->app != QCoreApplication::instance()) {
        m_forms = std::make_unique<Forms>();
    }
    return *m_forms;
}

std::string QtLocaleFormatter::LongDate(const SystemTime& date) const
{
    const QDate value(date.year, date.month, date.day);
    if (!value.isValid()) {
        return {};
    }
    const Forms& forms = Current();
    if (!forms.longDate.parsed) {
        return Utf8(forms.locale.toString(value, QLocale::LongFormat));
    }
    return Render(forms.longDate, Moment{date.year, date.month, date.day, value.dayOfWeek()}, forms.digits);
}

std::string QtLocaleFormatter::Time(const SystemTime& time) const
{
    const QTime value(time.hour, time.minute, time.second);
    if (!value.isValid()) {
        return {};
    }
    const Forms& forms = Current();
    if (!forms.time.parsed) {
        return Utf8(forms.locale.toString(value, forms.time.format));
    }
    return Render(forms.time, Moment{0, 0, 0, 0, time.hour, time.minute, time.second}, forms.digits);
}

std::string QtLocaleFormatter::DatePicture(const SystemTime& date, std::string_view picture) const
{
    const QDate value(date.year, date.month, date.day);
    if (!value.isValid()) {
        return {};
    }
    const Forms& forms = Current();
    const bool longName = picture.size() == 4;
    if (picture == "dddd" || picture == "ddd") {
        return forms.dayNames[longName][static_cast<std::size_t>(value.dayOfWeek() - 1)];
    }
    if (picture == "MMMM" || picture == "MMM") {
        return forms.monthNames[longName][static_cast<std::size_t>(date.month - 1)];
    }
    return Utf8(
        forms.locale.toString(value, QString::fromLatin1(picture.data(), static_cast<qsizetype>(picture.size()))));
}
