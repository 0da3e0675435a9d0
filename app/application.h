#pragma once

#include <QApplication>

#include <memory>
#include <optional>
#include <string>

#include "app/help_dialog.h"
#include "app/main_window.h"
#include "desktop/qt_locale_formatter.h"
#include "desktop/qt_zone_names.h"
#include "desktop/system_clock_setter.h"
#include "desktop/time_change_watcher.h"
#include "platform/proc_program_location.h"
#include "platform/reg_file_settings_backend.h"
#include "platform/system_clock.h"
#include "platform/system_zone_source.h"
#include "platform/xdg_autostart_list.h"
#include "settings/settings_store.h"

// The application object: places the settings, opens the help viewer and creates the main window at
// start-up, and releases them in order at shutdown. It tells the user when the settings file was damaged
// or cannot be written, and when TZ had to be replaced.
class Application {
public:
    // Places the settings, creates the main window, shown unless it starts hidden in the tray, and installs
    // the help viewer in the window's language. `unreadableTz` is the value of TZ that main removed, as it
    // names no zone, if any.
    explicit Application(std::optional<std::string> unreadableTz = std::nullopt);
    // Closes the help viewer, then the main window.
    ~Application();

    // Runs the event loop until the exit sequence ends it; returns the program's exit code.
    int run();

    MainWindow* Window() const { return m_mainWindow.get(); }

private:
    // Shows what the settings backend met since the last call, over the main window.
    void ShowSettingsProblems();
    // One warning box over the main window: message `messageId` followed by `subject` in double quotes.
    void ShowWarning(int messageId, const std::string& subject);

    SystemClock m_clock;
    SystemClockSetter m_clockSetter;
    QtLocaleFormatter m_formatter;
    ProcProgramLocation m_location;
    SystemZoneSource m_zones{QtZoneNames};
    RegFileSettingsBackend m_backend;
    XdgAutostartList m_autostart;
    TimerFdTimeChangeWatcher m_timeChanges;
    SettingsStore m_settings;
    std::unique_ptr<HelpViewer> m_help;
    std::unique_ptr<MainWindow> m_mainWindow;
};
