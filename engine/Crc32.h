#pragma once
// CRC-32 (IEEE 802.3 polynomial) of the header and of the journal.
#include <cstddef>
#include <cstdint>

namespace tavoran::motor {

std::uint32_t Crc32(const void* dados, std::size_t n, std::uint32_t inicial = 0);

}  // namespace tavoran::motor
