#include "widgets/control_id.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <utility>
#include <vector>

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

// The controls below a root with their ids, in creation order, read once for a batch of lookups: each
// FindControl walks every descendant and reads a dynamic property of each.
class ControlIndex {
public:
    explicit ControlIndex(const QWidget& root)
    {
        const QList<QWidget*> children = root.findChildren<QWidget*>();
        m_controls.reserve(static_cast<std::size_t>(children.size()));
        for (QWidget* child : children) {
            m_controls.push_back({ControlId(*child), child});
        }
    }

    QWidget* Find(int id) const
    {
        for (const auto& [controlId, control] : m_controls) {
            if (controlId == id) {
                return control;
            }
        }
        return nullptr;
    }

private:
    std::vector<std::pair<int, QWidget*>> m_controls;
};

void WriteFieldText(const ControlIndex& controls, int controlId, const QString& text)
{
    QWidget* control = controls.Find(controlId);
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
    const ControlIndex controls(root);
    for (const FieldText& field : fields) {
        WriteFieldText(controls, field.controlId, QString::fromStdString(field.text));
    }
}

void WriteFieldTexts(const QWidget& root, std::span<const FigureField> fields)
{
    const ControlIndex controls(root);
    for (const FigureField& field : fields) {
        const std::string_view text = field.text.view();
        WriteFieldText(controls, field.controlId,
                       QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void ApplyControlStates(const QWidget& root, std::span<const ControlState> states)
{
    const ControlIndex controls(root);
    for (const ControlState& state : states) {
        if (QWidget* control = controls.Find(state.controlId)) {
            control->setEnabled(state.enabled);
        }
    }
}
