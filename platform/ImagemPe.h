#pragma once
// Reads what the installation needs from a Windows program or library file without loading
// it: whether it is a library of a given architecture, whether it exports a function, and its
// version resource. Every offset and size is checked against the file, so a damaged, truncated
// or foreign file reads as "not a library" or "no version", never past its end.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Arquivos.h"

namespace tavoran {

// Machine types of the file header.
constexpr std::uint16_t kMaquinaI386 = 0x14C;
constexpr std::uint16_t kMaquinaAmd64 = 0x8664;

class ImagemPe {
 public:
  // Reads n bytes at an offset of the file into destino; false past its end or on an error.
  using Leitor = std::function<bool(std::uint64_t deslocamento, void* destino, std::size_t n)>;

  ImagemPe(Leitor leitor, std::uint64_t tamanho);

  // The headers and every section lie within the file.
  bool Valida() const { return valida_; }
  std::uint16_t Maquina() const { return maquina_; }
  // Whether the export table names the function; false for a file that is not valid.
  bool Exporta(const std::string& nome) const;
  // The fixed file information of the version resource (first name and language, as the
  // system's version functions read it); nothing when there is none.
  std::optional<VersaoFixa> Versao() const;

 private:
  struct Diretorio {
    std::uint32_t rva = 0, tamanho = 0;
  };
  bool LerCabecalhos();
  // The file offset of a relative address; nothing outside every section.
  std::optional<std::uint64_t> Deslocamento(std::uint32_t rva) const;
  bool LerRva(std::uint32_t rva, void* destino, std::size_t n) const;
  // The first entry of a resource directory with this identifier (any identifier when absent).
  std::optional<std::uint32_t> EntradaRecurso(std::uint32_t diretorio, std::optional<std::uint16_t> id) const;

  Leitor leitor_;
  std::uint64_t tamanho_;
  bool valida_ = false;
  std::uint16_t maquina_ = 0;
  struct Secao {
    std::uint32_t inicio = 0, extensao = 0, tamanhoBruto = 0, deslocamento = 0;
  };
  Diretorio exportacoes_, recursos_;
  std::vector<Secao> secoes_;
};

}  // namespace tavoran
