#include "widgets/spin_buttons_widget.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/count_text.h"

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    button->setFixedWidth(18);
    return button;
}

}   // namespace

SpinButtonsWidget::SpinButtonsWidget(QWidget* parent)
    : QWidget(parent),
      m_up(MakeArrow(Qt::UpArrow, this)),
      m_down(MakeArrow(Qt::DownArrow, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SpinButtonsWidget::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
    }
    m_buddy = buddy;
    if (m_buddy != nullptr) {
        m_buddy->installEventFilter(this);
        setFixedHeight(std::max(m_buddy->sizeHint().height(), 20));
    }
}

void SpinButtonsWidget::SetRange(int minimum, int maximum)
{
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
}

int SpinButtonsWidget::Position() const
{
    const int count = m_buddy != nullptr ? ReadCount(m_buddy->text().toStdString()) : m_minimum;
    return std::clamp(count, m_minimum, m_maximum);
}

void SpinButtonsWidget::SetPosition(int position)
{
    if (m_buddy != nullptr) {
        m_buddy->setText(QString::number(std::clamp(position, m_minimum, m_maximum)));
    }
}

void SpinButtonsWidget::Step(int delta)
{
    const long long next = static_cast<long long>(Position()) + delta;
    SetPosition(static_cast<int>(std::clamp<long long>(next, m_minimum, m_maximum)));
}

bool SpinButtonsWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
