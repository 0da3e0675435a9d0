#include "shell/application_widget.h"

#include <QSystemTrayIcon>

namespace {

constexpr char kKeyName[] = "Orvane";

}  // namespace

CEvalApp::CEvalApp()
    : m_backend(RegFileSettingsBackend::ForCurrentUser(kKeyName, std::string(SettingsStore::kApplicationName))),
      m_autostart(XdgAutostartList::ForCurrentUser()),
      m_settings(m_backend, m_autostart, m_clock, m_location)
{
}

CEvalApp::~CEvalApp() = default;

bool CEvalApp::InitInstance()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(SettingsStore::kApplicationName.data(),
                                                             static_cast<qsizetype>(SettingsStore::kApplicationName.size())));
    QCoreApplication::setOrganizationName(QString::fromLatin1(kKeyName));
    // Ties the window to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("chronel"));
    // The window may live in the tray: only the exit sequence ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    m_help = std::make_unique<HelpViewer>(HelpFileFor(QString::fromStdString(m_location.ExecutablePath())));
    InstallHelpViewer(m_help.get());

    m_mainWindow = std::make_unique<CDialogEvalMain>(
        AppServices{m_clock, m_formatter, m_settings, m_location, m_zones, m_clockSetter, m_timeChanges});
    QObject::connect(m_mainWindow.get(), &CDialogEvalMain::exitRequested, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    // A hidden start needs a tray icon to come back from; without one the window is shown.
    const bool reachableHidden = m_mainWindow->TrayIcon() != nullptr && QSystemTrayIcon::isSystemTrayAvailable();
    if (m_settings.ReadInt(SettingId::Visibled) != 0 || !reachableHidden) {
        m_mainWindow->ShowMainWindow();
    }
    return true;
}

int CEvalApp::ExitInstance(int loopResult)
{
    InstallHelpViewer(nullptr);
    m_help.reset();
    m_mainWindow.reset();
    return loopResult;
}
