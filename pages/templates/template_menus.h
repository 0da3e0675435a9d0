#pragma once

#include <QMenu>
#include <QMenuBar>

#include <memory>

#include "core/clock.h"
#include "core/locale_format.h"
#include "templates/substitution.h"

// The template menus (menu 143): Template, Edit, Substitution and Value. Every command item carries its
// command id as controlId; macro items read "label<TAB>%MACRO%". The Substitution menu's three page
// sub-menus end with a separator and the three output toggles.
struct TemplateMenus {
    std::unique_ptr<QMenuBar> bar;   // owns every menu below
    QMenu* templateMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* substitution = nullptr;
    QMenu* value = nullptr;
    // Difference, Calculation and Time Info, in that order.
    std::array<QMenu*, 3> substitutionPages{};
    std::array<QMenu*, 3> valuePages{};
};

inline constexpr int kTemplateMenuId = 143;

TemplateMenus BuildTemplateMenus();

// The first command item with this id anywhere in the menu or its sub-menus; null when none.
QAction* FindCommand(const QWidget& menu, int commandId);
// Checks or unchecks every copy of a check item in the menu and its sub-menus.
void SetChecked(const QWidget& menu, int commandId, bool checked);
// Every command item "label<TAB>%MACRO%" of the menu and its sub-menus shows its current value after the
// tab instead of the macro.
void FillMenuValues(const QWidget& menu, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter);
