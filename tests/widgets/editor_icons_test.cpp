#include "widgets/editor_icons.h"

#include "widgets/page_icons.h"

#include <gtest/gtest.h>

#include <QImage>

// Drawn at the screen's scale, not blown up; every cell its own picture, the tray's the page icons.
TEST(IconStrips, DistinctShapesDrawnAtTheScreensScale)
{
    for (const qreal ratio : {1.0, 2.0}) {
        const PageArt arts[] = {DrawRollbackIcon, DrawDifferenceIcon, DrawOptionsIcon};
        const QPixmap editor = EditorIconStrip(ratio), tray = PageIconStrip(arts, ratio);
        EXPECT_EQ(editor.deviceIndependentSize(), QSizeF(16.0 * kEditorIconCount, 16.0));
        EXPECT_EQ(editor.size(), QSize(16 * kEditorIconCount, 16) * ratio);
        EXPECT_EQ(tray.size(), QSize(16 * 3, 16) * ratio);
        const auto cell = [](const QPixmap& strip, int i) {
            const int side = strip.height();
            return strip.toImage().copy(i * side, 0, side, side).convertToFormat(QImage::Format_ARGB32);
        };
        for (int i = 0; i < kEditorIconCount; ++i) {
            for (int j = 0; j < i; ++j) {
                EXPECT_NE(cell(editor, i), cell(editor, j)) << "cells " << i << " and " << j;
            }
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(cell(tray, i), PageIcon(arts[i], 16, ratio).toImage().convertToFormat(QImage::Format_ARGB32))
                << i;
        }
    }
}
