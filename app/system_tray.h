#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

#include "widgets/icon_menu.h"

class LanguageTable;

// The notification-area icon and its menu. The icon exists only while the user keeps the window in the
// tray; the menu is rebuilt in the current language whenever the language changes.
class SystemTray final : public QObject {
    Q_OBJECT
public:
    // `window` is the one the icon brings back.
    explicit SystemTray(const QWidget& window) : m_window(window) {}

    // Shows or removes the icon.
    void SetShown(bool shown);
    // Builds the menu anew in `language`, with icons drawn for `devicePixelRatio`.
    void BuildMenu(const LanguageTable& language, qreal devicePixelRatio);
    // What a click on the icon does: a click shows the window, the context menu opens while it is hidden.
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* Icon() const { return m_icon.get(); }
    QMenu* Menu() const { return m_menu.get(); }
    const IconMenu* MenuLook() const { return m_menuLook.get(); }

signals:
    void openRequested();
    // A page chosen from the menu, by its index.
    void pageRequested(int page);
    void exitRequested();

private:
    const QWidget& m_window;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<IconMenu> m_menuLook;   // draws m_menu: declared after it, so it goes first
};
