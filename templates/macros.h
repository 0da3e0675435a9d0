#pragma once

#include <array>
#include <string_view>

// Where a macro's value comes from: the clock, or a field of one page (the Time Info page's own pickers,
// or one of its five sub-pages).
enum class MacroSource {
    CurrentDate,
    CurrentTime,
    Difference,
    Calculation,
    TimeInfo,
    General,
    TimeZone,
    Moon,
    Horoscope,
    Sun
};

// A text field is copied as shown; a picker is formatted as long date or time.
enum class MacroValue { Text, LongDate, Time };

struct Macro {
    std::string_view code;                // "%DSD%"
    std::string_view substitutionLabel;   // item text before the tab in the Substitution menu
    int substitutionId;
    std::string_view valueLabel;   // item text before the tab in the Value menu
    int valueId;
    MacroSource source;
    int controlId;   // the source field; 0 for the current date and time
    MacroValue value;
    // The menu item writes one blank after the macro ("\t%IPFX% ").
    bool trailingBlank = false;
};

inline constexpr int kMacroCount = 62;

// Every macro, in the order of replacement, which is also the order of the menus.
extern const std::array<Macro, kMacroCount> kMacros;

// The Substitution and Value menus' sub-menus, in menu order: the macros of `source` in table order.
struct MacroGroup {
    MacroSource source;
    std::string_view substitutionTitle;
    std::string_view valueTitle;
};
inline constexpr std::array<MacroGroup, 3> kPageGroups = {{
    {MacroSource::Difference, "Diff&erence", "&Difference"},
    {MacroSource::Calculation, "&Calculation", "&Evaluate"},
    {MacroSource::TimeInfo, "Time &Info", "Time &Info"},
}};
// The Time Info sub-menu's own sub-menus, after its two picker items.
inline constexpr std::array<MacroGroup, 5> kTimeInfoGroups = {{
    {MacroSource::General, "Gene&ral", "&General"},
    {MacroSource::TimeZone, "Time &Zone", "Time &Zone"},
    {MacroSource::Moon, "&Moon Phase", "&Moon Phase"},
    {MacroSource::Horoscope, "&Horoscope", "&Horoscope"},
    {MacroSource::Sun, "S&un", "S&un"},
}};

// The three output toggles that end the Substitution menu's page sub-menus.
inline constexpr int kDataOnlyCommand = 32889;
inline constexpr int kAddToTargetCommand = 32890;
inline constexpr int kAddCrCommand = 32891;
