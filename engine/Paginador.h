#pragma once
// Pages of one open file: a cache checked against the header's commit counter at every
// call, the lock protocol between processes, and commits through a rollback journal
// written inside the file beyond its last page (docs/engine-format.md). Reads fetch the
// blocks of a page that a search touches, not the whole page.
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/ArquivoSO.h"
#include "engine/Cabecalho.h"

namespace tavoran::motor {

// Pages are read from the file in blocks of this size, as a search needs them.
inline constexpr std::size_t kTamanhoBloco = 512;

struct Pagina {
  std::uint32_t numero = 0;
  std::vector<std::uint8_t> dados;  // the blocks not read yet hold zeros
  std::uint64_t blocos = 0;         // bit i: block i is in dados (a page has at most 64)
  bool suja = false;
  bool validada = false;  // page header checked by the tree since it was read
};

// True when bytes [pos, pos + n) of the page are in memory (n > 0, within the page).
inline bool TrechoPresente(const Pagina& p, std::size_t pos, std::size_t n) {
  for (std::size_t b = pos / kTamanhoBloco; b <= (pos + n - 1) / kTamanhoBloco; ++b)
    if (!(p.blocos >> b & 1)) return false;
  return true;
}

class Paginador {
 public:
  Paginador(ArquivoSO& arquivo, bool exclusivo);

  int Carregar();                          // reads the header only; recovers an interrupted commit
  int Formatar(const Cabecalho& cab);      // writes the header of a new, empty file

  Cabecalho& Cab() { return cab_; }
  void SujarCabecalho() { cabSujo_ = true; }
  std::uint32_t TamanhoPagina() const { return cab_.tamanhoPagina; }

  // A page with its first block (the page header) read, or all of it when inteira.
  int Obter(std::uint32_t numero, Pagina** pagina, bool inteira = false);
  // Makes bytes [pos, pos + n) of the page present, reading the missing blocks in runs.
  int LerTrecho(Pagina* pagina, std::size_t pos, std::size_t n);
  int ObterParaEscrita(std::uint32_t numero, Pagina** pagina);
  int Alocar(std::uint32_t* numero, Pagina** pagina);
  int Liberar(std::uint32_t numero);

  // A read first tries without locks: the header's counter and marker tell whether the
  // cache is current; when blocks were read from the file, the counter and marker are
  // read again after, and a commit seen there makes the read start over.
  // Otherwise (or when otimista is false) it holds the commit lock shared for the call.
  int IniciarLeitura(bool otimista = true);
  // False when a commit ran meanwhile: the cache is dropped and the read must be redone.
  bool FimLeitura();
  // A write holds the writer lock; 85 when another open keeps a transaction.
  int IniciarEscrita(bool transacao);
  int Confirmar();
  void Descartar();
  void FimEscrita();
  bool EscritaAtiva() const { return escritaAtiva_; }

  // Record locks of this open.
  bool BloquearRegistro(std::uint32_t id, bool esperar);
  void DesbloquearRegistro(std::uint32_t id);
  bool RegistroBloqueadoPorOutro(std::uint32_t id);

 private:
  int LerPrefixo(MarcadorDiario* marcador, std::uint64_t* contador);
  int Sincronizar();
  int Recuperar();
  int RolarDiario(const MarcadorDiario& marcador);
  int DescartarMarcador();
  // The header: its used part and its checksum. -1 when the marker is set (a commit is
  // running, or its writer died); 30 or 2 for a foreign or damaged header.
  int LerCabecalho();
  bool Gravar(std::uint64_t pos, const void* dados, std::size_t n);
  void AjustarCache();

  ArquivoSO& arq_;
  bool exclusivo_;
  bool sincronizar_;
  Cabecalho cab_;
  Cabecalho cabOriginal_;
  bool cabSujo_ = false;
  bool escritaAtiva_ = false;
  bool transacao_ = false;
  bool leituraAtiva_ = false;
  bool leituraOtimista_ = false;
  std::uint64_t lidasDoArquivo_ = 0;  // reads of page blocks since the read began
  std::unordered_map<std::uint32_t, std::unique_ptr<Pagina>> cache_;
  std::map<std::uint32_t, std::vector<std::uint8_t>> originais_;  // images before this write
  std::vector<std::uint32_t> sujas_;
};

}  // namespace tavoran::motor
