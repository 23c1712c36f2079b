#pragma once
// The environment of the real Windows facilities. Deliberately free of <windows.h>, so
// that the entry and the tests can include it next to the logic's headers.
#include <memory>

#include "platform/Ambiente.h"

namespace tavoran {

// Every member of Ambiente filled with its Win32 implementation; the special folders are the
// ones given when the caller started them earlier.
std::unique_ptr<Ambiente> CriarAmbienteWindows(std::unique_ptr<IPastasEspeciais> pastasEspeciais = nullptr);

}  // namespace tavoran
