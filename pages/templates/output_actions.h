#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/locale_format.h"
#include "pages/templates/template_menus.h"
#include "settings/language_table.h"
#include "settings/settings_store.h"
#include "templates/substitution.h"
#include "widgets/icon_menu.h"

class QWidget;

enum class OutputMode { Save, Copy };

// The clipboard's plain text; false, with `text` empty, when it holds none.
bool GetClipboardText(std::string& text);
// False when the clipboard could not take the text.
bool SetClipboardText(std::string_view text);

// What Save >> and Copy >> do: a pop-up of the active page's values, each item giving one labelled line
// on the clipboard or in a text file, with the three output toggles at its end.
class OutputActions final : public QObject {
    Q_OBJECT
public:
    struct Services {
        const SettingsStore& settings;
        const LanguageTable& language;
        const MacroValueSource& pages;
        const Clock& clock;
        const LocaleFormatter& formatter;
    };
    OutputActions(const Services& services, QWidget* owner);

    // Builds the menus afresh with the values of this moment and pops up the sub-menu of the page
    // (Calculation 1, Time Info 2, any other the Difference one) at the button's top-left corner.
    void ShowOutputMenu(OutputMode mode, int activePage, QWidget* button);
    // The line of the item with that command, on the clipboard or into a chosen file.
    void RunOutputCommand(int commandId);
    // Flips one of DataOnly, AddToTarget, AddCr; the check mark shows it at the next pop-up.
    void ToggleOutputOption(SettingId option);

    // The sub-menu of the last pop-up; null before the first.
    QMenu* PopupMenu() const { return m_popup; }

    // Seams for tests: the save dialog (true with a chosen path) and the error message box.
    std::function<bool(std::string& path)> chooseSaveFile;
    std::function<void(const QString& text)> showError;

private:
    void OnTriggered(QAction* action);

    Services m_services;
    QWidget* m_owner;
    OutputMode m_mode = OutputMode::Copy;
    TemplateMenus m_menus;
    std::unique_ptr<IconMenu> m_icons;   // draws m_menus
    QPointer<QMenu> m_popup;
};
