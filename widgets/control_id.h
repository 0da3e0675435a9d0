#pragma once

#include <QWidget>

#include <span>

#include "core/field_text.h"

// Every control with a numeric id carries it as this dynamic property; translation and substitution
// find controls by it and nothing else.
inline constexpr char kControlIdProperty[] = "controlId";

void SetControlId(QObject& control, int id);
// 0 when the object has no id.
int ControlId(const QObject& control);

// The first widget below `root` (in creation order) that carries `id`; null when none does.
QWidget* FindControl(const QWidget& root, int id);

template <typename Control>
Control* FindControlAs(const QWidget& root, int id)
{
    return qobject_cast<Control*>(FindControl(root, id));
}

// Writes each text into its edit or label below `root`; ids without such a control are skipped.
void WriteFieldTexts(const QWidget& root, std::span<const FieldText> fields);
void WriteFieldTexts(const QWidget& root, std::span<const FigureField> fields);
// Enables or disables each control below `root`.
void ApplyControlStates(const QWidget& root, std::span<const ControlState> states);
