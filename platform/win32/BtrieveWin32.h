#pragma once
// The real Btrieve facility: BTRCALL of wbtrv32.dll, loaded by name at the first call so
// that an installed commercial engine serves unchanged. While the library or its entry
// point cannot be found every call answers 3012, the status of an engine that cannot be
// reached, which the start-up diagnoses.
#include <memory>
#include <string>

#include "platform/Btrieve.h"

namespace tavoran {

constexpr std::int16_t kStatusMotorInacessivel = 3012;

std::unique_ptr<IBtrieve> CriarBtrieveWin32(const std::string& biblioteca = "wbtrv32.dll");

}  // namespace tavoran
