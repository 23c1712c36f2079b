#pragma once
// Reads what the installation needs from a Windows program or library file without loading
// it: whether it is a library of a given architecture, whether it exports a function, and its
// version resource. Every offset and size is checked against the file, so a damaged, truncated
// or foreign file reads as "not a library" or "no version", never past its end.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Arquivos.h"

namespace tavoran {

// Machine types of the file header.
constexpr std::uint16_t kMaquinaI386 = 0x14C;
constexpr std::uint16_t kMaquinaAmd64 = 0x8664;

// What identifies the type library a file carries, as the system reads it.
struct TypeLibPe {
  std::array<std::uint8_t, 16> guid{};  // as a GUID lies in memory
  std::uint16_t versaoMaior = 0, versaoMenor = 0;
  std::uint32_t lcid = 0;
};

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
  // The type library of resource "TYPELIB" number 1, the one the system loads from a file,
  // when it is in the common binary format ("MSFT"); nothing for another format or damage.
  std::optional<TypeLibPe> TypeLib() const;

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
  // The entry of a resource directory with this name (upper-case ASCII; names compare
  // without case).
  std::optional<std::uint32_t> EntradaRecursoNomeada(std::uint32_t diretorio, const std::string& nome) const;
  // The relative address and size of the data of a resource: type, then name, then the first
  // language.
  std::optional<std::pair<std::uint32_t, std::uint32_t>> DadosRecurso(std::optional<std::uint32_t> tipo,
                                                                      std::optional<std::uint16_t> id) const;

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
