#include "app/system_tray.h"

#include <QCursor>

#include "app/page_switcher.h"
#include "pages/help_request.h"
#include "pages/translation.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"
#include "widgets/page_icons.h"

namespace {

constexpr int kTrayMenuId = 135;

// Commands of the tray menu; their ids key the menu's texts in the language files.
enum TrayCommand {
    kDifferenceCommand = 32772,
    kCalculationCommand = 32773,
    kTimeInfoCommand = 32774,
    kOptionsCommand = 32775,
    kAboutCommand = 32776,
    kExitCommand = 32777,
    kRollbackCommand = 32778,
    kOpenCommand = 32887,
    kHelpCommand = 32953,
};

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
    m_menu->addSeparator();
    const std::pair<int, int> pageCommands[] = {{kDifferenceCommand, kDifferencePage},
                                                {kCalculationCommand, kCalculationPage},
                                                {kTimeInfoCommand, kTimeInfoPage},
                                                {kRollbackCommand, kRollbackPage},
                                                {kOptionsCommand, kOptionsPage}};
    const char* const pageTexts[] = {"Difference...", "Calculation...", "Time Info...", "Rollback...", "Options..."};
    for (std::size_t i = 0; i < std::size(pageCommands); ++i) {
        if (i == 4) {
            m_menu->addSeparator();
        }
        const int page = pageCommands[i].second;
        connect(add(pageCommands[i].first, pageTexts[i]), &QAction::triggered, this,
                [this, page] { emit pageRequested(page); });
    }
    m_menu->addSeparator();
    connect(add(kHelpCommand, "Help"), &QAction::triggered, this, [] { ShowHelpTopic(QStringLiteral("overview")); });
    connect(add(kAboutCommand, "About..."), &QAction::triggered, this, [this] { emit pageRequested(kAboutPage); });
    m_menu->addSeparator();
    connect(add(kExitCommand, "Exit"), &QAction::triggered, this, &SystemTray::exitRequested);

    TranslateMenu(language, true, m_menu.get(), kTrayMenuId);
    m_menuLook = std::make_unique<IconMenu>(*m_menu);
    m_menuLook->LoadIcons(TrayIconStrip(devicePixelRatio), QColor(kStripMask));
    const int iconCommands[kTrayIconCount] = {kDifferenceCommand, kCalculationCommand, kTimeInfoCommand,
                                              kRollbackCommand, kOptionsCommand};
    for (int i = 0; i < kTrayIconCount; ++i) {
        m_menuLook->SetCommandIcon(iconCommands[i], i);
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
