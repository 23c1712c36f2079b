#pragma once
// The engine behind BTRCALL: turns one call (operation, position block, buffers, key
// number) into an operation on an open file, and answers the interface's status.
#include <cstdint>
#include <string>

namespace tavoran::motor {

inline constexpr std::size_t kTamanhoBlocoPosicao = 128;

// One BTRCALL, with the published argument types.
std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                    void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave);

// The version Version (26) reports: TAV_BTRIEVE_VERSAO ("8.60") or the default 7.90.
void VersaoInformada(std::uint16_t* versao, std::uint16_t* revisao);

}  // namespace tavoran::motor

extern "C" {
// Checks every tree of a closed file against its records: 0, 2 (damaged), 30, 12, 88.
int TavMotorVerificar(const char* caminho);
}
