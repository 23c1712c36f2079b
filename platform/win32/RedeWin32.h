#pragma once
// The real network facility: Winsock (ws2_32) and the ICMP library, loaded at run time.
#include <memory>

#include "platform/Rede.h"

namespace tavoran {

std::unique_ptr<IRede> CriarRedeWin32();

}  // namespace tavoran
