#include "app/page_table.h"

#include "app/about_page.h"
#include "app/options_page.h"
#include "pages/calc/calculation_page.h"
#include "pages/calc/difference_page.h"
#include "pages/calc/rollback_page.h"
#include "pages/info/time_info_page.h"

const std::array<PageEntry, kPageCount> kPages = {{
    {QLatin1String("Difference"), DrawDifferenceIcon, 32772, QLatin1String("Difference..."), true, true,
     [](const PageParts& parts) -> PageWidget* { return new DifferencePage(parts.services); }},
    {QLatin1String("Calculation"), DrawCalculationIcon, 32773, QLatin1String("Calculation..."), true, true,
     [](const PageParts& parts) -> PageWidget* { return new CalculationPage(parts.services); }},
    {QLatin1String("Time Info"), DrawTimeInfoIcon, 32774, QLatin1String("Time Info..."), true, true,
     [](const PageParts& parts) -> PageWidget* { return new TimeInfoPage(parts.services); }},
    {QLatin1String("Rollback"), DrawRollbackIcon, 32778, QLatin1String("Rollback..."), true, false,
     [](const PageParts& parts) -> PageWidget* { return new RollbackPage(parts.services, parts.clockSetter); }},
    {QLatin1String("Options"), DrawOptionsIcon, 32775, QLatin1String("Options..."), true, false,
     [](const PageParts& parts) -> PageWidget* { return new OptionsPage(parts.services, parts.options); }},
    {QLatin1String("About"), DrawAboutIcon, 32776, QLatin1String("About..."), false, false,
     [](const PageParts&) -> PageWidget* { return new AboutPage; }},
}};
