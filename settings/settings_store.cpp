#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "core/count_text.h"

namespace {

using Kind = SettingKind;

constexpr std::array<SettingInfo, kSettingCount> kSettings = {{
    {"ActivePageNo", Kind::Integer, 0, {}},
    {"ActiveInfoPageNo", Kind::Integer, 0, {}},
    {"ActiveTemplateNo", Kind::Integer, 0, {}},
    {"Visibled", Kind::Integer, 1, {}},
    {"DataOnly", Kind::Integer, 0, {}},
    {"AddToTarget", Kind::Integer, 0, {}},
    {"AddCr", Kind::Integer, 0, {}},
    {"DateFrom", Kind::DateTime, 0, {}},
    {"TimeFrom", Kind::DateTime, 0, {}},
    {"CurFrom", Kind::Integer, 0, {}},
    {"DateTo", Kind::DateTime, 0, {}},
    {"TimeTo", Kind::DateTime, 0, {}},
    {"CurTo", Kind::Integer, 0, {}},
    {"DateStart", Kind::DateTime, 0, {}},
    {"TimeStart", Kind::DateTime, 0, {}},
    {"CurStart", Kind::Integer, 0, {}},
    {"YearsPlus", Kind::Integer, 0, {}},
    {"IsMonthsPlus", Kind::Integer, 1, {}},
    {"MonthsPlus", Kind::Integer, 0, {}},
    {"IsWeeksPlus", Kind::Integer, 0, {}},
    {"WeeksPlus", Kind::Integer, 0, {}},
    {"DaysPlus", Kind::Integer, 0, {}},
    {"HoursPlus", Kind::Integer, 0, {}},
    {"MinutesPlus", Kind::Integer, 0, {}},
    {"SecondsPlus", Kind::Integer, 0, {}},
    {"Date", Kind::DateTime, 0, {}},
    {"Time", Kind::DateTime, 0, {}},
    {"Current", Kind::Integer, 0, {}},
    {"DateRollback", Kind::DateTime, 0, {}},
    {"TimeRollback", Kind::DateTime, 0, {}},
    {"Rollback", Kind::Integer, 0, {}},
    {"Span", Kind::Span, 0, {}},
    {"Autoload", Kind::Integer, 0, {}},
    {"HideToTray", Kind::Integer, 0, {}},
    {"TemplateFolder", Kind::Text, 0, {}},
    {"Lang", Kind::Text, 0, "english"},
    {"MoonAstronomical", Kind::Integer, 0, {}},
    {"WorkingWeekdays", Kind::Integer, 0, {}},   // 0: the locale's working days
    {"HolidayCalendars", Kind::TextList, 0, {}},
    {"CalcWorkingDays", Kind::Integer, 0, {}},
    // A zone name of the tz database; empty: this computer's zone.
    {"InfoZone", Kind::Text, 0, {}},
    {"DifferenceStartZone", Kind::Text, 0, {}},
    {"DifferenceFinalZone", Kind::Text, 0, {}},
    // The Sun sub-page's own places, one "NAME\tLAT\tLON\tZONE" each.
    {"SunPlaces", Kind::TextList, 0, {}},
}};

// "%.20f" of the day count, with a point whatever the locale.
std::string FormatSpanDays(double days)
{
    char text[400];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, days, std::chars_format::fixed, 20);
    return std::string(text, result.ptr);
}

}   // namespace

std::optional<SettingInfo> DescribeSetting(SettingId id)
{
    const int index = static_cast<int>(id);
    if (index < 0 || index >= kSettingCount) {
        return std::nullopt;
    }
    return kSettings[static_cast<std::size_t>(index)];
}

bool SettingsStore::WriteInt(SettingId id, int value) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind != SettingKind::Integer) {
        return false;
    }
    return m_backend.SetValue(info->name, RegValue::Dword(static_cast<std::uint32_t>(value)));
}

int SettingsStore::ReadInt(SettingId id) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind != SettingKind::Integer) {
        return 0;
    }
    const std::optional<RegValue> value = m_backend.QueryValue(info->name);
    if (!value || value->data.size() > 4) {
        return info->defaultInt;
    }
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
    }
    return static_cast<int>(number);
}

bool SettingsStore::WriteString(SettingId id, std::string_view text) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind == SettingKind::Integer || info->kind == SettingKind::TextList) {
        return false;
    }
    return m_backend.SetValue(info->name, RegValue::Sz(text));
}

bool SettingsStore::ReadString(SettingId id, std::string& text) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind == SettingKind::Integer || info->kind == SettingKind::TextList) {
        return false;
    }
    const std::optional<RegValue> value = m_backend.QueryValue(info->name);
    if (!value || value->data.size() > kMaxTextBytes) {
        text = id == SettingId::TemplateFolder ? DefaultTemplateFolder() : std::string(info->defaultText);
        return false;
    }
    text = value->data.substr(0, value->data.find('\0'));
    return true;
}

bool SettingsStore::WriteList(SettingId id, const std::vector<std::string>& texts) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind != SettingKind::TextList) {
        return false;
    }
    return m_backend.SetValue(info->name, RegValue::MultiSz(texts));
}

std::vector<std::string> SettingsStore::ReadList(SettingId id) const
{
    const std::optional<SettingInfo> info = DescribeSetting(id);
    if (!info || info->kind != SettingKind::TextList) {
        return {};
    }
    const std::optional<RegValue> value = m_backend.QueryValue(info->name);
    return value ? value->Texts() : std::vector<std::string>();
}

bool SettingsStore::WriteDateTime(SettingId id, const DateTime& value) const
{
    const std::optional<DateTime::Parts> parts = value.GetParts();
    char text[80];
    if (parts) {
        std::snprintf(text, sizeof text, "%d %d %d %d %d %d", parts->year, parts->month, parts->day, parts->hour,
                      parts->minute, parts->second);
    } else {
        std::snprintf(text, sizeof text, "%d %d %d %d %d %d", -1, -1, -1, -1, -1, -1);
    }
    return WriteString(id, text);
}

DateTime SettingsStore::ReadDateTime(SettingId id) const
{
    std::string text;
    if (!ReadString(id, text)) {
        text.clear();
    }
    int parts[6];
    std::size_t pos = 0;
    for (int& part : parts) {
        const std::optional<int> number = TakeCount(text, pos);
        if (!number) {
            return GetNow(m_clock);
        }
        part = *number;
    }
    return DateTime::FromParts(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

bool SettingsStore::WriteSpan(SettingId id, const DateTimeSpan& value) const
{
    return WriteString(id, FormatSpanDays(value.GetTotalDays()));
}

AutostartChange SettingsStore::SetAutoload(bool enable) const
{
    if (enable) {
        return m_autostart.Add(kApplicationName, m_location.ExecutablePath());
    }
    return m_autostart.Remove(kApplicationName);
}

std::string SettingsStore::DefaultTemplateFolder() const
{
    return ::DefaultTemplateFolder(m_location);
}
