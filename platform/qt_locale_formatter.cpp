#include "platform/qt_locale_formatter.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace {

QDate ToDate(const SystemTime& date)
{
    return QDate(date.year, date.month, date.day);
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

}  // namespace

QString LocaleTimeFormat()
{
    // The long format is the one with seconds; take the zone name ("t") and the blanks around it out.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

std::string QtLocaleFormatter::LongDate(const SystemTime& date) const
{
    const QDate value = ToDate(date);
    if (!value.isValid()) {
        return {};
    }
    return Utf8(QLocale::system().toString(value, QLocale::LongFormat));
}

std::string QtLocaleFormatter::Time(const SystemTime& time) const
{
    const QTime value(time.hour, time.minute, time.second);
    if (!value.isValid()) {
        return {};
    }
    return Utf8(QLocale::system().toString(value, LocaleTimeFormat()));
}

std::string QtLocaleFormatter::DatePicture(const SystemTime& date, std::string_view picture) const
{
    const QDate value = ToDate(date);
    if (!value.isValid()) {
        return {};
    }
    return Utf8(QLocale::system().toString(value, QString::fromLatin1(picture.data(),
                                                                       static_cast<qsizetype>(picture.size()))));
}
