#pragma once

#include <QListWidget>
#include <QObject>
#include <QStackedWidget>

#include <array>

#include "widgets/hover_page_list.h"
#include "widgets/page_icons.h"

class PageWidget;

// The page indices, fixed everywhere: in the page list, in ActivePageNo and for help topics.
enum PageIndex { kDifferencePage, kCalculationPage, kTimeInfoPage, kRollbackPage, kOptionsPage, kAboutPage };

// The page list beside the sheet of pages: a row selected shows its page, a page shown selects its row.
// It also orders the loading and saving of the pages' settings.
class PageSwitcher final : public QObject {
    Q_OBJECT
public:
    // Puts `pages` (in PageIndex order) into `sheet` and their rows into `list`.
    PageSwitcher(QListWidget& list, QStackedWidget& sheet, const std::array<PageWidget*, kPageCount>& pages);

    PageWidget* Page(int index) const;
    int ActiveIndex() const { return m_sheet.currentIndex(); }
    const HoverPageList& ListLook() const { return m_listLook; }

    // Shows the page, selecting its row too when `selectRow` is set.
    void Activate(int index, bool selectRow);
    // As wide as the widest caption of the current language and tall enough for every row.
    void FitList();
    void LoadSettings();
    void SaveSettings();

signals:
    // Whichever way a page is reached (list, tray, a Time Info button).
    void pageActivated(int index);

private:
    QListWidget& m_list;
    QStackedWidget& m_sheet;
    std::array<PageWidget*, kPageCount> m_pages;
    HoverPageList m_listLook;
};
