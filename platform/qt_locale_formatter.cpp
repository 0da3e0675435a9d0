#include "platform/qt_locale_formatter.h"

#include "widgets/pickers.h"

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

}   // namespace

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
    return Utf8(
        QLocale::system().toString(value, QString::fromLatin1(picture.data(), static_cast<qsizetype>(picture.size()))));
}
