#pragma once

#include <QLineEdit>

// An edit for a count: typing accepts digits only, as the native number edit does; pasted text is taken
// as it is, so that the page's reading rule decides what it counts as.
class CountEditWidget final : public QLineEdit {
    Q_OBJECT
public:
    explicit CountEditWidget(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
