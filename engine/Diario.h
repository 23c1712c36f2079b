#pragma once
// A commit's journal: for the header and for every page the commit changed, the 512-byte
// sectors that changed and their new contents. It is written beyond the file's last page and
// reaches the disk before any page is written in place (docs/engine-format.md).
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tavoran::motor {

inline constexpr std::size_t kTamanhoSetor = 512;
inline constexpr std::size_t kCabecalhoDiario = 32;

// One page of a commit: its number, the sectors written (bit i: sector i) and the page's image.
struct AlteracaoPagina {
  std::uint32_t numero = 0;
  std::uint64_t setores = 0;
  const std::uint8_t* imagem = nullptr;
};

// The sectors in which two images of n bytes differ.
std::uint64_t SetoresDiferentes(const std::uint8_t* antes, const std::uint8_t* depois, std::size_t n);
// Every sector of a page of this size.
std::uint64_t TodosOsSetores(std::size_t tamanhoPagina);
// Runs of consecutive sectors: first sector and count.
std::vector<std::pair<unsigned, unsigned>> TrechosDeSetores(std::uint64_t setores);

class Diario {
 public:
  // The journal of the commit that takes the counter to nonce; the header (page 0) first.
  static std::vector<std::uint8_t> Montar(std::uint64_t nonce, std::uint32_t tamanhoPagina,
                                          const std::vector<AlteracaoPagina>& alteracoes);
  static std::size_t TamanhoPara(const std::vector<AlteracaoPagina>& alteracoes);
  // Its length, from the first kCabecalhoDiario bytes; 0 when they are not a journal's.
  static std::size_t Tamanho(const std::uint8_t* cabecalho, std::uint64_t nonce, std::uint32_t tamanhoPagina);

  // Takes a journal read back whole: its nonce, page size, checksum and entries must hold
  // (page 0 first, the others within the page count that page 0's first sector gives).
  bool Decodificar(std::vector<std::uint8_t> bytes, std::uint64_t nonce, std::uint32_t tamanhoPagina);
  // The entries, with their sectors packed one after another.
  const std::vector<AlteracaoPagina>& Alteracoes() const { return alteracoes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<AlteracaoPagina> alteracoes_;
};

}  // namespace tavoran::motor
