#pragma once
// The file header (the first 4096 bytes of page 0): geometry, counters, key definitions,
// the tree roots and the journal marker. Layout in docs/engine-format.md.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavoran::motor {

inline constexpr std::size_t kTamanhoCabecalho = 4096;
inline constexpr std::uint32_t kVersaoFormato = 2;
// Files written before format 2: read as they are, turned into format 2 by their first write.
inline constexpr std::uint32_t kVersaoFormato1 = 1;
inline constexpr int kMaxSegmentos = 119;
inline constexpr int kMaxChaves = 119;
inline constexpr int kMaxRegistro = 4078;
inline constexpr char kAssinatura[8] = {'T', 'A', 'V', 'B', 'T', 'R', 'V', '1'};

// Key flags as the interface defines them.
inline constexpr std::uint16_t kFlagDuplicada = 1;
inline constexpr std::uint16_t kFlagModificavel = 2;
inline constexpr std::uint16_t kFlagBinaria = 4;
inline constexpr std::uint16_t kFlagNula = 8;
inline constexpr std::uint16_t kFlagSegmentada = 16;
inline constexpr std::uint16_t kFlagDescendente = 64;
inline constexpr std::uint16_t kFlagEstendida = 256;

// Extended key types the engine compares specially; others compare as bytes.
inline constexpr std::uint8_t kTipoTexto = 0;
inline constexpr std::uint8_t kTipoInteiro = 1;
inline constexpr std::uint8_t kTipoBinarioSemSinal = 14;
inline constexpr std::uint8_t kTipoAutoIncremento = 15;

struct Segmento {
  std::uint16_t posicao = 0;  // 1-based offset in the record
  std::uint16_t tamanho = 0;
  std::uint16_t flags = 0;
  std::uint8_t tipo = 0;      // extended type, normalised at creation
  std::uint8_t nulo = 0;
};

struct Chave {
  std::uint32_t raiz = 0;     // 0: empty tree
  std::vector<Segmento> segmentos;

  std::uint16_t Flags() const { return segmentos.empty() ? 0 : segmentos[0].flags; }
  bool Duplicada() const { return Flags() & kFlagDuplicada; }
  bool Modificavel() const { return Flags() & kFlagModificavel; }
  bool AutoIncremento() const { return segmentos.size() == 1 && segmentos[0].tipo == kTipoAutoIncremento; }
  std::uint16_t Tamanho() const;
};

// Names the journal of the last commit while its pages may not be on the disk yet.
struct MarcadorDiario {
  std::uint64_t nonce = 0;     // 0: nothing pending; else the counter that commit reaches
  std::uint32_t posicao = 0;   // where its journal starts, in pages
  std::uint32_t paginas = 0;   // the journal's length, in pages
  std::uint32_t anterior = 0;  // the previous commit's journal, still needed (0: none)
  // Read from a format-1 file: its marker holds a rollback journal's place, and any nonce
  // means a commit is writing, or died doing it.
  bool formato1 = false;
};

struct Cabecalho {
  std::uint32_t versao = kVersaoFormato;  // as read; Codificar always writes format 2
  std::uint32_t tamanhoPagina = 4096;
  std::uint64_t contador = 0;          // grows by one at every commit
  MarcadorDiario marcador;
  std::uint32_t paginas = 1;
  std::uint32_t listaLivre = 0;
  std::uint32_t proximoId = 1;
  std::uint32_t registros = 0;
  std::uint16_t tamanhoRegistro = 0;
  std::uint16_t paginaBtrieve = 0;     // page size asked for at creation, reported by Stat
  std::uint32_t raizDados = 0;
  std::uint16_t flagsArquivo = 0;
  bool temProprietario = false;
  std::uint8_t modoProprietario = 0;
  std::string proprietario;
  // Moves at every commit that changes a page other than a leaf (an internal page, a page
  // freed or added): while it stays, the internal pages an open keeps are current.
  std::uint32_t estrutura = 0;
  std::vector<Chave> chaves;

  int TotalSegmentos() const;
  // Encodes into exactly kTamanhoCabecalho bytes, with checksums.
  void Codificar(std::uint8_t* destino) const;
};

// Status 0, 30 (not a file of this engine) or 2 (damaged header). n: the bytes present from
// the start, at least the used part and its checksum (format 1: all kTamanhoCabecalho).
int DecodificarCabecalho(const std::uint8_t* origem, std::size_t n, Cabecalho* cab);
// The first 12 bytes hold the magic and a format version this engine reads (1 or 2).
bool FormatoConhecido(const std::uint8_t* origem);
// Reads only the journal marker and the counter from the first bytes; false if damaged or
// of another format version.
bool DecodificarMarcador(const std::uint8_t* origem, MarcadorDiario* marcador, std::uint64_t* contador);
// Format 1 keeps the header's checksum in its last four bytes, over all the bytes before
// them with the marker taken as zero: sets it after a change.
void SelarFormato1(std::uint8_t* cabecalho);
inline constexpr std::size_t kTamanhoPrefixo = 48;  // bytes holding magic, counter and marker
// Bytes at the start of a header with this many key segments that may be other than zero;
// the checksum follows them, and every byte after it is zero.
std::size_t TamanhoUsadoCabecalho(std::size_t segmentos);
void CodificarMarcador(const MarcadorDiario& m, std::uint8_t* destino24);

}  // namespace tavoran::motor
