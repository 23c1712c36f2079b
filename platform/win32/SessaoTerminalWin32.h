#pragma once
// The real terminal-session facility (wtsapi32, loaded at run time).
#include <memory>

#include "platform/SessaoTerminal.h"

namespace tavoran {

std::unique_ptr<ISessaoTerminal> CriarSessaoTerminalWin32();

}  // namespace tavoran
