#pragma once

#include <QListWidget>
#include <QPointer>
#include <QStyledItemDelegate>

// The list of pages on the left of the main window: each row a large icon above its centred caption. The
// row under the mouse is lit and its icon lifted off a shadow; the selected row is lit more and flat.
class HoverPageList final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kControlId = 59648;
    // A row's item data under this role is 1 while it is the hot row, else 0.
    static constexpr int kHotRole = Qt::UserRole + 1;

    explicit HoverPageList(QObject* parent = nullptr);

    // Takes over `list`, or makes a new list inside `parent` when `list` is null, and fills it with one
    // row per caption. Fails (and adds nothing) unless the parent exists, there are images, and there
    // are as many captions as images.
    bool Init(QWidget* parent, QListWidget* list, int margin, const QList<QPixmap>& images,
              const QStringList& captions);

    QListWidget* List() const { return m_list; }
    int HotRow() const { return m_hotRow; }
    // Height of every row: the caption line, the icon and the margins around them.
    int RowHeight() const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TrackRow(int row);
    void ClearHot();

    QPointer<QListWidget> m_list;
    QList<QPixmap> m_images;
    QFont m_font;
    QSize m_iconSize;
    int m_margin = 0;
    int m_hotRow = -1;
};
