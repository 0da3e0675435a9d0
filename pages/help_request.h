#pragma once

#include <QString>

#include <functional>

// How any window asks for a help topic. The application installs its help window as the handler; before
// that, and in tests without one, a request does nothing. A topic is its file's name without ".htm",
// optionally with "#anchor" to open it at that section ("timeinfo#moon").
void ShowHelpTopic(const QString& topic);
void SetHelpTopicHandler(std::function<void(const QString& topic)> handler);
