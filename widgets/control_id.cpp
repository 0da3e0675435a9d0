#include "widgets/control_id.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

void SetControlId(QObject& control, int id)
{
    control.setProperty(kControlIdProperty, id);
}

int ControlId(const QObject& control)
{
    return control.property(kControlIdProperty).toInt();
}

QWidget* FindControl(const QWidget& root, int id)
{
    for (QWidget* child : root.findChildren<QWidget*>()) {
        if (ControlId(*child) == id) {
            return child;
        }
    }
    return nullptr;
}

namespace {

void WriteFieldText(const QWidget& root, int controlId, const QString& text)
{
    QWidget* control = FindControl(root, controlId);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    }
}

}   // namespace

void WriteFieldTexts(const QWidget& root, std::span<const FieldText> fields)
{
    for (const FieldText& field : fields) {
        WriteFieldText(root, field.controlId, QString::fromStdString(field.text));
    }
}

void WriteFieldTexts(const QWidget& root, std::span<const FigureField> fields)
{
    for (const FigureField& field : fields) {
        const std::string_view text = field.text.view();
        WriteFieldText(root, field.controlId, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void ApplyControlStates(const QWidget& root, std::span<const ControlState> states)
{
    for (const ControlState& state : states) {
        if (QWidget* control = FindControl(root, state.controlId)) {
            control->setEnabled(state.enabled);
        }
    }
}
