#pragma once
// The program entry and its program-wide state.
#include <string>

#include "checks/clsNKemRyxUtil.h"
#include "platform/Ambiente.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"

namespace tavoran {

// Main: refuses a second copy in the session, reads the "A" argument, creates the
// inconsistency report, runs the basic checks, prepares and shows the progress window,
// and runs its event loop until the window closes. Returns the process exit code.
int Main(Ambiente& ambiente);

// The inherited-administrator flag: true only when the command line is exactly "A".
bool ArgumentoAdministrador(const std::string& v_sLinhaComando);

// The libraries the progress window itself needs, installed from the share's Windows library
// folder when missing; false (the user told) when the start cannot go on.
bool VerificarComponentesBasicosWindows(Ambiente& v_objAmbiente, clsNKemRyxLogErr& v_objLogErr,
                                        LinksAjuda& v_objLinks);
// The suite's basic libraries, installed or updated from the share's components folder; when
// one was, the computer's status record is deleted so that the next start updates fully.
bool VerificarComponentesTavoranBasicos(Ambiente& v_objAmbiente, clsNKemRyxLogErr& v_objLogErr,
                                        LinksAjuda& v_objLinks);

// Fills the help-link table from the default-data file of the main directory.
void CarregarLinksAjuda(clsNKemRyxUtil& v_objUtil, LinksAjuda& v_objLinks);

}  // namespace tavoran
