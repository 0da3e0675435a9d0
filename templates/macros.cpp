#include "templates/macros.h"

namespace {

using enum MacroSource;
using enum MacroValue;

}   // namespace

const std::array<Macro, kMacroCount> kMacros = {{
    {"%CD%", "Current &Date", 32865, "Current D&ate", 32893, CurrentDate, 0, LongDate},
    {"%CT%", "Current &Time", 32866, "Current &Time", 32894, CurrentTime, 0, Time},

    {"%DSD%", "Start &Date", 32874, "Start &Date", 32895, Difference, 1001, LongDate},
    {"%DST%", "Start &Time", 32875, "Start &Time", 32896, Difference, 1120, Time},
    {"%DED%", "&Final Date", 32825, "&End Date", 32897, Difference, 1002, LongDate},
    {"%DET%", "Final Tim&e", 32827, "E&nd Time", 32898, Difference, 1122, Time},
    {"%DY%", "&Years Overall", 32843, "&Years", 32899, Difference, 1050, Text},
    {"%DM%", "&Months Overall", 32846, "&Months", 32900, Difference, 1051, Text},
    {"%DW%", "&Weeks Overall", 32796, "&Weeks", 32901, Difference, 1052, Text},
    {"%DDM%", "Days &Overall (If Months)", 32876, "Day&s (If Months)", 32902, Difference, 1053, Text},
    {"%DDW%", "D&ays Overall (If Wee&ks)", 32877, "Days (If Wee&ks)", 32903, Difference, 1054, Text},
    {"%DH%", "&Hours Overall ", 32847, "&Hours", 32904, Difference, 1055, Text},
    {"%DN%", "Mi&nutes Overall", 32848, "Min&utes", 32905, Difference, 1056, Text},
    {"%DS%", "&Seconds Overall", 32849, "Se&conds", 32906, Difference, 1057, Text},
    {"%DTY%", "Years Particular", 32878, "Total Yea&rs", 32907, Difference, 1141, Text},
    {"%DTM%", "Months Particular", 32879, "Total M&onths", 32908, Difference, 1123, Text},
    {"%DTW%", "Weeks Particular", 32880, "Tot&al Weeks", 32909, Difference, 1124, Text},
    {"%DTD%", "Days Particular", 32881, "Tota&l Days", 32910, Difference, 1126, Text},
    {"%DTH%", "Hours Particular", 32882, "Total Hours &1", 32911, Difference, 1127, Text},
    {"%DTN%", "Minutes Particular", 32883, "Total M&inutes", 32912, Difference, 1128, Text},
    {"%DTS%", "Seconds Particular", 32884, "Total Seconds &2", 32913, Difference, 1129, Text},
    {"%DEL%", "Ela&psed Time", 32956, "Ela&psed Time", 32957, Difference, 1132, Text},
    {"%DWK%", "Workin&g Days", 32958, "Workin&g Days", 32959, Difference, 1133, Text},
    {"%DSZ%", "Start &Zone", 32960, "Start &Zone", 32961, Difference, 1135, Text},
    {"%DEZ%", "Fina&l Zone", 32962, "End Zone &3", 32963, Difference, 1136, Text},

    {"%ESD%", "Start &Date", 32885, "Start &Date", 32914, Calculation, 1070, LongDate},
    {"%EST%", "Start &Time", 32886, "Start &Time", 32915, Calculation, 1071, Time},
    {"%EY%", "&Years Plus", 32850, "&Years Plus", 32916, Calculation, 1058, Text},
    {"%EM%", "&Months Plus", 32851, "&Months Plus", 32917, Calculation, 1059, Text},
    {"%EW%", "&Weeks Plus", 32852, "&Weeks Plus", 32918, Calculation, 1060, Text},
    {"%ED%", "D&ays Plus", 32920, "D&ays Plus", 32853, Calculation, 1061, Text},
    {"%EH%", "&Hours Plus", 32854, "&Hours Plus", 32919, Calculation, 1062, Text},
    {"%EN%", "Mi&nutes Plus", 32855, "Mi&nutes Plus", 32921, Calculation, 1049, Text},
    {"%ES%", "&Seconds Plus", 32856, "&Seconds Plus", 32922, Calculation, 1075, Text},
    {"%EDB%", "Date Difference", 32858, "Date &Before", 32923, Calculation, 1095, Text},
    {"%ETB%", "Time Difference", 32860, "Time Bef&ore", 32924, Calculation, 1096, Text},
    {"%EDA%", "Date Sum", 32861, "Date Aft&er", 32925, Calculation, 1097, Text},
    {"%ETA%", "Time Sum", 32863, "Time A&fter", 32926, Calculation, 1098, Text},

    {"%ISD%", "&Date", 32840, "&Date", 32927, TimeInfo, 1045, LongDate},
    {"%IST%", "&Time", 32842, "&Time", 32928, TimeInfo, 1090, Time},
    {"%IWD%", "&Day of the week", 32828, "Week &Day", 32929, General, 1039, Text},
    {"%IL%", "&Leap year or not", 32829, "Is &Leap Year", 32930, General, 1064, Text},
    {"%IYD%", "&Yearly day number", 32830, "Day &Number of Year", 32931, General, 1065, Text},
    {"%IYW%", "&Week Number", 32831, "&Week Number of Year", 32932, General, 1043, Text},
    {"%IIW%", "&ISO Week", 32954, "&ISO Week", 32955, General, 1131, Text},
    {"%IQ%", "&Quarter Number", 32867, "&Quarter", 32933, General, 1044, Text},
    {"%ISE%", "&Season", 32868, "&Season", 32934, General, 1045, Text},
    {"%ITZ%", "&Current Time Zone", 32832, "&Current Time Zone", 32935, TimeZone, 1107, Text},
    {"%IDSTB%", "&Date/Time of DST Begin", 32833, "&Date/Time of DST Begin", 32936, TimeZone, 1105, Text},
    {"%IDDSTB%", "Date of &Next DST Begin", 32869, "Date of &Next DST Begin", 32937, TimeZone, 1108, Text},
    {"%IDSTE%", "Date/Time of DST &End", 32834, "Date/Time of DST &End", 32938, TimeZone, 1106, Text},
    {"%IDDSTE%", "Date of Ne&xt DST End", 32870, "Date of Ne&xt DST End", 32939, TimeZone, 1103, Text},
    {"%ICX%", "&Current Moon Phase", 32835, "&Current Moon Phase", 32940, Moon, 1066, Text},
    {"%IPFX%", "Date/Time of &Previous Full", 32836, "Date/Time of &Previous Full", 32941, Moon, 1101, Text, true},
    {"%INFX%", "Date/Time of &Next Full", 32837, "Date/Time of &Next Full", 32942, Moon, 1102, Text},
    {"%IPNX%", "Date/Time of P&revious New", 32838, "Date/Time of P&revious New", 32943, Moon, 1104, Text},
    {"%INNX%", "Date/Time of N&ext New", 32839, "Date/Time of N&ext New", 32944, Moon, 1103, Text},
    {"%ISG%", "&Sign", 32871, "&Sign", 32945, Horoscope, 1108, Text},
    {"%IYR%", "&Year", 32872, "&Year", 32946, Horoscope, 1109, Text},
}};
