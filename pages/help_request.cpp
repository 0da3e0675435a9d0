#include "pages/help_request.h"

namespace {

std::function<void(const QString&)>& Handler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

}   // namespace

void ShowHelpTopic(const QString& topic)
{
    if (Handler()) {
        Handler()(topic);
    }
}

void SetHelpTopicHandler(std::function<void(const QString& topic)> handler)
{
    Handler() = std::move(handler);
}
