#include "widgets/count_edit_widget.h"

#include <QKeyEvent>

CountEditWidget::CountEditWidget(QWidget* parent) : QLineEdit(parent) {}

void CountEditWidget::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typesCharacter =
        !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typesCharacter && !text.at(0).isDigit()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
