#pragma once

#include <QColor>

// Lighten and Darken (core/colors.h) of a QColor; alpha is dropped, the result is opaque.
QColor Lightened(const QColor& color, double fraction);
QColor Darkened(const QColor& color, double fraction);
