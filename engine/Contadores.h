#pragma once
// Read counters of the engine, for benchmarks and the daily-path measurement.
#include <atomic>
#include <cstdint>

namespace tavoran::motor {

struct Contadores {
  std::atomic<std::uint64_t> bytesLidos{0};        // bytes read from files
  std::atomic<std::uint64_t> paginasLidas{0};      // pages read from files (cache misses)
  std::atomic<std::uint64_t> paginasVisitadas{0};  // pages visited by tree searches, cached or not
  std::atomic<std::uint64_t> leituras{0};          // read calls on files
};

Contadores& ContadoresMotor();

}  // namespace tavoran::motor

extern "C" {
// Copies the three counters (bytes read, pages read, pages visited) and optionally zeroes them.
void TavMotorContadores(std::uint64_t* bytesLidos, std::uint64_t* paginasLidas, std::uint64_t* paginasVisitadas,
                        int zerar);
}
