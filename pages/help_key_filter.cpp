#include "pages/help_key_filter.h"

#include <QKeyEvent>

#include "pages/help_request.h"

namespace {

class HelpKeyFilter final : public QObject {
public:
    HelpKeyFilter(QObject& target, HelpKeyMoment moment, std::function<QString()> topic)
        : QObject(&target),
          m_moment(moment),
          m_topic(std::move(topic))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool press = event->type() == QEvent::KeyPress;
        if ((!press && event->type() != QEvent::KeyRelease) || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
            return QObject::eventFilter(watched, event);
        }
        if (m_moment == HelpKeyMoment::PressAndRelease || (m_moment == HelpKeyMoment::Press) == press) {
            ShowHelpTopic(m_topic());
        }
        event->accept();
        return true;
    }

private:
    HelpKeyMoment m_moment;
    std::function<QString()> m_topic;
};

}   // namespace

void InstallHelpKey(QObject& target, HelpKeyMoment moment, std::function<QString()> topic)
{
    target.installEventFilter(new HelpKeyFilter(target, moment, std::move(topic)));
}
