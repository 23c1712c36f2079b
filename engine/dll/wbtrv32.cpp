// wbtrv32.dll: the published 32-bit entry point BTRCALL (__stdcall, undecorated name).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

namespace {

// With TAV_BTRIEVE_CONTADORES naming a file, the read counters of this process (bytes,
// pages, pages visited, read calls) are appended to it when the library unloads: the
// daily-path benchmark reads them there.
struct RelatorioContadores {
  ~RelatorioContadores() {
    const char* arquivo = std::getenv("TAV_BTRIEVE_CONTADORES");
    if (arquivo == nullptr || *arquivo == '\0') return;
    std::uint64_t bytes = 0, paginas = 0, visitadas = 0;
    TavMotorContadores(&bytes, &paginas, &visitadas, 0);
    const std::uint64_t leituras = tavoran::motor::ContadoresMotor().leituras.load();
    if (std::FILE* f = std::fopen(arquivo, "a")) {
      std::fprintf(f, "%llu %llu %llu %llu\n", static_cast<unsigned long long>(bytes),
                   static_cast<unsigned long long>(paginas), static_cast<unsigned long long>(visitadas),
                   static_cast<unsigned long long>(leituras));
      std::fclose(f);
    }
  }
};
const RelatorioContadores kRelatorioContadores;

}  // namespace
