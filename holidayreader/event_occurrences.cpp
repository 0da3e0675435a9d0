#include "holidayreader/event_occurrences.h"

#include <algorithm>
#include <memory>

#include "holidayreader/holiday_calendar.h"

namespace {

using Days = std::vector<std::int64_t>;

// The Gregorian calendar repeats its weekdays and leap years every 400 years, this many days.
constexpr std::int64_t kCycleDays = 146097;
// libical's recurrence iterator gives no occurrence from this day on (2583-01-01).
constexpr std::int64_t kIteratorEndDay = civil::DaysFromCivil(2583, 1, 1);
// Steps of one rule before the span count towards the limit as well: a rule every second from the year
// 1000 must not keep the reader busy before its first holiday.
constexpr std::int64_t kMaxRuleSteps = 4 * kMaxEventOccurrences;

struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};

// Starts this far before the span are kept: a stretch of days that begins before it may reach into it.
constexpr std::int64_t kLongestStretchDays = 366;

// Occurrences of one event, counted against the limit as they come.
class Occurrences {
public:
    bool Add(std::int64_t day)
    {
        if (day < kFirstHolidayDay - kLongestStretchDays || day > kLastHolidayDay) {
            return true;
        }
        m_days.push_back(day);
        return static_cast<std::int64_t>(m_days.size()) <= kMaxEventOccurrences;
    }
    Days& days() { return m_days; }

private:
    Days m_days;
};

// Rules without COUNT whose steps fit a whole number of times into 400 Gregorian years repeat with the
// calendar: one cycle of them, carried by whole cycles, gives them all. Not so BYWEEKNO, whose days libical
// gives out of order and across year ends.
bool RepeatsEveryCycle(const icalrecurrencetype& rule)
{
    if (rule.count != 0 || rule.interval < 1 || (rule.rscale != nullptr && *rule.rscale != '\0') ||
        rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        return false;
    }
    const int interval = rule.interval;
    switch (rule.freq) {
    case ICAL_YEARLY_RECURRENCE:
        return 400 % interval == 0;
    case ICAL_MONTHLY_RECURRENCE:
        return 4800 % interval == 0;
    case ICAL_WEEKLY_RECURRENCE:
        return (kCycleDays / 7) % interval == 0;
    case ICAL_DAILY_RECURRENCE:
        return kCycleDays % interval == 0;
    default:
        return false;
    }
}

// The day a cycle's iteration starts on: DTSTART moved by whole cycles so that the cycle lies within the
// iterator's Gregorian years (before 1582 libical counts Julian days) and ends before the iterator's end.
std::int64_t CycleStartDay(std::int64_t startDay)
{
    constexpr std::int64_t kEarliest = kFirstHolidayDay - kLongestStretchDays;
    if (startDay < kEarliest) {
        return startDay + (kEarliest - startDay + kCycleDays - 1) / kCycleDays * kCycleDays;
    }
    const std::int64_t latest = kIteratorEndDay - kCycleDays;
    return startDay <= latest ? startDay : startDay - (startDay - latest + kCycleDays - 1) / kCycleDays * kCycleDays;
}

// A rule that repeats every cycle: libical's days of one cycle, carried forward by whole cycles over the span
// and, when that cycle starts past the span's start, one cycle back.
bool ExpandCycle(icalrecurrencetype rule, const icaltimetype& dtstart, std::int64_t startDay, Occurrences& out)
{
    const std::optional<std::int64_t> until = DayOfIcalTime(rule.until);
    const std::int64_t lastDay = until ? std::min(*until, kLastHolidayDay) : kLastHolidayDay;
    const std::int64_t cycleStart = CycleStartDay(startDay);
    const std::int64_t firstCopy = cycleStart > startDay ? -1 : 0;
    // UNTIL is applied to the copies: a day of the cycle past it may still be wanted one cycle back.
    rule.until = icaltime_null_time();
    icaltimetype first = dtstart;
    icaltime_adjust(&first, static_cast<int>(cycleStart - startDay), 0, 0, 0);
    const std::unique_ptr<icalrecur_iterator, IteratorFree> iterator(icalrecur_iterator_new(rule, first));
    if (!iterator) {
        return true;
    }
    const auto addCopies = [&](std::int64_t native, std::int64_t fromCopy, std::int64_t toCopy) {
        for (std::int64_t copy = fromCopy; copy <= toCopy; ++copy) {
            const std::int64_t day = native + copy * kCycleDays;
            if (day > lastDay) {
                return true;
            }
            if (day >= startDay && !out.Add(day)) {
                return false;
            }
        }
        return true;
    };
    Days cycle;
    for (icaltimetype next = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator.get())) {
        const std::optional<std::int64_t> native = DayOfIcalTime(next);
        if (!native) {
            return true;
        }
        if (*native >= cycleStart + kCycleDays || *native + firstCopy * kCycleDays > lastDay) {
            break;
        }
        // The first copies go out at once, so that a rule with too many days stops early.
        if (!addCopies(*native, firstCopy, 0)) {
            return false;
        }
        cycle.push_back(*native);
    }
    const std::int64_t lastCopy = (lastDay - cycleStart) / kCycleDays;
    for (const std::int64_t native : cycle) {
        if (!addCopies(native, 1, lastCopy)) {
            return false;
        }
    }
    return true;
}

// Other rules: their occurrences from libical, then its last 400 years repeated up to the span's end. A start
// within the last cycle before the iterator's end is moved back by whole cycles first, so that the
// iterator sees a full cycle; COUNT cannot be moved, so such rules run as given.
bool ExpandRule(const icalrecurrencetype& rule, const icaltimetype& dtstart, std::int64_t startDay, Occurrences& out)
{
    if (RepeatsEveryCycle(rule)) {
        return ExpandCycle(rule, dtstart, startDay, out);
    }
    const std::optional<std::int64_t> until = DayOfIcalTime(rule.until);
    const std::int64_t lastDay = until ? std::min(*until, kLastHolidayDay) : kLastHolidayDay;
    std::int64_t shift = 0;
    if (rule.count == 0 && startDay >= kIteratorEndDay - kCycleDays) {
        shift = (startDay - (kIteratorEndDay - kCycleDays)) / kCycleDays + 1;
    }
    icaltimetype first = dtstart;
    icaltime_adjust(&first, static_cast<int>(-shift * kCycleDays), 0, 0, 0);
    const std::unique_ptr<icalrecur_iterator, IteratorFree> iterator(icalrecur_iterator_new(rule, first));
    if (!iterator) {
        return true;
    }
    Days cycle;   // the iterator's days in its last full cycle
    std::int64_t produced = 0;
    for (icaltimetype next = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(iterator.get())) {
        const std::optional<std::int64_t> native = DayOfIcalTime(next);
        if (!native) {
            return true;
        }
        if (++produced > kMaxRuleSteps) {
            return false;
        }
        const std::int64_t day = *native + shift * kCycleDays;
        if (day > lastDay) {
            return true;
        }
        if (*native >= kIteratorEndDay - kCycleDays) {
            cycle.push_back(*native);
        }
        if (day >= startDay && !out.Add(day)) {
            return false;
        }
    }
    if ((rule.count != 0 && produced >= rule.count) || (until && *until < kIteratorEndDay) || cycle.empty()) {
        return true;
    }
    for (std::int64_t cycles = shift + 1;; ++cycles) {
        for (const std::int64_t native : cycle) {
            const std::int64_t day = native + cycles * kCycleDays;
            if (day > lastDay || (rule.count != 0 && produced++ >= rule.count)) {
                return true;
            }
            if (day >= startDay && !out.Add(day)) {
                return false;
            }
        }
    }
}

// Days of a property's dates (EXDATE, RDATE), read by `get`.
template <typename Get>
bool EachPropertyDay(icalcomponent* event, icalproperty_kind kind, Get get, Occurrences* out, Days* days)
{
    for (icalproperty* property = icalcomponent_get_first_property(event, kind); property != nullptr;
         property = icalcomponent_get_next_property(event, kind)) {
        const std::optional<std::int64_t> day = DayOfIcalTime(get(property));
        if (day && out != nullptr && !out->Add(*day)) {
            return false;
        }
        if (day && days != nullptr) {
            days->push_back(*day);
        }
    }
    return true;
}

icaltimetype RdateTime(icalproperty* property)
{
    const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
    return icaltime_is_null_time(value.time) ? value.period.start : value.time;
}

}   // namespace

std::optional<std::int64_t> DayOfIcalTime(const icaltimetype& time)
{
    if (icaltime_is_null_time(time) || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31) {
        return std::nullopt;
    }
    const std::int64_t day =
        civil::DaysFromCivil(time.year, static_cast<unsigned>(time.month), static_cast<unsigned>(time.day));
    // February 30 and the like would land on a day of the next month.
    if (civil::CivilFromDays(day).day != time.day) {
        return std::nullopt;
    }
    return day;
}

std::optional<Days> EventStartDays(icalcomponent* event, std::int64_t startDay)
{
    Occurrences occurrences;
    occurrences.Add(startDay);
    const icaltimetype dtstart = icalcomponent_get_dtstart(event);
    for (icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); rule != nullptr;
         rule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
        if (recurrence.freq != ICAL_NO_RECURRENCE && !ExpandRule(recurrence, dtstart, startDay, occurrences)) {
            return std::nullopt;
        }
    }
    if (!EachPropertyDay(event, ICAL_RDATE_PROPERTY, RdateTime, &occurrences, nullptr)) {
        return std::nullopt;
    }
    Days excluded;
    EachPropertyDay(event, ICAL_EXDATE_PROPERTY, icalproperty_get_exdate, nullptr, &excluded);
    std::sort(excluded.begin(), excluded.end());
    Days& days = occurrences.days();
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    std::erase_if(days, [&](std::int64_t day) { return std::binary_search(excluded.begin(), excluded.end(), day); });
    return std::move(days);
}
