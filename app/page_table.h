#pragma once

#include <QLatin1String>

#include <array>

#include "widgets/page_icons.h"

class ClockSetter;
class PageWidget;
struct OptionsServices;
struct PageServices;

// The page indices, fixed everywhere: in the page list, in ActivePageNo and in the tray menu.
enum PageIndex {
    kDifferencePage,
    kCalculationPage,
    kTimeInfoPage,
    kRollbackPage,
    kOptionsPage,
    kAboutPage,
    kPageCount
};

// What the pages are made from.
struct PageParts {
    const PageServices& services;
    ClockSetter& clockSetter;
    const OptionsServices& options;
};

// A page as every part of the main window and the tray sees it. The help topic is the page's own
// (PageWidget::HelpTopic).
struct PageEntry {
    QLatin1String name;   // the page list's caption and the page's title before translation
    PageArt icon;         // in the page list, and in the tray menu where trayIcon is set
    int trayCommand;      // the tray menu's item; it keys the item's text in the language files
    QLatin1String trayText;
    bool trayIcon;
    bool hasValues;   // Save >> and Copy >> read its fields
    PageWidget* (*make)(const PageParts& parts);
};

// Every page, in PageIndex order.
extern const std::array<PageEntry, kPageCount> kPages;
