#pragma once
// Pages of one open file: a cache checked against the header's commit counter at every
// call, the lock protocol between processes, and commits through a journal of the new page
// images written inside the file beyond its last page (docs/engine-format.md). Reads fetch
// the blocks of a page that a search touches, not the whole page.
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/ArquivoSO.h"
#include "engine/Cabecalho.h"
#include "engine/CopiaLocal.h"
#include "engine/Diario.h"
#include "engine/DiarioFormato1.h"

namespace tavoran::motor {

// Page types, in a page's first byte.
inline constexpr std::uint8_t kTipoFolha = 1;
inline constexpr std::uint8_t kTipoPaginaInterna = 2;
inline constexpr std::uint8_t kTipoLivre = 3;

// Pages are read from the file in blocks of this size, as a search needs them.
inline constexpr std::size_t kTamanhoBloco = 512;

struct Pagina {
  std::uint32_t numero = 0;
  std::vector<std::uint8_t> dados;  // the blocks not read yet hold zeros
  std::uint64_t blocos = 0;         // bit i: block i is in dados (a page has at most 64)
  bool suja = false;
  // The tree shape (entry and separator lengths) the page header was checked for since it
  // was read, 0 when none: a damaged link may lead one tree into another's page.
  std::uint32_t validadaPara = 0;
};

// True when bytes [pos, pos + n) of the page are in memory (n > 0, within the page).
inline bool TrechoPresente(const Pagina& p, std::size_t pos, std::size_t n) {
  for (std::size_t b = pos / kTamanhoBloco; b <= (pos + n - 1) / kTamanhoBloco; ++b)
    if (!(p.blocos >> b & 1)) return false;
  return true;
}

class Paginador {
 public:
  // somenteLeitura: the file was opened without write access; a recovery it needs answers 46.
  Paginador(ArquivoSO& arquivo, bool exclusivo, bool somenteLeitura);

  int Carregar();                          // reads the header only; recovers an interrupted commit
  int Formatar(const Cabecalho& cab);      // writes the header of a new, empty file
  // Before the file is closed: makes this open's commits durable and clears the marker, so
  // that the next open needs no recovery.
  void Encerrar();

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

  // A read first tries without locks: after it, the header's counter and marker tell
  // whether the cache and the blocks read are the file as it is; a commit seen there makes
  // the read start over, from the header. Otherwise (or when otimista is false) it holds the
  // commit lock shared for the call.
  int IniciarLeitura(bool otimista = true);
  // False when a commit ran meanwhile: the read must be redone.
  bool FimLeitura();
  // A write holds the writer lock; 85 when another open keeps a transaction.
  int IniciarEscrita(bool transacao);
  // Inside a write: what changes from here on can be undone alone (one call of a transaction).
  void MarcarPonto();
  void VoltarAoPonto();
  int Confirmar();
  void Descartar();
  void FimEscrita();
  bool EscritaAtiva() const { return escritaAtiva_; }

  // The workstation's copy of the pages (CopiaLocal.h): taken into the cache right after
  // Carregar when it was made from the header just read, the same size and last-write time;
  // and made at close from an open that read pages from the file and wrote nothing.
  void AdotarCopia(CopiaLocal&& copia);
  std::optional<CopiaLocal> CopiaParaGuardar(const std::string& arquivo) const;

  // Record locks of this open.
  bool BloquearRegistro(std::uint32_t id, bool esperar);
  void DesbloquearRegistro(std::uint32_t id);

 private:
  struct PontoRetorno {
    bool ativo = false;
    Cabecalho cab;
    bool cabSujo = false;
    std::size_t sujas = 0;
    std::map<std::uint32_t, Pagina> salvas;  // pages already changed before the point, as they were
  };

  int LerPrefixo(MarcadorDiario* marcador, std::uint64_t* contador);
  // The pages in the file are whole: no commit is writing them, and those a commit wrote
  // after its journal reached the disk belong to an open still alive (a power loss would
  // have ended it), so that they are in the system's cache if not yet on the disk.
  bool Estavel(const MarcadorDiario& marcador, std::uint64_t contador);
  int Sincronizar();
  int Recuperar();
  int Reaplicar(const MarcadorDiario& marcador);
  int ReverterFormato1();
  int LerDiarioFormato1(const MarcadorFormato1& marcador, DiarioFormato1* diario);
  bool LerDiario(std::uint32_t posicao, std::uint64_t nonce, std::uint32_t tamanhoPagina, Diario* diario);
  int CabecalhoEmUso(std::vector<std::uint8_t>* imagem);
  // The header: its used part and its checksum. -1 when it must wait for a commit or be
  // recovered; 30 or 2 for a foreign or damaged header.
  int LerCabecalho();
  // The header read again when another commit ran: false when it must wait or be recovered.
  bool AtualizarCabecalho();
  void ReterEstrutura(const Cabecalho& novo);
  bool MudaEstrutura() const;
  std::uint32_t LocalDoDiario(std::uint32_t paginas, std::uint32_t tamanho) const;
  std::vector<AlteracaoPagina> Alteracoes(const std::vector<std::uint8_t>& cabecalhoAntes,
                                          const std::vector<std::uint8_t>& cabecalhoNovo) const;
  bool GravarSetores(const AlteracaoPagina& alteracao, std::uint32_t tamanhoPagina, bool juntos);
  bool GravarCabecalhoDoDiario(const AlteracaoPagina& cabecalho, const MarcadorDiario& marcador);
  int GravarEmLugar(const std::vector<AlteracaoPagina>& alteracoes);
  bool Gravar(std::uint64_t pos, const void* dados, std::size_t n);
  bool GravarMarcador(const MarcadorDiario& marcador);
  bool GravarVersaoEMarcador(const std::vector<std::uint8_t>& cabecalhoAntes, const MarcadorDiario& marcador);
  bool Descarregar();
  bool Truncar(std::uint64_t tamanho);
  void AjustarCache();

  ArquivoSO& arq_;
  bool exclusivo_;
  bool somenteLeitura_;
  bool sincronizar_;
  Cabecalho cab_;
  Cabecalho cabOriginal_;
  bool cabSujo_ = false;
  bool escritaAtiva_ = false;
  bool transacao_ = false;
  bool leituraAtiva_ = false;
  bool leituraOtimista_ = false;
  bool pendenteProprio_ = false;         // this open committed: it holds the pending lock
  std::uint64_t pendenteConferido_ = 0;  // a pending commit whose writer was seen alive
  bool cabecalhoVencido_ = false;        // the last check found a commit the cache lacks
  // The header's bytes as last read, with the file's size and last-write time then.
  std::vector<std::uint8_t> cabecalhoBruto_;
  std::uint64_t tamanhoLido_ = 0;
  std::uint64_t alteracaoLida_ = 0;
  bool escreveu_ = false;      // this open began a write
  bool leuPaginas_ = false;    // this open read blocks of pages from the file
  std::unordered_map<std::uint32_t, std::unique_ptr<Pagina>> cache_;
  std::vector<std::uint32_t> sujas_;
  std::map<std::uint32_t, std::vector<std::uint8_t>> originais_;  // changed pages as they were
  PontoRetorno ponto_;
};

}  // namespace tavoran::motor
