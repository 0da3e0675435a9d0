#include "app/page_switcher.h"

#include "pages/page_widget.h"

namespace {

// Pages save and load in this order, not in index order.
constexpr std::array<int, 5> kSettingsOrder = {kDifferencePage, kCalculationPage, kRollbackPage, kTimeInfoPage,
                                               kOptionsPage};

constexpr int kPageIconSize = 32;
constexpr int kPageListMargin = 2;

}   // namespace

PageSwitcher::PageSwitcher(QListWidget& list, QStackedWidget& sheet, const PageParts& parts)
    : QObject(&sheet),
      m_list(list),
      m_sheet(sheet)
{
    QList<QPixmap> images;
    QStringList captions;
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        m_pages[i] = kPages[i].make(parts);
        m_pages[i]->setWindowTitle(QString(kPages[i].name));
        m_sheet.addWidget(m_pages[i]);
        images.append(PageIcon(kPages[i].icon, kPageIconSize, list.devicePixelRatioF()));
        captions.append(QString(kPages[i].name));
    }
    m_listLook.Init(list.window(), &list, kPageListMargin, images, captions);
    FitList();
    connect(&list, &QListWidget::currentRowChanged, this, [this] {
        const int row = m_list.currentRow();
        Activate(row >= 1 && row < kPageCount ? row : kDifferencePage, false);
    });
}

PageWidget* PageSwitcher::Page(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

void PageSwitcher::Activate(int index, bool selectRow)
{
    m_sheet.setCurrentIndex(index);
    if (selectRow) {
        const QSignalBlocker blocker(m_list);
        m_list.setCurrentRow(index);
    }
    emit pageActivated(index);
}

void PageSwitcher::FitList()
{
    int widest = kPageIconSize;
    for (int i = 0; i < m_list.count(); ++i) {
        widest = std::max(widest, m_list.fontMetrics().horizontalAdvance(m_list.item(i)->text()));
    }
    const int frame = 2 * m_list.frameWidth();
    m_list.setFixedWidth(std::max(widest + 16, 72) + frame);
    m_list.setMinimumHeight(m_list.count() * m_listLook.RowHeight() + frame);
}

void PageSwitcher::LoadSettings()
{
    for (int index : kSettingsOrder) {
        m_pages[static_cast<std::size_t>(index)]->LoadSettings();
    }
}

void PageSwitcher::SaveSettings()
{
    for (int index : kSettingsOrder) {
        m_pages[static_cast<std::size_t>(index)]->SaveSettings();
    }
}
