#pragma once

#include <QListWidget>
#include <QObject>
#include <QStackedWidget>

#include <array>

#include "app/page_table.h"
#include "widgets/hover_page_list.h"

// The page list beside the sheet of pages: a row selected shows its page, a page shown selects its row.
// It also orders the loading and saving of the pages' settings.
class PageSwitcher final : public QObject {
    Q_OBJECT
public:
    // Makes every page of kPages from `parts`, puts it into `sheet` and its row into `list`.
    PageSwitcher(QListWidget& list, QStackedWidget& sheet, const PageParts& parts);

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
    std::array<PageWidget*, kPageCount> m_pages{};
    HoverPageList m_listLook;
};
