#include "engine/Contadores.h"

namespace tavoran::motor {

Contadores& ContadoresMotor() {
  static Contadores c;
  return c;
}

}  // namespace tavoran::motor

extern "C" void TavMotorContadores(std::uint64_t* bytesLidos, std::uint64_t* paginasLidas,
                                   std::uint64_t* paginasVisitadas, int zerar) {
  auto& c = tavoran::motor::ContadoresMotor();
  if (bytesLidos) *bytesLidos = c.bytesLidos.load();
  if (paginasLidas) *paginasLidas = c.paginasLidas.load();
  if (paginasVisitadas) *paginasVisitadas = c.paginasVisitadas.load();
  if (zerar) {
    c.bytesLidos = 0;
    c.paginasLidas = 0;
    c.paginasVisitadas = 0;
    c.leituras = 0;
  }
}
