#include "pages/templates/template_menus.h"

#include "widgets/control_id.h"

namespace {

QAction* AddCommand(QMenu& menu, int id, const QString& text)
{
    QAction* action = menu.addAction(text);
    SetControlId(*action, id);
    return action;
}

QString Qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void AddMacroItems(QMenu& menu, MacroSource source, bool valueMenu)
{
    for (const Macro& macro : kMacros) {
        if (macro.source == source) {
            AddCommand(menu, valueMenu ? macro.valueId : macro.substitutionId,
                       QString::fromStdString(valueMenu ? ValueItemText(macro) : SubstitutionItemText(macro)));
        }
    }
}

// A page's sub-menu of the Substitution menu ends with the output toggles; the Time Info sub-pages'
// menus inside it do not repeat them.
QMenu* AddGroup(QMenu& parent, const MacroGroup& group, bool valueMenu, bool withToggles)
{
    QMenu* menu = parent.addMenu(Qs(valueMenu ? group.valueTitle : group.substitutionTitle));
    AddMacroItems(*menu, group.source, valueMenu);
    if (group.source == MacroSource::TimeInfo) {
        for (const MacroGroup& inner : kTimeInfoGroups) {
            AddGroup(*menu, inner, valueMenu, false);
        }
    }
    if (withToggles && !valueMenu) {
        menu->addSeparator();
        for (const auto& [id, text] :
             {std::pair{kDataOnlyCommand, "&Use Data Only"}, std::pair{kAddToTargetCommand, "Add to Tar&get"},
              std::pair{kAddCrCommand, "Add CR/&LF"}}) {
            AddCommand(*menu, id, QString::fromLatin1(text))->setCheckable(true);
        }
    }
    return menu;
}

QMenu* BuildMacroMenu(QMenuBar& bar, const char* title, bool valueMenu, std::array<QMenu*, 3>& pages)
{
    QMenu* menu = bar.addMenu(QString::fromLatin1(title));
    AddMacroItems(*menu, MacroSource::CurrentDate, valueMenu);
    AddMacroItems(*menu, MacroSource::CurrentTime, valueMenu);
    for (std::size_t i = 0; i < kPageGroups.size(); ++i) {
        pages[i] = AddGroup(*menu, kPageGroups[i], valueMenu, true);
    }
    return menu;
}

// The menu's own actions, for a QMenu or a QMenuBar alike.
QList<QAction*> ActionsOf(const QWidget& menu)
{
    return menu.actions();
}

}   // namespace

TemplateMenus BuildTemplateMenus()
{
    TemplateMenus menus;
    menus.bar = std::make_unique<QMenuBar>();
    QMenuBar& bar = *menus.bar;

    menus.templateMenu = bar.addMenu(QStringLiteral("&Template"));
    AddCommand(*menus.templateMenu, 32814, QStringLiteral("&New...\tCtrl+N"));
    AddCommand(*menus.templateMenu, 32815, QStringLiteral("&Delete\tCtrl+D"));
    menus.templateMenu->addSeparator();
    AddCommand(*menus.templateMenu, 32892, QStringLiteral("&Preview...\tCtrl+P"));
    menus.templateMenu->addSeparator();
    AddCommand(*menus.templateMenu, 32816, QStringLiteral("&Insert Text from File...\tCtrl+O"));
    AddCommand(*menus.templateMenu, 32818, QStringLiteral("&Save Text to File...\tCtrl+S"));

    menus.editMenu = bar.addMenu(QStringLiteral("&Edit"));
    AddCommand(*menus.editMenu, 57643, QStringLiteral("&Undo\tCtrl+Z"));
    menus.editMenu->addSeparator();
    AddCommand(*menus.editMenu, 57635, QStringLiteral("Cu&t\tCtrl+X"));
    AddCommand(*menus.editMenu, 57634, QStringLiteral("&Copy\tCtrl+C"));
    AddCommand(*menus.editMenu, 57637, QStringLiteral("&Paste\tCtrl+V"));
    AddCommand(*menus.editMenu, 57632, QStringLiteral("Cl&ear\tDel"));
    menus.editMenu->addSeparator();
    AddCommand(*menus.editMenu, 57642, QStringLiteral("Select &All\tCtrl+A"));

    menus.substitution = BuildMacroMenu(bar, "&Substitution", false, menus.substitutionPages);
    menus.value = BuildMacroMenu(bar, "&Value", true, menus.valuePages);
    return menus;
}

QAction* FindCommand(const QWidget& menu, int commandId)
{
    for (QAction* action : ActionsOf(menu)) {
        if (action->menu() != nullptr) {
            if (QAction* found = FindCommand(*action->menu(), commandId)) {
                return found;
            }
        } else if (!action->isSeparator() && ControlId(*action) == commandId) {
            return action;
        }
    }
    return nullptr;
}

void SetChecked(const QWidget& menu, int commandId, bool checked)
{
    for (QAction* action : ActionsOf(menu)) {
        if (action->menu() != nullptr) {
            SetChecked(*action->menu(), commandId, checked);
        } else if (ControlId(*action) == commandId) {
            action->setChecked(checked);
        }
    }
}

void FillMenuValues(const QWidget& menu, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter)
{
    for (QAction* action : ActionsOf(menu)) {
        if (action->menu() != nullptr) {
            FillMenuValues(*action->menu(), pages, clock, formatter);
        } else if (!action->isSeparator() && ControlId(*action) != 0) {
            const std::string text = action->text().toStdString();
            const std::string filled = ExpandMenuItemText(text, pages, clock, formatter);
            if (filled != text) {
                action->setText(QString::fromStdString(filled));
            }
        }
    }
}
