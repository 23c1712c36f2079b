#pragma once
// The program entry and its program-wide state.
#include <string>

#include "platform/Ambiente.h"

namespace tavoran {

// Main: refuses a second copy in the session, reads the "A" argument, creates the
// inconsistency report, runs the basic checks, prepares and shows the progress window,
// and runs its event loop until the window closes. Returns the process exit code.
int Main(Ambiente& ambiente);

// The inherited-administrator flag: true only when the command line is exactly "A".
bool ArgumentoAdministrador(const std::string& v_sLinhaComando);

}  // namespace tavoran
