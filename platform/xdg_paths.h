#pragma once

#include <string>
#include <string_view>

// $XDG_CONFIG_HOME when it is set to an absolute path, else $HOME/.config (the home folder taken from the
// password database when HOME is unset); empty when neither is known.
std::string XdgConfigHome();

// $XDG_DATA_HOME when it is set to an absolute path, else $HOME/.local/share; empty when neither is known.
std::string XdgDataHome();

// Makes the program's folders under the user's configuration and data folders (<key name> in both, and
// <key name>/<application name> in the data folder) private to the user, as the XDG rules ask of them:
// older versions made them readable by every local user. Only existing folders of the user's own are
// changed, and a link in a folder's place is not followed.
void MakeOwnFoldersPrivate(std::string_view keyName, std::string_view applicationName);
