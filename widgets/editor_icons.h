#pragma once

#include <QPixmap>

#include <span>

#include "widgets/page_icons.h"

// Icon strips for toolbars and menus: 16 x 16 device-independent cells side by side on a transparent
// background, drawn at the screen's own ratio.

inline constexpr int kStripIconSize = 16;

// The template editor's toolbar and menu icons, in the toolbar's order: New, Delete, Preview, Insert Text
// from File, Save Text to File, Undo, Cut, Copy, Paste, Clear, then Substitution from Difference, from
// Calculation, from Time Info, and Value from Difference, from Calculation, from Time Info.
inline constexpr int kEditorIconCount = 16;
QPixmap EditorIconStrip(qreal devicePixelRatio);

// The page icons of `arts`, in their order, as the tray menu shows them.
QPixmap PageIconStrip(std::span<const PageArt> arts, qreal devicePixelRatio);
