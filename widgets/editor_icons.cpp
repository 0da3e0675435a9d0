#include "widgets/editor_icons.h"

#include "widgets/page_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Every icon is drawn on a 16 x 16 grid: one-pixel lines sit on half pixels, so they stay sharp at 1x and 2x.
using Drawing = void (*)(QPainter&);

const QColor kFold(0xd9, 0xde, 0xe5);
const QColor kTextLine(0x9a, 0xa6, 0xb5);

QPen Outline(const QColor& color, qreal width = 1.0)
{
    return QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

QPen Stroke(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper whose top right corner is folded over.
void Sheet(QPainter& p, const QRectF& r)
{
    const qreal fold = 3;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(Outline(kArtInk));
    p.setBrush(kArtPaper);
    p.drawPath(page);
    p.setBrush(kFold);
    p.drawPolygon(QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)}));
}

// Grey lines of text on a sheet, one every two pixels from `top`.
void TextLines(QPainter& p, qreal left, qreal right, qreal top, int count)
{
    p.setPen(Outline(kTextLine));
    for (int i = 0; i < count; ++i) {
        p.drawLine(QPointF(left, top + 2 * i), QPointF(right - (i % 2) * 2, top + 2 * i));
    }
}

// A round mark in the bottom right corner, ringed with paper so it stands off the drawing beneath.
void RoundBadge(QPainter& p, const QColor& fill)
{
    p.setPen(Outline(kArtPaper));
    p.setBrush(fill);
    p.drawEllipse(QPointF(11.5, 11.5), 4, 4);
    p.setPen(Stroke(Qt::white, 1.5));
}

void DrawNew(QPainter& p)
{
    Sheet(p, QRectF(2.5, 1.5, 9, 13));
    TextLines(p, 4.5, 8.5, 5.5, 2);
    RoundBadge(p, kArtGreen);
    p.drawLine(QPointF(9.5, 11.5), QPointF(13.5, 11.5));
    p.drawLine(QPointF(11.5, 9.5), QPointF(11.5, 13.5));
}

void DrawDelete(QPainter& p)
{
    Sheet(p, QRectF(2.5, 1.5, 9, 13));
    TextLines(p, 4.5, 8.5, 5.5, 2);
    RoundBadge(p, kArtRed);
    p.drawLine(QPointF(10, 10), QPointF(13, 13));
    p.drawLine(QPointF(13, 10), QPointF(10, 13));
}

void DrawPreview(QPainter& p)
{
    Sheet(p, QRectF(1.5, 1.5, 10, 12));
    TextLines(p, 3.5, 6.5, 4.5, 2);
    p.setPen(Stroke(kArtInk, 2.6));
    p.drawLine(QPointF(11.5, 11.5), QPointF(14.3, 14.3));
    p.setPen(Outline(kArtInk, 1.5));
    p.setBrush(QColor(0xbf, 0xdb, 0xf5));
    p.drawEllipse(QPointF(9, 9), 3.4, 3.4);
}

void DrawInsertFromFile(QPainter& p)
{
    const QColor edge = kArtOrange.darker(150);
    p.setPen(Outline(edge));
    p.setBrush(kArtOrange.darker(115));
    p.drawPolygon(QPolygonF({QPointF(1.5, 2.5), QPointF(5.5, 2.5), QPointF(6.5, 3.5), QPointF(12.5, 3.5),
                             QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
    p.setPen(Outline(kTextLine));
    p.setBrush(kArtPaper);
    p.drawRect(QRectF(3.5, 5.5, 8, 6));
    p.setPen(Outline(edge));
    p.setBrush(QColor(0xf7, 0xb2, 0x5c));
    p.drawPolygon(QPolygonF({QPointF(4.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
}

void DrawSaveToFile(QPainter& p)
{
    p.setPen(Outline(kArtBlue.darker(140)));
    p.setBrush(kArtBlue);
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0xdd, 0xe3));
    p.drawRect(QRectF(4, 2, 7, 4));
    p.setBrush(kArtInk);
    p.drawRect(QRectF(8, 2.5, 2, 3));
    p.setBrush(kArtPaper);
    p.drawRect(QRectF(3, 8, 10, 6));
    p.setPen(Outline(QColor(0x9c, 0xc0, 0xe8)));
    p.drawLine(QPointF(4.5, 10.5), QPointF(11.5, 10.5));
    p.drawLine(QPointF(4.5, 12.5), QPointF(11.5, 12.5));
}

void DrawUndo(QPainter& p)
{
    p.setPen(Stroke(kArtBlue, 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    curve.moveTo(6, 6);
    curve.cubicTo(11, 6, 14.5, 8.5, 12.5, 14);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(kArtBlue);
    p.drawPolygon(QPolygonF({QPointF(1, 6), QPointF(7, 1.5), QPointF(7, 10.5)}));
}

void DrawCut(QPainter& p)
{
    p.setPen(Stroke(kArtInk, 1.6));
    p.drawLine(QPointF(5, 1.5), QPointF(10.3, 10));
    p.drawLine(QPointF(11, 1.5), QPointF(5.7, 10));
    p.setPen(Stroke(kArtBlue, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12), 2.3, 2.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kArtOrange);
    p.drawEllipse(QPointF(8, 6.3), 1.1, 1.1);
}

void DrawCopy(QPainter& p)
{
    Sheet(p, QRectF(1.5, 1.5, 8, 10));
    Sheet(p, QRectF(5.5, 4.5, 9, 10.5));
    TextLines(p, 7.5, 12.5, 8.5, 3);
}

void DrawPaste(QPainter& p)
{
    p.setPen(Outline(kArtOrange.darker(160)));
    p.setBrush(kArtOrange.darker(120));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kArtInk);
    p.drawRoundedRect(QRectF(4, 1, 5, 3), 1, 1);
    Sheet(p, QRectF(6.5, 5.5, 8, 9.5));
    TextLines(p, 8.5, 12.5, 9.5, 2);
}

void DrawClear(QPainter& p)
{
    p.setPen(Outline(kTextLine));
    p.drawLine(QPointF(2.5, 14.5), QPointF(14.5, 14.5));
    p.save();
    p.translate(8.5, 7.5);
    p.rotate(-45);
    p.setPen(Outline(kArtInk));
    p.setBrush(QColor(0xf4, 0x9b, 0x9b));
    p.drawRoundedRect(QRectF(-6.5, -3, 6, 6), 1, 1);
    p.setBrush(kArtBlue);
    p.drawRoundedRect(QRectF(-0.5, -3, 7, 6), 1, 1);
    p.restore();
}

// Small calendar sheets that echo the page icons, leaving the bottom right corner for a badge.
void MiniSheet(QPainter& p, const QColor& band)
{
    p.setPen(Outline(kArtInk));
    p.setBrush(kArtPaper);
    p.drawRect(QRectF(1.5, 2.5, 10, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRect(QRectF(2, 3, 9, 2.5));
    p.setBrush(kArtInk);
    p.drawRect(QRectF(3.5, 1, 1, 2.5));
    p.drawRect(QRectF(8.5, 1, 1, 2.5));
}

void MiniDifference(QPainter& p)
{
    MiniSheet(p, kArtBlue);
    p.setPen(Outline(kArtInk));
    p.drawLine(QPointF(3.5, 7.5), QPointF(3.5, 11));
    p.drawLine(QPointF(9.5, 7.5), QPointF(9.5, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(kArtOrange);
    p.drawPolygon(QPolygonF({QPointF(4, 9.5), QPointF(6.5, 7.5), QPointF(6.5, 11.5)}));
    p.drawPolygon(QPolygonF({QPointF(9, 9.5), QPointF(6.5, 7.5), QPointF(6.5, 11.5)}));
}

void MiniCalculation(QPainter& p)
{
    MiniSheet(p, kArtGreen);
    p.setPen(Outline(kArtInk));
    p.drawLine(QPointF(2.5, 9.5), QPointF(6.5, 9.5));
    p.drawLine(QPointF(4.5, 7.5), QPointF(4.5, 11.5));
    p.drawLine(QPointF(7.5, 9.5), QPointF(10.5, 9.5));
}

void MiniTimeInfo(QPainter& p)
{
    MiniSheet(p, kArtBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(kArtBlue);
    p.drawEllipse(QPointF(6.5, 7.3), 1.1, 1.1);
    p.drawRect(QRectF(5.5, 9, 2, 3));
}

// A square mark filling the bottom right corner, ringed with paper on the sides that meet the drawing:
// '%' inserts a macro, '=' inserts the value it stands for. Whole pixels, so the marks read at 1x.
void SquareBadge(QPainter& p, const QColor& fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kArtPaper);
    p.drawRoundedRect(QRectF(7, 7, 9, 9), 2, 2);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(8, 8, 8, 8), 1.5, 1.5);
    p.setBrush(Qt::white);
}

void PercentBadge(QPainter& p)
{
    SquareBadge(p, kArtOrange);
    p.drawRect(QRectF(9, 9, 2, 2));
    p.drawRect(QRectF(13, 13, 2, 2));
    p.setPen(Stroke(Qt::white, 1.2));
    p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
}

void EqualsBadge(QPainter& p)
{
    SquareBadge(p, kArtInk);
    p.drawRect(QRectF(9, 9.5, 6, 1.5));
    p.drawRect(QRectF(9, 13, 6, 1.5));
}

void DrawSubstitutionDifference(QPainter& p)
{
    MiniDifference(p);
    PercentBadge(p);
}

void DrawSubstitutionCalculation(QPainter& p)
{
    MiniCalculation(p);
    PercentBadge(p);
}

void DrawSubstitutionTimeInfo(QPainter& p)
{
    MiniTimeInfo(p);
    PercentBadge(p);
}

void DrawValueDifference(QPainter& p)
{
    MiniDifference(p);
    EqualsBadge(p);
}

void DrawValueCalculation(QPainter& p)
{
    MiniCalculation(p);
    EqualsBadge(p);
}

void DrawValueTimeInfo(QPainter& p)
{
    MiniTimeInfo(p);
    EqualsBadge(p);
}

QPixmap EmptyStrip(int count, qreal ratio)
{
    QPixmap strip(QSize(kStripIconSize * count, kStripIconSize) * ratio);
    strip.setDevicePixelRatio(ratio);
    strip.fill(Qt::transparent);
    return strip;
}

}   // namespace

QPixmap EditorIconStrip(qreal devicePixelRatio)
{
    static constexpr Drawing kDrawings[kEditorIconCount] = {DrawNew,
                                                            DrawDelete,
                                                            DrawPreview,
                                                            DrawInsertFromFile,
                                                            DrawSaveToFile,
                                                            DrawUndo,
                                                            DrawCut,
                                                            DrawCopy,
                                                            DrawPaste,
                                                            DrawClear,
                                                            DrawSubstitutionDifference,
                                                            DrawSubstitutionCalculation,
                                                            DrawSubstitutionTimeInfo,
                                                            DrawValueDifference,
                                                            DrawValueCalculation,
                                                            DrawValueTimeInfo};
    QPixmap strip = EmptyStrip(kEditorIconCount, devicePixelRatio);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kEditorIconCount; ++i) {
        painter.save();
        painter.translate(kStripIconSize * i, 0);
        painter.setClipRect(QRectF(0, 0, kStripIconSize, kStripIconSize));
        kDrawings[i](painter);
        painter.restore();
    }
    return strip;
}

QPixmap PageIconStrip(std::span<const PageArt> arts, qreal devicePixelRatio)
{
    QPixmap strip = EmptyStrip(static_cast<int>(arts.size()), devicePixelRatio);
    QPainter painter(&strip);
    for (std::size_t i = 0; i < arts.size(); ++i) {
        painter.drawPixmap(QPointF(kStripIconSize * static_cast<qreal>(i), 0),
                           PageIcon(arts[i], kStripIconSize, devicePixelRatio));
    }
    return strip;
}
