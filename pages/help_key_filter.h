#pragma once

#include <QObject>
#include <QString>

#include <functional>

// When F1 opens help. The pages answer both, the main window only the release, a dialog only the press.
enum class HelpKeyMoment { Press, Release, PressAndRelease };

// F1 on `target`, or on any child that passes the key on, asks for the help topic `topic` gives at that
// moment (pages/help_request.h). F1 goes no further at either moment, whether or not it opened help. A
// filter installed later runs first, so an owner can answer ahead of what its child installed.
void InstallHelpKey(QObject& target, HelpKeyMoment moment, std::function<QString()> topic);
