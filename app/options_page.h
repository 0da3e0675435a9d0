#pragma once

#include <QCheckBox>
#include <QMessageBox>
#include <QString>
#include <memory>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/program_location.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"
#include "settings/language_table.h"

// What the Options page needs of the main window besides the pages' services.
struct OptionsServices {
    const LanguageTable& language;     // the translator entries of the current language
    const ProgramLocation& location;   // the language files, and the folder relative names start from
    // The main window's ApplyLanguage without writing defaults: translates and reloads every page.
    std::function<void()> applyLanguage;
    // The main window's UpdateTrayIcon: the tray icon follows HideToTray.
    std::function<void()> updateTrayIcon;
};
// The weekday boxes' control ids, Monday first.
inline constexpr int kFirstWeekdayBoxId = 1220;

namespace Ui {
class OptionsPage;
}

// The Options page: start with the desktop session, live in the tray, the template folder, the language,
// the working weekdays and the holiday calendars. Every change takes effect at once.
class OptionsPage final : public PageWidget {
    Q_OBJECT
public:
    // Lets the user pick a folder, starting at `folder`; true with the chosen one in `folder`. Tests
    // answer instead of the modal folder dialog.
    using FolderBrowser = std::function<bool(QWidget* parent, std::string& folder)>;

    OptionsPage(const PageServices& services, OptionsServices options, QWidget* parent = nullptr);
    ~OptionsPage() override;

    void LoadSettings() override;
    void SaveSettings() override;

    // Lets the user pick .ics files; the chosen paths, none when cancelled. Tests answer instead of the
    // modal file dialog.
    using CalendarChooser = std::function<std::vector<std::string>(QWidget* parent)>;

    void SetFolderBrowser(FolderBrowser browser) { m_browser = std::move(browser); }
    void SetCalendarChooser(CalendarChooser chooser) { m_chooser = std::move(chooser); }

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void OnAutoloadClicked(bool checked);
    void ShowNotice(QMessageBox::Icon icon, int message);
    void OnHideToTrayClicked(bool checked);
    // Stores the typed folder and says whether it exists.
    void CheckFolder(const QString& text);
    void ShowFolderStatus();
    void ChooseFolder();
    void OnLanguageChosen(int index);
    void SelectStoredLanguage();
    void BuildWeekdayBoxes();
    // Refuses to untick the last working day.
    void OnWeekdayClicked(int day, bool checked);
    void ShowWorkingDays();
    void ShowHolidayFiles();
    void AddHolidayFiles();
    void RemoveHolidayFile();
    void StoreHolidayFiles(const std::vector<std::string>& paths);

    PageServices m_services;
    OptionsServices m_options;
    std::unique_ptr<Ui::OptionsPage> m_ui;
    FolderBrowser m_browser;
    CalendarChooser m_chooser;
    std::array<QCheckBox*, 7> m_weekdays{};   // Monday first, whatever order the row shows
};
