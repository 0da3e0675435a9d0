#pragma once

#include "core/clock.h"
#include "core/locale_format.h"
#include "pages/templates/template_menus.h"
#include "settings/language_table.h"
#include "templates/substitution.h"

// The template editor's menus, translated: the Substitution pages without the output toggles (they belong
// to Save >> and Copy >>), and every Value item showing its value of this moment under the label of the
// Substitution item at the same place.
TemplateMenus BuildEditorMenus(const MacroValueSource& pages, const Clock& clock, const LocaleFormatter& formatter,
                               const LanguageTable& language);
