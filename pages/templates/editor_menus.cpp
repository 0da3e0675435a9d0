#include "pages/templates/editor_menus.h"

#include <algorithm>

#include "pages/translation.h"

namespace {

// The output toggles and the separator before them end each Substitution page.
constexpr qsizetype kOutputItems = 4;

// The label of an item text: what stands before its tab.
QString LabelOf(const QString& text)
{
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

// Gives every Value item the Substitution item's label at the same place, keeping its value.
void RelabelValues(const QMenu& substitution, QMenu& value)
{
    const QList<QAction*> from = substitution.actions();
    const QList<QAction*> to = value.actions();
    for (qsizetype i = 0; i < std::min(from.size(), to.size()); ++i) {
        if (from[i]->menu() != nullptr && to[i]->menu() != nullptr) {
            RelabelValues(*from[i]->menu(), *to[i]->menu());
        } else if (!from[i]->isSeparator() && !to[i]->isSeparator() && from[i]->menu() == nullptr) {
            const QString own = to[i]->text();
            const qsizetype tab = own.indexOf(u'\t');
            to[i]->setText(LabelOf(from[i]->text()) + (tab < 0 ? QString() : own.mid(tab)));
        }
    }
}

void ExcludeItemsFromTranslation(const QMenu& menu)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ExcludeItemsFromTranslation(*action->menu());
        } else {
            ExcludeFromTranslation(*action);
        }
    }
}

}   // namespace

TemplateMenus BuildEditorMenus(const MacroValueSource& pages, const Clock& clock, const LocaleFormatter& formatter,
                               const LanguageTable& language)
{
    TemplateMenus menus = BuildTemplateMenus();
    for (QMenu* page : menus.substitutionPages) {
        const QList<QAction*> actions = page->actions();
        if (actions.size() > kOutputItems) {
            for (qsizetype i = actions.size() - kOutputItems; i < actions.size(); ++i) {
                page->removeAction(actions[i]);
            }
        }
    }
    FillMenuValues(*menus.value, pages, clock, formatter);
    // The Value menu's items show values, which no translation may touch; its sub-menus' titles are
    // translated.
    ExcludeItemsFromTranslation(*menus.value);
    TranslateMenu(language, true, menus.bar.get(), kTemplateMenuId);
    RelabelValues(*menus.substitution, *menus.value);
    return menus;
}
