#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Up and down arrows beside a count edit (their buddy): each step reads the edit's number, moves it by
// one within the range and writes it back as a plain integer. The Up and Down keys in the edit step too.
class SpinButtonsWidget final : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtonsWidget(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    void SetRange(int minimum, int maximum);
    // The edit's number, held within the range.
    int Position() const;
    // Writes the position, held within the range, into the edit.
    void SetPosition(int position);
    void Step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0;
    int m_maximum = 100;
};
