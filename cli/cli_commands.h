#pragma once

#include "cli/cli_session.h"

// Runs the session's command (diff, calc, info or expand) and gives its exit status.
int RunCommand(CliSession& session);
