#pragma once
// The one table that turns Windows error codes into the run-time numbers the logic
// relies on (53 file not found, 70 permission denied or in use, 75, 76, 429, ...).
#include <cstdint>

#include "platform/Erro.h"

namespace tavoran {

// Run-time number and pt-BR description for a Win32 error code or an HRESULT.
Falha FalhaDeErroWindows(std::uint32_t codigo);
// The shell's answer to an open: above 32 is success; 0 is out of memory; the others are
// Windows codes (5: the user refused an elevation prompt).
Falha FalhaDeResultadoShell(std::intptr_t resultado);

}  // namespace tavoran
