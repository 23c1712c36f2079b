#pragma once
// The workstation's own copy of the pages an open of a record file read, kept in a local
// folder, so that the next run reads from the share only the header of a file nobody
// changed. A copy serves only an open that finds the header bytes, the file's size and its
// last-write time as the copy recorded them: every commit moves the header's counter.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavoran::motor {

struct PaginaCopiada {
  std::uint32_t numero = 0;
  std::uint64_t blocos = 0;          // bit i: block i of the page is in dados
  std::vector<std::uint8_t> dados;   // the whole page; blocks not held are zeros
};

struct CopiaLocal {
  std::string arquivo;                 // the record file's path, as opened
  std::vector<std::uint8_t> cabecalho; // the header bytes as last read
  std::uint64_t tamanho = 0;           // the file's size then
  std::uint64_t alteracao = 0;         // and its last-write time, in the system's units
  std::uint32_t tamanhoPagina = 0;
  std::vector<PaginaCopiada> paginas;
};

// At most this many bytes of pages are kept per file: the upper tree levels first.
inline constexpr std::size_t kLimiteCopiaLocal = 256u << 10;

// The folder of the copies: TAV_BTRIEVE_COPIAS when set ("0" turns copies off); otherwise,
// on Windows, Tavoran\Btrieve under the user's local application data, and none elsewhere.
std::optional<std::string> PastaCopiasLocais();

// The copy kept for the record file, when there is one, whole and of that file.
std::optional<CopiaLocal> LerCopiaLocal(const std::string& pasta, const std::string& arquivo);
// Replaces the copy kept for copia.arquivo; a failure only leaves the old copy, or none.
void GravarCopiaLocal(const std::string& pasta, const CopiaLocal& copia);

// The bytes a copy file holds, and back; Decodificar fails on any damage.
std::vector<std::uint8_t> CodificarCopiaLocal(const CopiaLocal& copia);
std::optional<CopiaLocal> DecodificarCopiaLocal(const std::vector<std::uint8_t>& bytes);

}  // namespace tavoran::motor
