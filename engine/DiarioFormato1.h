#pragma once
// The rollback journal of format 1: a commit of a file written before format 2 left in it
// the images of the pages it changed, as they were before it, and a marker naming them
// (docs/engine-format.md). Only the recovery of such a commit reads it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavoran::motor {

// The marker of a format-1 header (bytes 24-47), whose checksum was found good.
struct MarcadorFormato1 {
  std::uint64_t nonce = 0;
  std::uint64_t posicao = 0;           // where the journal starts, in bytes
  std::uint32_t paginasOriginais = 0;  // the page count before the commit
};
MarcadorFormato1 DecodificarMarcadorFormato1(const std::uint8_t* prefixo);

class DiarioFormato1 {
 public:
  static constexpr std::size_t kCabecalho = 32;

  // Its length, from the first kCabecalho bytes; 0 when they are not this commit's journal.
  static std::uint64_t Tamanho(const std::uint8_t* cabecalho, const MarcadorFormato1& marcador);
  // Takes a journal read back whole (Tamanho bytes): false when its checksum fails.
  bool Decodificar(std::vector<std::uint8_t> bytes);

  struct Imagem {
    std::uint32_t numero;
    const std::uint8_t* dados;  // the page size's bytes
  };
  std::uint32_t TamanhoPagina() const { return tamanhoPagina_; }
  // The pages in the order written, the header (page 0) among them.
  const std::vector<Imagem>& Paginas() const { return paginas_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t tamanhoPagina_ = 0;
  std::vector<Imagem> paginas_;
};

}  // namespace tavoran::motor
