// wbtrv32.dll: the published 32-bit entry point BTRCALL (__stdcall, undecorated name).
#include <cstdint>

#include "engine/Contadores.h"
#include "engine/Motor.h"

extern "C" __declspec(dllexport) std::int16_t __stdcall BTRCALL(std::uint16_t operacao, void* blocoPosicao,
                                                                void* dados, std::uint32_t* tamanhoDados,
                                                                void* chave, std::uint8_t tamanhoChave,
                                                                char numeroChave) {
  return tavoran::motor::Chamar(operacao, blocoPosicao, dados, tamanhoDados, chave, tamanhoChave,
                                static_cast<std::int8_t>(numeroChave));
}

extern "C" __declspec(dllexport) int __stdcall TavMotorVerificarArquivo(const char* caminho) {
  return TavMotorVerificar(caminho);
}

extern "C" __declspec(dllexport) void __stdcall TavMotorLerContadores(std::uint64_t* bytesLidos,
                                                                      std::uint64_t* paginasLidas,
                                                                      std::uint64_t* paginasVisitadas, int zerar) {
  TavMotorContadores(bytesLidos, paginasLidas, paginasVisitadas, zerar);
}
