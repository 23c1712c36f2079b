#pragma once
// The real drive queries: GetDriveTypeA, and WNetGetConnectionA (mpr, loaded at run time).
#include <memory>

#include "platform/Unidades.h"

namespace tavoran {

std::unique_ptr<IConsultaUnidades> CriarConsultaUnidadesWin32();

}  // namespace tavoran
