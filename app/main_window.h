#pragma once

#include <QSystemTrayIcon>
#include <QWidget>

#include <array>
#include <memory>

#include "app/page_switcher.h"
#include "app/system_tray.h"
#include "core/program_location.h"
#include "pages/page_services.h"
#include "pages/templates/output_actions.h"
#include "pages/templates/page_value_source.h"
#include "pages/working_days_source.h"
#include "settings/language_table.h"
#include "settings/settings_store.h"

class ClockSetter;
class PageWidget;
class RollbackPage;
class TimeChangeSource;
class TimeInfoPage;

// What the main window needs of the program; tests hand in fakes and temporary folders.
struct AppServices {
    const Clock& clock;
    const LocaleFormatter& formatter;
    const SettingsStore& settings;
    const ProgramLocation& location;
    const ZoneSource& zones;
    ClockSetter& clockSetter;                             // the Rollback page sets the system clock through it
    TimeChangeSource& timeChanges;                        // the system's notice that its clock was set
    WorkingDaysSource::Reader readHolidays = {};          // none: the holiday files are listed, never read
    const std::vector<ZonePlace>* zonePlaces = nullptr;   // the zone choosers' places; none: this computer only
    ZoneLoader loadZone = {};                             // none: the pages answer for this computer's zone
    std::string computerZone = {};                        // "Europe/Berlin", or this computer's "UTC+01:00"
};

namespace Ui {
class MainWindow;
}

// The program's one top-level window: the page list, the sheet of six pages, the output buttons and
// the tray icon. It orders the loading and saving of every page's settings.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    // Runs the whole start-up: pages, language, the stored page, settings, tray, translation, centring.
    explicit MainWindow(const AppServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    LanguageTable& GetLanguageTable() { return m_language; }
    PageWidget* Page(int index) const;
    int ActivePageIndex() const;

    // Shows the value on the Time Info page and activates it, selecting its row; the output buttons keep
    // their state.
    void ShowOnTimeInfo(const DateTime& value);
    // Re-reads the language setting, translates every window and menu, and reloads every page so that
    // every value is formatted anew.
    void ApplyLanguage(bool writeDefaults);
    // The tray icon exists exactly while HideToTray is on.
    void UpdateTrayIcon();
    void ShowMainWindow();
    // Save >> and Copy >> are enabled exactly on the Difference, Calculation and Time Info pages.
    void UpdateOutputButtons();
    // The pages save their settings, then the active page and the visibility are stored and
    // exitRequested is emitted.
    void ExitSequence();
    // Runs the template editor modally over the current values.
    void OpenTemplateEditor();

    // The pages' fields as the substitution engine reads them, and the Save >> / Copy >> actions.
    const MacroValueSource& PageValues() const { return *m_pageValues; }
    OutputActions& Output() { return *m_output; }

    QSystemTrayIcon* TrayIcon() const { return m_tray.Icon(); }
    QMenu* TrayMenu() const { return m_tray.Menu(); }
    const IconMenu* TrayIconMenu() const { return m_tray.MenuLook(); }
    const HoverPageList& PageList() const { return m_pages->ListLook(); }
    // What a click on the tray icon does.
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason) { m_tray.OnActivated(reason); }

signals:
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString SelectedPageHelpTopic() const;
    void WriteUnopenedWindowDefaults();

    AppServices m_services;
    std::unique_ptr<Ui::MainWindow> m_ui;
    LanguageTable m_language;
    WorkingDaysSource m_workingDays;
    PageServices m_pageServices;
    TimeInfoPage* m_timeInfo = nullptr;
    RollbackPage* m_rollback = nullptr;
    std::unique_ptr<PageSwitcher> m_pages;
    std::unique_ptr<PageValueSource> m_pageValues;
    OutputActions* m_output = nullptr;
    SystemTray m_tray{*this};
    bool m_exited = false;
};
