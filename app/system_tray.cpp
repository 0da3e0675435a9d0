#include "app/system_tray.h"

#include <QCursor>

#include <vector>

#include "app/page_table.h"
#include "pages/help_request.h"
#include "pages/translation.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"

namespace {

constexpr int kTrayMenuId = 135;

// The tray's own commands; the pages' are in kPages. Their ids key the menu's texts in the language files.
constexpr int kExitCommand = 32777;
constexpr int kOpenCommand = 32887;
constexpr int kHelpCommand = 32953;

}   // namespace

void SystemTray::SetShown(bool shown)
{
    if (!shown) {
        m_icon.reset();
        return;
    }
    if (m_icon) {
        return;
    }
    m_icon = std::make_unique<QSystemTrayIcon>(ApplicationIcon());
    m_icon->setToolTip(QString::fromLatin1(SettingsStore::kApplicationName.data(),
                                           static_cast<qsizetype>(SettingsStore::kApplicationName.size())));
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &SystemTray::OnActivated);
    m_icon->show();
}

void SystemTray::BuildMenu(const LanguageTable& language, qreal devicePixelRatio)
{
    m_menuLook.reset();
    m_menu = std::make_unique<QMenu>();
    const auto add = [this](int command, const char* text) {
        QAction* action = m_menu->addAction(QString::fromLatin1(text));
        SetControlId(*action, command);
        return action;
    };
    QAction* open = add(kOpenCommand, "Open...");
    m_menu->setDefaultAction(open);
    connect(open, &QAction::triggered, this, &SystemTray::openRequested);
    const auto addPage = [&](int page) {
        const PageEntry& entry = kPages[static_cast<std::size_t>(page)];
        connect(add(entry.trayCommand, entry.trayText.data()), &QAction::triggered, this,
                [this, page] { emit pageRequested(page); });
    };
    m_menu->addSeparator();
    for (int page : {kDifferencePage, kCalculationPage, kTimeInfoPage, kRollbackPage}) {
        addPage(page);
    }
    m_menu->addSeparator();
    addPage(kOptionsPage);
    m_menu->addSeparator();
    connect(add(kHelpCommand, "Help"), &QAction::triggered, this, [] { ShowHelpTopic(QStringLiteral("overview")); });
    addPage(kAboutPage);
    m_menu->addSeparator();
    connect(add(kExitCommand, "Exit"), &QAction::triggered, this, &SystemTray::exitRequested);

    TranslateMenu(language, true, m_menu.get(), kTrayMenuId);
    m_menuLook = std::make_unique<IconMenu>(*m_menu);
    std::vector<PageArt> icons;
    std::vector<int> commands;
    for (const PageEntry& entry : kPages) {
        if (entry.trayIcon) {
            icons.push_back(entry.icon);
            commands.push_back(entry.trayCommand);
        }
    }
    m_menuLook->LoadIcons(PageIconStrip(icons, devicePixelRatio), QColor(kStripMask));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        m_menuLook->SetCommandIcon(commands[i], static_cast<int>(i));
    }
}

void SystemTray::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        emit openRequested();
    } else if (reason == QSystemTrayIcon::Context && !m_window.isVisible() && m_menu) {
        m_menu->popup(QCursor::pos());
    }
}
