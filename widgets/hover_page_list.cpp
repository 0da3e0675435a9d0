#include "widgets/hover_page_list.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"

HoverPageList::HoverPageList(QObject* parent) : QStyledItemDelegate(parent) {}

bool HoverPageList::Init(QWidget* parent, QListWidget* list, int margin, const QList<QPixmap>& images,
                         const QStringList& captions)
{
    if (parent == nullptr || images.isEmpty() || captions.size() != images.size()) {
        return false;
    }
    if (list == nullptr) {
        list = new QListWidget(parent);
        SetControlId(*list, kControlId);
    }
    m_list = list;
    m_margin = margin;
    m_images = images;
    m_iconSize = images.front().deviceIndependentSize().toSize();
    m_font = QApplication::font();
    list->setFont(m_font);
    list->setViewMode(QListView::ListMode);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(false);
    list->setMovement(QListView::Static);
    list->setSpacing(0);
    list->setFrameShape(QFrame::StyledPanel);
    list->viewport()->setMouseTracking(true);
    list->setItemDelegate(this);
    list->viewport()->installEventFilter(this);
    list->setAutoFillBackground(true);
    QPalette background = list->palette();
    background.setColor(QPalette::Base, background.color(QPalette::Button));
    list->setPalette(background);
    list->addItems(captions);
    ClearHot();
    return true;
}

int HoverPageList::RowHeight() const
{
    return QFontMetrics(m_font).height() + 5 * m_margin + m_iconSize.height() + 2;
}

QSize HoverPageList::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int width = m_list != nullptr ? m_list->viewport()->width() : option.rect.width();
    return QSize(width, RowHeight());
}

void HoverPageList::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const DrawnPalette colors(option.palette);
    const QRect row = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool hot = !selected && index.data(kHotRole).toInt() != 0;

    painter->save();
    // The list repaints only the rows whose state changed: nothing may be drawn outside the row, or a
    // stroke left in a neighbour (a one-pixel pen spreads over two device pixels at 2x) stays behind.
    painter->setClipRect(row, Qt::IntersectClip);
    if (selected || hot) {
        painter->fillRect(row, colors.Light(colors.Highlight(), selected ? 0.85 : 0.7));
        const QColor edge = colors.Highlight();
        painter->fillRect(QRect(row.left(), row.top(), row.width(), 1), edge);
        painter->fillRect(QRect(row.left(), row.bottom(), row.width(), 1), edge);
        painter->fillRect(QRect(row.left(), row.top(), 1, row.height()), edge);
        painter->fillRect(QRect(row.right(), row.top(), 1, row.height()), edge);
    } else {
        painter->fillRect(row, colors.Face());
    }

    const QPixmap icon = m_images.value(index.row());
    const int x = row.left() + (row.width() - m_iconSize.width()) / 2 + 2;
    const int y = row.top() + 1 + 4 * m_margin;
    if (!icon.isNull()) {
        if (hot) {
            const QColor lit = colors.Light(colors.Highlight(), 0.7);
            painter->drawPixmap(x, y, Silhouette(icon, colors.Dark(lit, 0.1)));
            painter->drawPixmap(x - 1, y - 1, Silhouette(icon, colors.Dark(lit, 0.25)));
            painter->drawPixmap(x - 2, y - 2, Silhouette(icon, colors.Dark(lit, 0.4)));
            painter->drawPixmap(x - 3, y - 3, icon);
        } else if (selected) {
            painter->drawPixmap(x, y, icon);
        } else {
            painter->drawPixmap(x, y, Silhouette(icon, colors.Dark(colors.Face(), 0.15)));
            painter->drawPixmap(x - 1, y - 1, Silhouette(icon, colors.Dark(colors.Face(), 0.4)));
            painter->drawPixmap(x - 2, y - 2, icon);
        }
    }

    QRect caption = row;
    caption.setTop(row.top() + 3 * m_margin + m_iconSize.height());
    painter->setFont(m_font);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

bool HoverPageList::eventFilter(QObject* watched, QEvent* event)
{
    if (m_list != nullptr && watched == m_list->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            TrackRow(m_list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).row());
        } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
            // Qt sends the leave however fast the mouse goes, also when a modal window blocks the list; a
            // hidden list gets none, and would show a lit row when shown again. No polling: idle stays idle.
            ClearHot();
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void HoverPageList::TrackRow(int row)
{
    if (row < 0 || row == m_hotRow) {
        return;
    }
    ClearHot();
    if (QListWidgetItem* item = m_list->item(row)) {
        item->setData(kHotRole, 1);
    }
    m_hotRow = row;
}

void HoverPageList::ClearHot()
{
    m_hotRow = -1;
    if (m_list == nullptr) {
        return;
    }
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        if (item->data(kHotRole).toInt() != 0) {
            item->setData(kHotRole, 0);
        }
    }
}
