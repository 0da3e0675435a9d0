#include "app/application.h"

#include <QMessageBox>
#include <QSystemTrayIcon>

#include <cstdio>
#include <cstdlib>

#include "core/messages.h"
#include "platform/holiday_files.h"
#include "platform/xdg_paths.h"
#include "platform/zone_catalog.h"
#include "settings/default_messages.h"

namespace {

constexpr char kKeyName[] = "Orvane";
constexpr int kSettingsKeptAsideMessage = 50;
constexpr int kSettingsNotSavedMessage = 51;

std::vector<HolidayCalendarFile> ReadHolidays(const std::vector<std::string>& paths, const ProgramLocation& location)
{
    std::vector<HolidayCalendarFile> files;
    for (HolidayFile& file : ReadHolidayFiles(paths, location)) {
        files.push_back({std::move(file.path), file.reasonMessage, std::move(file.holidays)});
    }
    return files;
}

// A zone by its name; the computer's, as the C library reads TZ, for the empty name.
std::optional<ZoneModel> LoadZoneByName(std::string_view name)
{
    std::string problem;
    return name.empty() ? LoadTzVariable(std::getenv("TZ"), problem) : LoadNamedZone(name, problem);
}

// The computer's zone as the choosers name it: its listed name, else its offset now ("UTC+01:00").
std::string ComputerZoneText(const Clock& clock)
{
    std::string name = ComputerZoneName(std::getenv("TZ"));
    if (!name.empty()) {
        return name;
    }
    const std::optional<ZoneModel> zone = LoadZoneByName({});
    const std::optional<std::int64_t> now = clock.UnixNow();
    const int offset = zone && now ? zone->At(*now).offsetSeconds : 0;
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

}   // namespace

Application::Application(std::optional<std::string> unreadableTz)
    : m_backend(
          RegFileSettingsBackend::ForCurrentUser(kKeyName, std::string(SettingsStore::kApplicationName), &m_clock)),
      m_autostart(XdgAutostartList::ForCurrentUser(m_backend.Lock())),
      m_settings(m_backend, m_autostart, m_clock, m_location)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(
        SettingsStore::kApplicationName.data(), static_cast<qsizetype>(SettingsStore::kApplicationName.size())));
    QCoreApplication::setOrganizationName(QString::fromLatin1(kKeyName));
    // Ties the window to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("chronel"));
    // The window may live in the tray: only the exit sequence ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Folders of older versions were made open to every local user (templates readable by all).
    MakeOwnFoldersPrivate(kKeyName, SettingsStore::kApplicationName);

    // A problem may be met in the middle of the start or of any write: it is shown once the event loop
    // runs, which is after the main window is up.
    m_backend.SetProblemListener([this] {
        QMetaObject::invokeMethod(
            qApp, [this] { ShowSettingsProblems(); }, Qt::QueuedConnection);
    });

    // The pages store what they load, on a fresh profile every default: one write takes them all.
    m_backend.HoldWrites();
    m_mainWindow = std::make_unique<MainWindow>(
        AppServices{m_clock, m_formatter, m_settings, m_location, m_zones, m_clockSetter, m_timeChanges,
                    [this](const std::vector<std::string>& paths) { return ReadHolidays(paths, m_location); },
                    &ZonePlaces(), LoadZoneByName, ComputerZoneText(m_clock)});
    QObject::connect(m_mainWindow.get(), &MainWindow::exitRequested, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // The help window speaks the main window's language.
    m_help = std::make_unique<HelpViewer>(HelpFileFor(QString::fromStdString(m_location.ExecutablePath())),
                                          m_mainWindow->GetLanguageTable());
    InstallHelpViewer(m_help.get());

    // A hidden start needs a tray icon to come back from; without one the window is shown.
    const bool reachableHidden = m_mainWindow->TrayIcon() != nullptr && QSystemTrayIcon::isSystemTrayAvailable();
    if (m_settings.ReadInt(SettingId::Visibled) != 0 || !reachableHidden) {
        m_mainWindow->ShowMainWindow();
    }
    m_backend.WriteHeld();

    if (unreadableTz) {
        QMetaObject::invokeMethod(
            qApp, [this, tz = std::move(*unreadableTz)] { ShowWarning(kUnreadableTzMessage, tz); },
            Qt::QueuedConnection);
    }
}

Application::~Application()
{
    InstallHelpViewer(nullptr);
    m_help.reset();
    m_mainWindow.reset();
    // Values kept in memory while another copy held the lock get one more try.
    m_backend.WriteHeld();
}

int Application::run()
{
    return QApplication::exec();
}

void Application::ShowSettingsProblems()
{
    for (const SettingsProblem& problem : m_backend.TakeProblems()) {
        ShowWarning(problem.kind == SettingsProblem::Kind::KeptAside  ? kSettingsKeptAsideMessage
                    : problem.kind == SettingsProblem::Kind::NotSaved ? kSettingsNotSavedMessage
                                                                      : kReadOnlyFileMessage,
                    problem.path);
    }
}

void Application::ShowWarning(int messageId, const std::string& subject)
{
    const std::string message =
        m_mainWindow ? m_mainWindow->GetLanguageTable().GetString(messageId) : std::string(DefaultMessage(messageId));
    // A hidden window (started in the tray) would place the box off any visible anchor.
    QWidget* parent = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.get() : nullptr;
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    QString::fromStdString(message) + QStringLiteral(" \"") + QString::fromStdString(subject) + u'"',
                    QMessageBox::Ok, parent);
    box.exec();
}
