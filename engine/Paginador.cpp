#include "engine/Paginador.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "engine/Bytes.h"
#include "engine/Contadores.h"
#include "engine/Diario.h"
#include "engine/DiarioFormato1.h"
#include "engine/Status.h"
#ifdef TAV_MOTOR_TESTES
#include "engine/InjecaoFalhas.h"
#endif

namespace tavoran::motor {

namespace {
constexpr std::size_t kPosMarcador = 24;
constexpr std::size_t kLimiteCache = 64u << 20;
constexpr int kEsperaMaximaMs = 20000;
// The first read of a header covers its used part and checksum for up to 28 key segments.
constexpr std::size_t kLeituraCabecalho = 1284;
static_assert(kLeituraCabecalho >= kTamanhoPrefixo && kLeituraCabecalho < kTamanhoCabecalho);
static_assert(32768 / kTamanhoBloco <= 64, "a page's blocks fit the mask");
static_assert(kTamanhoBloco == kTamanhoSetor, "blocks read and sectors journaled share one mask");

void ContarLeitura(std::size_t lidos) {
  ContadoresMotor().bytesLidos += lidos;
  ContadoresMotor().leituras++;
}

// Flushing is on unless TAV_BTRIEVE_SINCRONIZAR is "0" (benchmarks only: a power failure
// may then lose or damage the file).
bool SincronizarPorAmbiente() {
  const char* v = std::getenv("TAV_BTRIEVE_SINCRONIZAR");
  return v == nullptr || v[0] != '0';
}

bool TamanhoPaginaValido(std::uint32_t t) { return t == 4096 || t == 8192 || t == 16384 || t == 32768; }

// A cleared marker still says where the last journal lies, so that the next one avoids it.
MarcadorDiario Limpo(const MarcadorDiario& m) {
  MarcadorDiario limpo = m;
  limpo.nonce = 0;
  limpo.anterior = 0;
  return limpo;
}
}  // namespace

Paginador::Paginador(ArquivoSO& arquivo, bool exclusivo, bool somenteLeitura)
    : arq_(arquivo), exclusivo_(exclusivo), somenteLeitura_(somenteLeitura), sincronizar_(SincronizarPorAmbiente()) {}

// ---- disk operations ------------------------------------------------------------------------

bool Paginador::Gravar(std::uint64_t pos, const void* dados, std::size_t n) {
#ifdef TAV_MOTOR_TESTES
  injecao::Gravando(arq_, pos, dados, n);
#endif
  return arq_.Gravar(pos, dados, n);
}

bool Paginador::GravarMarcador(const MarcadorDiario& marcador) {
  std::uint8_t m[24];
  CodificarMarcador(marcador, m);
  return Gravar(kPosMarcador, m, sizeof m);
}

bool Paginador::Descarregar() {
  if (!sincronizar_) return true;
#ifdef TAV_MOTOR_TESTES
  if (!injecao::Descarregando(arq_)) return true;
#endif
  return arq_.Sincronizar();
}

bool Paginador::Truncar(std::uint64_t tamanho) {
#ifdef TAV_MOTOR_TESTES
  injecao::Truncando(arq_, tamanho);
#endif
  return arq_.Truncar(tamanho);
}

// ---- the header -----------------------------------------------------------------------------

int Paginador::LerPrefixo(MarcadorDiario* marcador, std::uint64_t* contador) {
  std::uint8_t buf[kTamanhoPrefixo];
  std::size_t lidos = 0;
  if (!arq_.Ler(0, buf, sizeof buf, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos < 8 || std::memcmp(buf, kAssinatura, 8) != 0) return kNaoEArquivoBtrieve;
  if (lidos < sizeof buf) return kErroES;
  if (!FormatoConhecido(buf)) return kNaoEArquivoBtrieve;
  return DecodificarMarcador(buf, marcador, contador) ? kOk : kErroES;
}

bool Paginador::Estavel(const MarcadorDiario& m, std::uint64_t contador) {
  if (m.nonce == 0) return true;
  if (m.formato1) return false;  // a format-1 commit clears its marker when it ends
  if (m.nonce != contador) return false;  // a commit is writing its pages, or died doing it
  if (pendenteProprio_ || m.nonce == pendenteConferido_) return true;
  if (exclusivo_ || !arq_.BloqueadoPorOutro(kBloqueioPendente)) return false;
  pendenteConferido_ = m.nonce;
  return true;
}

int Paginador::LerCabecalho() {
  // The used part and its checksum, in one read for up to 28 key segments.
  std::vector<std::uint8_t> buf(kTamanhoCabecalho, 0);
  std::size_t lidos = 0;
  if (!arq_.Ler(0, buf.data(), kLeituraCabecalho, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos < 8 || std::memcmp(buf.data(), kAssinatura, 8) != 0) return kNaoEArquivoBtrieve;
  if (lidos < kLeituraCabecalho) return kErroES;
  if (!FormatoConhecido(buf.data())) return kNaoEArquivoBtrieve;
  // The marker first: an interrupted commit may have left the header itself half written.
  MarcadorDiario marcador;
  std::uint64_t contador = 0;
  if (!DecodificarMarcador(buf.data(), &marcador, &contador)) return kErroES;
  if (!Estavel(marcador, contador)) return -1;
  const std::uint16_t segmentos = Le16(buf.data() + 70);
  if (segmentos > kMaxSegmentos) return kErroES;
  const std::size_t usado = TamanhoUsadoCabecalho(segmentos) + (marcador.formato1 ? 0 : 4);
  if (usado > kLeituraCabecalho) {
    if (!arq_.Ler(kLeituraCabecalho, buf.data() + kLeituraCabecalho, usado - kLeituraCabecalho, &lidos))
      return kErroES;
    ContarLeitura(lidos);
    if (lidos != usado - kLeituraCabecalho) return kErroES;
  }
  if (marcador.formato1) {
    // Format 1 keeps the checksum in the header's last four bytes; the zeros before them,
    // up to the used part, are taken as read.
    if (!arq_.Ler(kTamanhoCabecalho - 4, buf.data() + kTamanhoCabecalho - 4, 4, &lidos)) return kErroES;
    ContarLeitura(lidos);
    if (lidos != 4) return kErroES;
  }
  Cabecalho novo;
  int st = DecodificarCabecalho(buf.data(), buf.size(), &novo);
  // A header that a commit was writing when its process died still carries the marker.
  if (st == kErroES && marcador.nonce != 0) return -1;
  if (st != kOk) return st;
  std::uint64_t tamanho = 0, alteracao = 0;
  if (!arq_.Atributos(&tamanho, &alteracao)) return kErroES;
  if (tamanho < static_cast<std::uint64_t>(novo.paginas) * novo.tamanhoPagina) return kErroES;  // truncated file
  cabecalhoBruto_.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(std::max(usado, kLeituraCabecalho)));
  tamanhoLido_ = tamanho;
  alteracaoLida_ = alteracao;
  ReterEstrutura(novo);
  cab_ = std::move(novo);
  cabOriginal_ = cab_;
  return kOk;
}

// Another open committed: the internal pages stay in the cache while the header says no
// commit changed them since they were read; leaves, and everything else, go. Format 1 has
// no structure counter: a commit there, or a file turned into format 2 since, drops all.
void Paginador::ReterEstrutura(const Cabecalho& novo) {
  if (novo.estrutura != cab_.estrutura || novo.tamanhoPagina != cab_.tamanhoPagina ||
      novo.versao != kVersaoFormato || cab_.versao != kVersaoFormato) {
    cache_.clear();
    return;
  }
  std::erase_if(cache_, [](const auto& par) { return par.second->dados[0] != kTipoPaginaInterna; });
}

int Paginador::Carregar() {
  int st = LerCabecalho();
  if (st == kOk || st == kNaoEArquivoBtrieve) return st;
  if (exclusivo_) return st == -1 ? Recuperar() : st;
  // Read while a commit was writing the header, or left by a writer that died: again,
  // with commits held off. A marker still unstable then belongs to an interrupted commit.
  if (!arq_.Bloquear(kBloqueioConfirmacao, false, true)) return kErroES;
  st = LerCabecalho();
  arq_.Desbloquear(kBloqueioConfirmacao);
  return st == -1 ? Recuperar() : st;
}

int Paginador::Formatar(const Cabecalho& cab) {
  cab_ = cab;
  cab_.paginas = 1;
  std::vector<std::uint8_t> pagina(cab_.tamanhoPagina, 0);
  cab_.Codificar(pagina.data());
  if (!Truncar(0) || !Gravar(0, pagina.data(), pagina.size()) || !Descarregar()) return kErroCriacao;
  cabOriginal_ = cab_;
  cache_.clear();
  return kOk;
}

// Compares the header's commit counter with the cached one; a foreign commit drops the cache.
int Paginador::Sincronizar() {
  MarcadorDiario m;
  std::uint64_t contador = 0;
  int st = LerPrefixo(&m, &contador);
  if (st != kOk) return st;
  if (!Estavel(m, contador)) return -1;  // an interrupted commit must be recovered first
  if (contador == cab_.contador) return kOk;
  return LerCabecalho();
}

// ---- reads and writes between processes ---------------------------------------------------

int Paginador::IniciarLeitura(bool otimista) {
  leituraAtiva_ = false;
  leituraOtimista_ = false;
  if (exclusivo_ || escritaAtiva_) return kOk;
  // Without locks the cache is checked against the header after the read (FimLeitura);
  // only when the last check found another commit is the header read first.
  if (otimista && (!cabecalhoVencido_ || AtualizarCabecalho())) {
    leituraOtimista_ = true;
    AjustarCache();
    return kOk;
  }
  for (int tentativa = 0; tentativa < 3; ++tentativa) {
    if (!arq_.Bloquear(kBloqueioConfirmacao, false, true)) return kErroES;
    int st = Sincronizar();
    if (st != -1) {
      if (st != kOk) {
        arq_.Desbloquear(kBloqueioConfirmacao);
        return st;
      }
      leituraAtiva_ = true;
      cabecalhoVencido_ = false;
      AjustarCache();
      return kOk;
    }
    arq_.Desbloquear(kBloqueioConfirmacao);
    st = Recuperar();
    if (st != kOk) return st;
  }
  return kErroES;
}

bool Paginador::FimLeitura() {
  if (leituraAtiva_) arq_.Desbloquear(kBloqueioConfirmacao);
  leituraAtiva_ = false;
  if (!leituraOtimista_) return true;
  leituraOtimista_ = false;
  // No commit ran since the cache was last checked, nor while the blocks were read: what
  // the read found is the file as it is now.
  MarcadorDiario m;
  std::uint64_t contador = 0;
  if (LerPrefixo(&m, &contador) == kOk && (m.nonce == 0 || (!m.formato1 && m.nonce == contador)) &&
      contador == cab_.contador)
    return true;
  cabecalhoVencido_ = true;  // the next read starts from the header; leaves read now go then
  return false;
}

bool Paginador::AtualizarCabecalho() {
  MarcadorDiario m;
  std::uint64_t contador = 0;
  if (LerPrefixo(&m, &contador) != kOk || !Estavel(m, contador)) return false;
  if (contador != cab_.contador && LerCabecalho() != kOk) return false;
  cabecalhoVencido_ = false;
  return true;
}

int Paginador::IniciarEscrita(bool transacao) {
  if (escritaAtiva_) return kOk;
  if (!exclusivo_) {
    int esperado = 0;
    unsigned pausa = 50;
    while (!arq_.Bloquear(kBloqueioEscrita, true, false)) {
      if (arq_.BloqueadoPorOutro(kBloqueioTransacao) || esperado > kEsperaMaximaMs * 1000) return kArquivoEmUso;
      ArquivoSO::Pausar(pausa);
      esperado += static_cast<int>(pausa);
      if (pausa < 2000) pausa *= 2;
    }
    if (transacao && !arq_.Bloquear(kBloqueioTransacao, true, false)) {
      arq_.Desbloquear(kBloqueioEscrita);
      return kArquivoEmUso;
    }
  }
  escritaAtiva_ = true;
  escreveu_ = true;
  transacao_ = transacao;
  int st = exclusivo_ ? kOk : Sincronizar();
  if (st == -1) {
    st = Recuperar();
    if (st == kOk) st = Sincronizar();
  }
  if (st != kOk) {
    FimEscrita();
    return st;
  }
  AjustarCache();
  cabOriginal_ = cab_;
  cabSujo_ = false;
  cabecalhoVencido_ = false;
  return kOk;
}

void Paginador::FimEscrita() {
  if (!escritaAtiva_) return;
  if (!exclusivo_) {
    if (transacao_) arq_.Desbloquear(kBloqueioTransacao);
    arq_.Desbloquear(kBloqueioEscrita);
  }
  escritaAtiva_ = false;
  transacao_ = false;
  ponto_ = PontoRetorno{};
}

// ---- recovery -------------------------------------------------------------------------------

// Brings back the last commit(s) whose pages a dead process, or a power failure, may have
// left half written. Takes the writer lock itself unless this open already holds it.
int Paginador::Recuperar() {
  if (somenteLeitura_) return kAcessoNegado;  // the recovery has to write
  escreveu_ = true;
  bool tomouEscrita = false;
  if (!escritaAtiva_ && !exclusivo_) {
    int esperado = 0;
    while (!arq_.Bloquear(kBloqueioEscrita, true, false)) {
      if (esperado > kEsperaMaximaMs * 1000) return kArquivoEmUso;
      ArquivoSO::Pausar(500);
      esperado += 500;
    }
    tomouEscrita = true;
  }
  if (!exclusivo_) arq_.Bloquear(kBloqueioConfirmacao, true, true);
  MarcadorDiario m;
  std::uint64_t contador = 0;
  int st = LerPrefixo(&m, &contador);
  if (st == kOk) {
    st = LerCabecalho();
    if (st == -1) st = m.formato1 ? ReverterFormato1() : Reaplicar(m);
    if (st == kOk) st = LerCabecalho();
  }
  if (!exclusivo_) arq_.Desbloquear(kBloqueioConfirmacao);
  if (tomouEscrita) arq_.Desbloquear(kBloqueioEscrita);
  return st;
}

// A journal is used only whole: see Diario::Decodificar.
bool Paginador::LerDiario(std::uint32_t posicao, std::uint64_t nonce, std::uint32_t tamanhoPagina, Diario* d) {
  std::uint64_t tamanho = 0;
  if (posicao == 0 || !arq_.Tamanho(&tamanho)) return false;
  const std::uint64_t inicio = static_cast<std::uint64_t>(posicao) * tamanhoPagina;
  std::uint8_t cab[kCabecalhoDiario];
  std::size_t lidos = 0;
  if (inicio + kCabecalhoDiario > tamanho || !arq_.Ler(inicio, cab, sizeof cab, &lidos) || lidos != sizeof cab)
    return false;
  ContarLeitura(lidos);
  const std::size_t bytes = Diario::Tamanho(cab, nonce, tamanhoPagina);
  if (bytes == 0 || inicio + bytes > tamanho) return false;
  std::vector<std::uint8_t> conteudo(bytes);
  if (!arq_.Ler(inicio, conteudo.data(), bytes, &lidos) || lidos != bytes) return false;
  ContarLeitura(lidos);
  return d->Decodificar(std::move(conteudo), nonce, tamanhoPagina);
}

// The header as it is in the file.
int Paginador::CabecalhoEmUso(std::vector<std::uint8_t>* imagem) {
  imagem->assign(kTamanhoCabecalho, 0);
  std::size_t lidos = 0;
  if (!arq_.Ler(0, imagem->data(), kTamanhoCabecalho, &lidos)) return kErroES;
  ContarLeitura(lidos);
  Cabecalho c;
  return DecodificarCabecalho(imagem->data(), lidos, &c);
}

// Writes the sectors of a page that a commit changed, from its image: packed one after
// another when `juntos` (a journal's entry), else in their places (the page in the cache).
bool Paginador::GravarSetores(const AlteracaoPagina& a, std::uint32_t tamanhoPagina, bool juntos) {
  const std::uint64_t base = static_cast<std::uint64_t>(a.numero) * tamanhoPagina;
  std::size_t lidoDeDados = 0;
  for (auto [inicio, quantos] : TrechosDeSetores(a.setores)) {
    const std::uint8_t* origem = a.imagem + (juntos ? lidoDeDados : inicio * kTamanhoSetor);
    if (!Gravar(base + inicio * kTamanhoSetor, origem, quantos * kTamanhoSetor)) return false;
    lidoDeDados += quantos * kTamanhoSetor;
  }
  return true;
}

// The header's sectors from a journal, but the marker being recovered stays in the first:
// the journal's own marker would name less than is still to be written again.
bool Paginador::GravarCabecalhoDoDiario(const AlteracaoPagina& cabecalho, const MarcadorDiario& m) {
  const std::size_t bytes = static_cast<std::size_t>(std::popcount(cabecalho.setores)) * kTamanhoSetor;
  std::vector<std::uint8_t> setores(cabecalho.imagem, cabecalho.imagem + bytes);
  CodificarMarcador(m, setores.data() + kPosMarcador);
  return GravarSetores({0, cabecalho.setores, setores.data()}, kTamanhoSetor, true);
}

// Writes again the sectors of the previous commit's journal, when the marker still names it,
// and of the last commit's, each only if whole, each flushed before what follows; then clears
// the marker. Sectors a commit did not change hold the same bytes before and after it,
// whichever of the two the disk kept. The header ends as the last whole journal left it,
// counter included; with none, the commit never reached its pages and the header in the
// file is whole. Writing again what is already there is harmless, so a recovery cut short
// runs again.
int Paginador::Reaplicar(const MarcadorDiario& m) {
  std::uint8_t campo[4];
  std::size_t lidos = 0;
  if (!arq_.Ler(12, campo, sizeof campo, &lidos) || lidos != sizeof campo) return kErroES;
  ContarLeitura(lidos);
  const std::uint32_t tamanhoPagina = Le32(campo);
  if (!TamanhoPaginaValido(tamanhoPagina)) return kErroES;
  bool reaplicou = false;
  for (std::uint32_t posicao : {m.anterior, m.posicao}) {
    Diario diario;
    if (!LerDiario(posicao, posicao == m.posicao ? m.nonce : m.nonce - 1, tamanhoPagina, &diario)) continue;
    for (const AlteracaoPagina& a : diario.Alteracoes())
      if (!(a.numero == 0 ? GravarCabecalhoDoDiario(a, m) : GravarSetores(a, tamanhoPagina, true))) return kErroES;
    // The last commit may have added pages where the previous journal lies: what that
    // journal brought back must be on the disk before they overwrite it.
    if (!Descarregar()) return kErroES;
    reaplicou = true;
  }
  std::vector<std::uint8_t> cabecalho;
  if (!reaplicou && CabecalhoEmUso(&cabecalho) != kOk) return kErroES;
  return GravarMarcador(Limpo(m)) ? kOk : kErroES;
}

// A format-1 commit cut short, undone as the engine that wrote it undid it: its journal, when
// whole, puts back the pages and then the header as they were, the counter moved to the
// nonce (readers must not take the file for unchanged) and the marker still set; then the
// marker is cleared and the pages the commit added are cut off. A journal not whole was
// written before any page: only the marker goes. Cut short, it runs again.
int Paginador::ReverterFormato1() {
  std::uint8_t prefixo[kTamanhoPrefixo];
  std::size_t lidos = 0;
  if (!arq_.Ler(0, prefixo, sizeof prefixo, &lidos) || lidos != sizeof prefixo) return kErroES;
  ContarLeitura(lidos);
  const MarcadorFormato1 m = DecodificarMarcadorFormato1(prefixo);
  DiarioFormato1 diario;
  const int lido = LerDiarioFormato1(m, &diario);
  if (lido == kErroES) return kErroES;
  const std::uint32_t P = diario.TamanhoPagina();
  if (lido == kOk) {
    const DiarioFormato1::Imagem* cabecalho = nullptr;
    for (const auto& pagina : diario.Paginas()) {
      if (pagina.numero >= m.paginasOriginais) return kErroES;
      if (pagina.numero == 0) cabecalho = &pagina;
    }
    if (cabecalho == nullptr) return kErroES;
    std::vector<std::uint8_t> antigo(cabecalho->dados, cabecalho->dados + kTamanhoCabecalho);
    Cabecalho c;
    if (DecodificarCabecalho(antigo.data(), antigo.size(), &c) != kOk || c.versao != kVersaoFormato1) return kErroES;
    for (const auto& pagina : diario.Paginas())
      if (pagina.numero != 0 && !Gravar(static_cast<std::uint64_t>(pagina.numero) * P, pagina.dados, P))
        return kErroES;
    if (!Descarregar()) return kErroES;
    Grava64(antigo.data() + 16, m.nonce);
    std::memcpy(antigo.data() + kPosMarcador, prefixo + kPosMarcador, 24);
    SelarFormato1(antigo.data());
    if (!Gravar(0, antigo.data(), antigo.size()) || !Descarregar()) return kErroES;
  }
  // The cleared marker of format 1 is that of format 2: every field zero, and the checksum.
  if (!GravarMarcador(MarcadorDiario{})) return kErroES;
  if (lido == kOk) Truncar(static_cast<std::uint64_t>(m.paginasOriginais) * P);
  return Descarregar() ? kOk : kErroES;
}

// kOk with the journal whole, -1 when it is not (or is another commit's), 2 when it could
// not be read.
int Paginador::LerDiarioFormato1(const MarcadorFormato1& m, DiarioFormato1* d) {
  std::uint64_t tamanho = 0;
  if (!arq_.Tamanho(&tamanho)) return kErroES;
  if (m.posicao > tamanho || tamanho - m.posicao < DiarioFormato1::kCabecalho + 4) return -1;
  std::uint8_t cab[DiarioFormato1::kCabecalho];
  std::size_t lidos = 0;
  if (!arq_.Ler(m.posicao, cab, sizeof cab, &lidos) || lidos != sizeof cab) return kErroES;
  ContarLeitura(lidos);
  const std::uint64_t bytes = DiarioFormato1::Tamanho(cab, m);
  if (bytes == 0 || bytes > tamanho - m.posicao) return -1;
  std::vector<std::uint8_t> conteudo(static_cast<std::size_t>(bytes));
  if (!arq_.Ler(m.posicao, conteudo.data(), conteudo.size(), &lidos) || lidos != conteudo.size()) return kErroES;
  ContarLeitura(lidos);
  return d->Decodificar(std::move(conteudo)) ? kOk : -1;
}

void Paginador::Encerrar() {
  if (!pendenteProprio_ || somenteLeitura_) return;
  if (!exclusivo_) arq_.Bloquear(kBloqueioConfirmacao, true, true);
  // Only a whole commit: a header left half written is for the next open to recover.
  MarcadorDiario m;
  std::uint64_t contador = 0;
  std::vector<std::uint8_t> imagem;
  if (LerPrefixo(&m, &contador) == kOk && m.nonce != 0 && m.nonce == contador && CabecalhoEmUso(&imagem) == kOk &&
      Descarregar())
    GravarMarcador(Limpo(m));
  if (!exclusivo_) {
    arq_.Desbloquear(kBloqueioConfirmacao);
    arq_.Desbloquear(kBloqueioPendente);
  }
  pendenteProprio_ = false;
}

// ---- the cache ------------------------------------------------------------------------------

void Paginador::AdotarCopia(CopiaLocal&& copia) {
  if (exclusivo_ || cab_.versao != kVersaoFormato || cab_.marcador.nonce != 0) return;
  if (copia.cabecalho != cabecalhoBruto_ || copia.tamanho != tamanhoLido_ || copia.alteracao != alteracaoLida_ ||
      copia.tamanhoPagina != cab_.tamanhoPagina)
    return;
  for (PaginaCopiada& c : copia.paginas) {
    if (c.numero >= cab_.paginas || cache_.count(c.numero)) continue;
    auto p = std::make_unique<Pagina>();
    p->numero = c.numero;
    p->dados = std::move(c.dados);
    p->blocos = c.blocos;
    cache_.emplace(c.numero, std::move(p));
  }
}

std::optional<CopiaLocal> Paginador::CopiaParaGuardar(const std::string& arquivo) const {
  // Only pages known to be the file as its header was last read: no write of this open, no
  // commit seen after the last read, no commit pending in that header.
  if (exclusivo_ || escreveu_ || !leuPaginas_ || cabecalhoVencido_ || cab_.versao != kVersaoFormato ||
      cab_.marcador.nonce != 0 || cabecalhoBruto_.empty())
    return std::nullopt;
  std::vector<const Pagina*> paginas;
  for (const auto& [numero, p] : cache_)
    if (p->blocos != 0 && !p->suja) paginas.push_back(p.get());
  // The upper tree levels serve every lookup: they go first when the limit leaves some out.
  std::sort(paginas.begin(), paginas.end(), [](const Pagina* a, const Pagina* b) {
    const bool ia = a->dados[0] == kTipoPaginaInterna, ib = b->dados[0] == kTipoPaginaInterna;
    return ia != ib ? ia : a->numero < b->numero;
  });
  CopiaLocal copia{arquivo, cabecalhoBruto_, tamanhoLido_, alteracaoLida_, cab_.tamanhoPagina, {}};
  std::size_t bytes = 0;
  for (const Pagina* p : paginas) {
    bytes += static_cast<std::size_t>(std::popcount(p->blocos)) * kTamanhoBloco;
    if (bytes > kLimiteCopiaLocal) break;
    copia.paginas.push_back(PaginaCopiada{p->numero, p->blocos, p->dados});
  }
  return copia;
}

void Paginador::AjustarCache() {
  if (cache_.size() * cab_.tamanhoPagina <= kLimiteCache || !sujas_.empty()) return;
  cache_.clear();
}

int Paginador::Obter(std::uint32_t numero, Pagina** pagina, bool inteira) {
  ContadoresMotor().paginasVisitadas++;
  Pagina* p = nullptr;
  auto it = cache_.find(numero);
  if (it != cache_.end()) {
    p = it->second.get();
  } else {
    if (numero == 0 || numero >= cab_.paginas) return kErroES;
    auto nova = std::make_unique<Pagina>();
    nova->numero = numero;
    nova->dados.assign(cab_.tamanhoPagina, 0);
    p = nova.get();
    cache_.emplace(numero, std::move(nova));
    ContadoresMotor().paginasLidas++;
  }
  int st = LerTrecho(p, 0, inteira ? p->dados.size() : 1);
  if (st != kOk) {
    if (p->blocos == 0) cache_.erase(numero);
    return st;
  }
  *pagina = p;
  return kOk;
}

int Paginador::LerTrecho(Pagina* p, std::size_t pos, std::size_t n) {
  const std::size_t tamanho = p->dados.size();
  if (pos > tamanho || n > tamanho - pos) return kErroES;
  if (n == 0) return kOk;
  const std::size_t ultimo = (pos + n - 1) / kTamanhoBloco;
  for (std::size_t b = pos / kTamanhoBloco; b <= ultimo;) {
    if (p->blocos >> b & 1) {
      ++b;
      continue;
    }
    std::size_t fim = b + 1;  // one read for a run of missing blocks
    while (fim <= ultimo && !(p->blocos >> fim & 1)) ++fim;
    const std::size_t bytes = (fim - b) * kTamanhoBloco;
    std::size_t lidos = 0;
    if (!arq_.Ler(static_cast<std::uint64_t>(p->numero) * tamanho + b * kTamanhoBloco,
                  p->dados.data() + b * kTamanhoBloco, bytes, &lidos))
      return kErroES;
    ContarLeitura(lidos);
    if (lidos != bytes) return kErroES;
    leuPaginas_ = true;
    for (; b < fim; ++b) p->blocos |= 1ull << b;
  }
  return kOk;
}

int Paginador::ObterParaEscrita(std::uint32_t numero, Pagina** pagina) {
  int st = Obter(numero, pagina, true);
  if (st != kOk) return st;
  Pagina* p = *pagina;
  if (p->suja) {
    if (ponto_.ativo && !ponto_.salvas.count(numero)) ponto_.salvas.emplace(numero, *p);
  } else {
    originais_.emplace(numero, p->dados);
    p->suja = true;
    sujas_.push_back(numero);
  }
  return kOk;
}

int Paginador::Alocar(std::uint32_t* numero, Pagina** pagina) {
  if (cab_.listaLivre != 0) {
    std::uint32_t n = cab_.listaLivre;
    int st = ObterParaEscrita(n, pagina);
    if (st != kOk) return st;
    std::uint32_t prox = Le32((*pagina)->dados.data() + 8);
    if ((*pagina)->dados[0] != kTipoLivre || prox >= cab_.paginas) return kErroES;
    cab_.listaLivre = prox;
    *numero = n;
  } else {
    if (cab_.paginas == 0xFFFFFFFFu) return kDiscoCheio;
    std::uint32_t n = cab_.paginas++;
    auto p = std::make_unique<Pagina>();
    p->numero = n;
    p->dados.assign(cab_.tamanhoPagina, 0);
    p->blocos = TodosOsSetores(cab_.tamanhoPagina);
    p->suja = true;
    *pagina = p.get();
    cache_[n] = std::move(p);
    sujas_.push_back(n);
    *numero = n;
  }
  std::fill((*pagina)->dados.begin(), (*pagina)->dados.end(), 0);
  (*pagina)->validadaPara = 0;
  cabSujo_ = true;
  return kOk;
}

int Paginador::Liberar(std::uint32_t numero) {
  Pagina* p = nullptr;
  int st = ObterParaEscrita(numero, &p);
  if (st != kOk) return st;
  std::fill(p->dados.begin(), p->dados.end(), 0);
  p->dados[0] = kTipoLivre;
  Grava32(p->dados.data() + 8, cab_.listaLivre);
  p->validadaPara = 0;
  cab_.listaLivre = numero;
  cabSujo_ = true;
  return kOk;
}

// ---- commit ---------------------------------------------------------------------------------

void Paginador::MarcarPonto() {
  ponto_ = PontoRetorno{};
  ponto_.ativo = true;
  ponto_.cab = cab_;
  ponto_.cabSujo = cabSujo_;
  ponto_.sujas = sujas_.size();
}

void Paginador::VoltarAoPonto() {
  if (!ponto_.ativo) return;
  // Pages first changed after the point are as in the file; the others as they were then.
  for (std::size_t i = ponto_.sujas; i < sujas_.size(); ++i) {
    cache_.erase(sujas_[i]);
    originais_.erase(sujas_[i]);
  }
  sujas_.resize(ponto_.sujas);
  for (auto& [numero, pagina] : ponto_.salvas) {
    auto it = cache_.find(numero);
    if (it != cache_.end()) *it->second = std::move(pagina);
  }
  cab_ = std::move(ponto_.cab);
  cabSujo_ = ponto_.cabSujo;
  ponto_ = PontoRetorno{};
}

// The journal goes after the last page, clear of the previous commit's journal: a marker
// that still names it may be all the disk holds until this commit's flush, even after the
// marker was cleared in the system's cache.
std::uint32_t Paginador::LocalDoDiario(std::uint32_t paginas, std::uint32_t tamanho) const {
  const MarcadorDiario& anterior = cabOriginal_.marcador;
  const std::uint64_t inicio = paginas, fimAnterior = static_cast<std::uint64_t>(anterior.posicao) + anterior.paginas;
  if (anterior.paginas != 0 && inicio < fimAnterior && anterior.posicao < inicio + tamanho)
    return static_cast<std::uint32_t>(fimAnterior);
  return paginas;
}

// What the commit changes: the header's sectors against the header as it was, and each
// changed page's against its image before this write (all of a page the file did not have).
std::vector<AlteracaoPagina> Paginador::Alteracoes(const std::vector<std::uint8_t>& cabecalhoAntes,
                                                   const std::vector<std::uint8_t>& cabecalhoNovo) const {
  std::vector<AlteracaoPagina> alteracoes;
  alteracoes.push_back({0, SetoresDiferentes(cabecalhoAntes.data(), cabecalhoNovo.data(), kTamanhoCabecalho) | 1,
                        cabecalhoNovo.data()});
  for (std::uint32_t numero : sujas_) {
    const Pagina& p = *cache_.at(numero);
    auto original = originais_.find(numero);
    const std::uint64_t setores = original == originais_.end()
                                      ? TodosOsSetores(p.dados.size())
                                      : SetoresDiferentes(original->second.data(), p.dados.data(), p.dados.size());
    if (setores != 0) alteracoes.push_back({numero, setores, p.dados.data()});
  }
  return alteracoes;
}

// Whether the commit changes a page other than a leaf that stays a leaf.
bool Paginador::MudaEstrutura() const {
  for (std::uint32_t numero : sujas_) {
    auto original = originais_.find(numero);
    if (original == originais_.end() || original->second[0] != kTipoFolha || cache_.at(numero)->dados[0] != kTipoFolha)
      return true;
  }
  return false;
}

// The pages first, the header last: its counter tells readers that the pages are all there.
int Paginador::GravarEmLugar(const std::vector<AlteracaoPagina>& alteracoes) {
  for (std::size_t i = 1; i < alteracoes.size(); ++i)
    if (!GravarSetores(alteracoes[i], cab_.tamanhoPagina, false)) return kErroES;
  return GravarSetores(alteracoes[0], cab_.tamanhoPagina, false) ? kOk : kErroES;
}

// A format-1 file's first sector with the version and the marker of format 2: one sector
// write turns the file into format 2, a commit writing its pages.
bool Paginador::GravarVersaoEMarcador(const std::vector<std::uint8_t>& cabecalhoAntes, const MarcadorDiario& m) {
  std::vector<std::uint8_t> setor(cabecalhoAntes.begin(), cabecalhoAntes.begin() + kTamanhoSetor);
  Grava32(setor.data() + 8, kVersaoFormato);
  CodificarMarcador(m, setor.data() + kPosMarcador);
  return Gravar(0, setor.data(), setor.size());
}

// One flush per commit: the journal and the marker naming it reach the disk before any page
// is written in place; the pages then need no flush of their own, since the next commit's
// flush (or the one at close) carries them, and until then the marker keeps this journal.
// The first commit on a format-1 file turns it into format 2: its journal holds the header's
// sectors as format 2 has them, and is flushed before the first sector says format 2.
int Paginador::Confirmar() {
  if (sujas_.empty() && !cabSujo_) return kOk;
  if (!pendenteProprio_ && !exclusivo_ && !arq_.Bloquear(kBloqueioPendente, false, true)) return kErroES;
  pendenteProprio_ = true;
  const std::uint32_t P = cab_.tamanhoPagina;
  const bool converte = cabOriginal_.versao == kVersaoFormato1;
  Cabecalho novo = cab_;
  novo.versao = kVersaoFormato;
  novo.marcador.formato1 = false;
  novo.contador = cabOriginal_.contador + 1;
  if (MudaEstrutura()) ++novo.estrutura;
  std::vector<std::uint8_t> antes(kTamanhoCabecalho), depois(kTamanhoCabecalho);
  if (!converte) {
    cabOriginal_.Codificar(antes.data());
  } else if (CabecalhoEmUso(&antes) != kOk) {
    Descartar();
    return kErroES;
  }
  novo.Codificar(depois.data());
  std::vector<AlteracaoPagina> alteracoes = Alteracoes(antes, depois);
  // The marker lies in the header's first sector, always written: setting it changes
  // neither the journal's length nor its sectors.
  novo.marcador.nonce = novo.contador;
  novo.marcador.paginas = static_cast<std::uint32_t>((Diario::TamanhoPara(alteracoes) + P - 1) / P);
  novo.marcador.posicao = LocalDoDiario(novo.paginas, novo.marcador.paginas);
  novo.marcador.anterior = cabOriginal_.marcador.nonce != 0 ? cabOriginal_.marcador.posicao : 0;
  novo.Codificar(depois.data());
  const std::vector<std::uint8_t> diario = Diario::Montar(novo.contador, P, alteracoes);

  if (!exclusivo_) arq_.Bloquear(kBloqueioConfirmacao, true, true);
  int st = kOk;
  if (!Gravar(static_cast<std::uint64_t>(novo.marcador.posicao) * P, diario.data(), diario.size()) ||
      !(converte ? Descarregar() && GravarVersaoEMarcador(antes, novo.marcador) : GravarMarcador(novo.marcador)) ||
      !Descarregar()) {
    // Nothing was written in place: the old marker (or first sector) keeps the file as it was.
    if (converte) Gravar(0, antes.data(), kTamanhoSetor);
    else GravarMarcador(cabOriginal_.marcador);
    st = kDiscoCheio;
  } else if ((st = GravarEmLugar(alteracoes)) != kOk) {
    cache_.clear();  // the journal is whole: the next call recovers the commit
  }
  if (st == kOk) {
    cab_ = novo;
    cabOriginal_ = cab_;
    for (auto n : sujas_) cache_.at(n)->suja = false;
    sujas_.clear();
    originais_.clear();
    cabSujo_ = false;
    ponto_ = PontoRetorno{};
  } else {
    Descartar();
  }
  if (!exclusivo_) arq_.Desbloquear(kBloqueioConfirmacao);
  return st;
}

void Paginador::Descartar() {
  for (auto n : sujas_) cache_.erase(n);
  sujas_.clear();
  originais_.clear();
  cab_ = cabOriginal_;
  cabSujo_ = false;
  ponto_ = PontoRetorno{};
}

// ---- record locks ---------------------------------------------------------------------------

bool Paginador::BloquearRegistro(std::uint32_t id, bool esperar) {
  int esperado = 0;
  while (!arq_.Bloquear(kBloqueioRegistros + id, true, false)) {
    if (!esperar || esperado > kEsperaMaximaMs * 1000) return false;
    ArquivoSO::Pausar(1000);
    esperado += 1000;
  }
  return true;
}

void Paginador::DesbloquearRegistro(std::uint32_t id) { arq_.Desbloquear(kBloqueioRegistros + id); }

}  // namespace tavoran::motor
