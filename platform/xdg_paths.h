#pragma once

#include <string>

// $XDG_CONFIG_HOME when it is set to an absolute path, else $HOME/.config (the home folder taken from the
// password database when HOME is unset); empty when neither is known.
std::string XdgConfigHome();

// $XDG_DATA_HOME when it is set to an absolute path, else $HOME/.local/share; empty when neither is known.
std::string XdgDataHome();
