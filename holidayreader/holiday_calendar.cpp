#include "holidayreader/holiday_calendar.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

#include "holidayreader/event_occurrences.h"

namespace {

using Days = std::vector<std::int64_t>;

constexpr std::int64_t kSpanDays = kLastHolidayDay - kFirstHolidayDay + 1;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

// Days covered by events, as the starts and ends of their stretches: each event costs the same whatever
// its length, and overlapping ones are merged once at the end.
class Coverage {
public:
    void Add(std::int64_t first, std::int64_t length)
    {
        const std::int64_t begin = std::max(first, kFirstHolidayDay);
        const std::int64_t end = std::min(first + length, kLastHolidayDay + 1);
        if (begin >= end) {
            return;
        }
        if (m_edges.empty()) {
            m_edges.assign(static_cast<std::size_t>(kSpanDays + 1), 0);
        }
        ++m_edges[static_cast<std::size_t>(begin - kFirstHolidayDay)];
        --m_edges[static_cast<std::size_t>(end - kFirstHolidayDay)];
    }

    Days CoveredDays() const
    {
        Days days;
        std::int64_t open = 0;
        for (std::size_t at = 0; at < m_edges.size(); ++at) {
            open += m_edges[at];
            if (open > 0) {
                days.push_back(kFirstHolidayDay + static_cast<std::int64_t>(at));
            }
        }
        return days;
    }

private:
    std::vector<std::int64_t> m_edges;
};

// The first day of an all-day event; empty for an event with a time of day or without a start.
std::optional<std::int64_t> AllDayStart(icalcomponent* event)
{
    icalproperty* start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (start == nullptr) {
        return std::nullopt;
    }
    const icaltimetype time = icalproperty_get_dtstart(start);
    return time.is_date ? DayOfIcalTime(time) : std::nullopt;
}

// Days from the start to the exclusive DTEND, else the DURATION's whole days, at least one.
std::int64_t LengthInDays(icalcomponent* event, std::int64_t startDay)
{
    std::int64_t length = 1;
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const std::optional<std::int64_t> endDay = DayOfIcalTime(icalproperty_get_dtend(end));
        length = endDay ? *endDay - startDay : 1;
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype value = icalproperty_get_duration(duration);
        length = value.is_neg ? 1 : std::int64_t{value.weeks} * 7 + value.days;
    }
    return std::clamp<std::int64_t>(length, 1, kSpanDays);
}

bool Cancelled(icalcomponent* event)
{
    return icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED;
}

std::string Uid(icalcomponent* event)
{
    const char* uid = icalcomponent_get_uid(event);
    return uid != nullptr ? uid : "";
}

// The events of a calendar, of a lone event, or of several calendars in one file.
std::vector<icalcomponent*> Events(icalcomponent* root)
{
    std::vector<icalcomponent*> events;
    if (icalcomponent_isa(root) == ICAL_VEVENT_COMPONENT) {
        events.push_back(root);
    }
    for (icalcomponent* child = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); child != nullptr;
         child = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(child);
        if (kind == ICAL_VEVENT_COMPONENT) {
            events.push_back(child);
        } else if (kind == ICAL_VCALENDAR_COMPONENT) {
            const std::vector<icalcomponent*> inner = Events(child);
            events.insert(events.end(), inner.begin(), inner.end());
        }
    }
    return events;
}

// Instances given a RECURRENCE-ID: each replaces the master's occurrence on that day, whatever it became;
// one with RANGE=THISANDFUTURE also moves every later occurrence by its own shift and gives them its length,
// or, cancelled or given a time of day, removes them.
class Instances {
public:
    // Keeps what the instance `event` does to its master, and adds its own days to `coverage`.
    void Add(icalcomponent* event, icalproperty* recurrence, Coverage& coverage)
    {
        const std::optional<std::int64_t> day = DayOfIcalTime(icalproperty_get_recurrenceid(recurrence));
        const std::optional<std::int64_t> start = AllDayStart(event);
        const bool gives = start && !Cancelled(event);
        const std::int64_t length = gives ? LengthInDays(event, *start) : 0;
        if (gives) {
            coverage.Add(*start, length);
        }
        if (!day) {
            return;
        }
        Master& master = m_masters[Uid(event)];
        master.replaced.push_back(*day);
        if (ThisAndFuture(recurrence)) {
            master.later.push_back({*day, gives ? *start - *day : 0, length});
        }
    }

    // Adds the master occurrence that starts on `day`, of `length` days, as its instances left it.
    void Place(const std::string& uid, std::int64_t day, std::int64_t length, Coverage& coverage) const
    {
        const auto master = m_masters.find(uid);
        if (master == m_masters.end()) {
            coverage.Add(day, length);
            return;
        }
        const Master& m = master->second;
        if (std::binary_search(m.replaced.begin(), m.replaced.end(), day)) {
            return;
        }
        // The latest THISANDFUTURE instance before the day governs it.
        const auto after = std::upper_bound(m.later.begin(), m.later.end(), day,
                                            [](std::int64_t d, const Later& later) { return d < later.from; });
        if (after == m.later.begin()) {
            coverage.Add(day, length);
        } else {
            coverage.Add(day + std::prev(after)->shift, std::prev(after)->length);
        }
    }

    // To be called once all instances are in, before Place.
    void Sort()
    {
        for (auto& [uid, master] : m_masters) {
            std::sort(master.replaced.begin(), master.replaced.end());
            std::stable_sort(master.later.begin(), master.later.end(),
                             [](const Later& a, const Later& b) { return a.from < b.from; });
        }
    }

private:
    struct Later {
        std::int64_t from, shift, length;   // length 0: the later occurrences are gone
    };
    struct Master {
        Days replaced;
        std::vector<Later> later;
    };

    static bool ThisAndFuture(icalproperty* recurrence)
    {
        const icalparameter* range = icalproperty_get_first_parameter(recurrence, ICAL_RANGE_PARAMETER);
        return range != nullptr && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE;
    }

    std::map<std::string, Master> m_masters;
};

HolidayCalendar Refused(std::string reason)
{
    return {false, std::move(reason), {}};
}

}   // namespace

HolidayCalendar ReadHolidayCalendar(std::string_view icsBytes)
{
    icalerror_set_errors_are_fatal(0);
    // libical reads a C string: bytes past a NUL are no part of the text.
    const std::string text(icsBytes.substr(0, icsBytes.find('\0')));
    const std::unique_ptr<icalcomponent, ComponentFree> root(icalparser_parse_string(text.c_str()));
    const icalcomponent_kind kind = root ? icalcomponent_isa(root.get()) : ICAL_NO_COMPONENT;
    if (kind != ICAL_VCALENDAR_COMPONENT && kind != ICAL_VEVENT_COMPONENT && kind != ICAL_XROOT_COMPONENT) {
        return Refused(kNotCalendarCode);
    }
    const std::vector<icalcomponent*> events = Events(root.get());
    Instances instances;
    Coverage coverage;
    for (icalcomponent* event : events) {
        if (icalproperty* recurrence = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            instances.Add(event, recurrence, coverage);
        }
    }
    instances.Sort();
    for (icalcomponent* event : events) {
        const std::optional<std::int64_t> start = AllDayStart(event);
        if (!start || Cancelled(event) || icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            continue;
        }
        if (*start > kLastHolidayDay) {
            continue;
        }
        const std::optional<Days> starts = EventStartDays(event, *start);
        if (!starts) {
            return Refused(kRepeatsCode);
        }
        const std::string uid = Uid(event);
        const std::int64_t length = LengthInDays(event, *start);
        for (const std::int64_t day : *starts) {
            instances.Place(uid, day, length, coverage);
        }
    }
    return {true, "", coverage.CoveredDays()};
}
