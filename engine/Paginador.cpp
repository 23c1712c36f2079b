#include "engine/Paginador.h"

#include <cstdlib>
#include <cstring>

#include "engine/Bytes.h"
#include "engine/Contadores.h"
#include "engine/Crc32.h"
#include "engine/Status.h"
#ifdef TAV_MOTOR_TESTES
#include "engine/InjecaoFalhas.h"
#endif

namespace tavoran::motor {

namespace {
constexpr char kAssinaturaDiario[8] = {'T', 'A', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t kCabecalhoDiario = 32;
constexpr std::size_t kLimiteCache = 64u << 20;
constexpr int kEsperaMaximaMs = 20000;
// The first read of a header covers magic to the segments of up to 28 key segments.
constexpr std::size_t kLeituraCabecalho = 1280;
static_assert(kLeituraCabecalho >= kTamanhoPrefixo && kLeituraCabecalho < kTamanhoCabecalho - 4);
static_assert(32768 / kTamanhoBloco <= 64, "a page's blocks fit the mask");

void ContarLeitura(std::size_t lidos) {
  ContadoresMotor().bytesLidos += lidos;
  ContadoresMotor().leituras++;
}

std::uint64_t TodosOsBlocos(std::size_t tamanhoPagina) {
  const std::size_t n = tamanhoPagina / kTamanhoBloco;
  return n >= 64 ? ~0ull : (1ull << n) - 1;
}

bool SincronizarPorAmbiente() {
  const char* v = std::getenv("TAV_BTRIEVE_SINCRONIZAR");
  return v != nullptr && v[0] == '1';
}
}  // namespace

Paginador::Paginador(ArquivoSO& arquivo, bool exclusivo)
    : arq_(arquivo), exclusivo_(exclusivo), sincronizar_(SincronizarPorAmbiente()) {}

bool Paginador::Gravar(std::uint64_t pos, const void* dados, std::size_t n) {
#ifdef TAV_MOTOR_TESTES
  injecao::Gravando(arq_, pos, dados, n);
#endif
  return arq_.Gravar(pos, dados, n);
}

int Paginador::LerPrefixo(MarcadorDiario* marcador, std::uint64_t* contador) {
  std::uint8_t buf[kTamanhoPrefixo];
  std::size_t lidos = 0;
  if (!arq_.Ler(0, buf, sizeof buf, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos < 8 || std::memcmp(buf, kAssinatura, 8) != 0) return kNaoEArquivoBtrieve;
  if (lidos < sizeof buf || !DecodificarMarcador(buf, marcador, contador)) return kErroES;
  return kOk;
}

int Paginador::LerCabecalho() {
  // The used part (one read up to kLeituraCabecalho, a second for keys with more
  // segments) and the checksum; the zeros between them are taken as read.
  std::vector<std::uint8_t> buf(kTamanhoCabecalho, 0);
  std::size_t lidos = 0;
  if (!arq_.Ler(0, buf.data(), kLeituraCabecalho, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos < 8 || std::memcmp(buf.data(), kAssinatura, 8) != 0) return kNaoEArquivoBtrieve;
  if (lidos < kLeituraCabecalho) return kErroES;
  // The marker first: an interrupted commit may have left the header itself half written.
  MarcadorDiario marcador;
  std::uint64_t contador = 0;
  if (!DecodificarMarcador(buf.data(), &marcador, &contador)) return kErroES;
  if (marcador.nonce != 0) return -1;
  const std::uint16_t segmentos = Le16(buf.data() + 70);
  if (segmentos > kMaxSegmentos) return kErroES;
  const std::size_t usado = TamanhoUsadoCabecalho(segmentos);
  if (usado > kLeituraCabecalho) {
    if (!arq_.Ler(kLeituraCabecalho, buf.data() + kLeituraCabecalho, usado - kLeituraCabecalho, &lidos))
      return kErroES;
    ContarLeitura(lidos);
    if (lidos != usado - kLeituraCabecalho) return kErroES;
  }
  if (!arq_.Ler(kTamanhoCabecalho - 4, buf.data() + kTamanhoCabecalho - 4, 4, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos != 4) return kErroES;
  Cabecalho novo;
  int st = DecodificarCabecalho(buf.data(), buf.size(), &novo);
  if (st != kOk) return st;
  std::uint64_t tamanho = 0;
  if (!arq_.Tamanho(&tamanho)) return kErroES;
  if (tamanho < static_cast<std::uint64_t>(novo.paginas) * novo.tamanhoPagina) return kErroES;  // truncated file
  cab_ = std::move(novo);
  cabOriginal_ = cab_;
  cache_.clear();
  return kOk;
}

int Paginador::Carregar() {
  int st = LerCabecalho();
  if (st == kOk || st == kNaoEArquivoBtrieve) return st;
  if (exclusivo_) return st == -1 ? Recuperar() : st;
  // Read while a commit was writing the header, or left by a writer that died: again,
  // with commits held off. A marker still set then belongs to an interrupted commit.
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
  if (!arq_.Truncar(0) || !arq_.Gravar(0, pagina.data(), pagina.size())) return kErroCriacao;
  if (sincronizar_) arq_.Sincronizar();
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
  if (m.nonce != 0) return -1;  // an interrupted commit must be rolled back first
  if (contador == cab_.contador) return kOk;
  return LerCabecalho();
}

int Paginador::IniciarLeitura(bool otimista) {
  leituraAtiva_ = false;
  leituraOtimista_ = false;
  if (exclusivo_ || escritaAtiva_) return kOk;
  if (otimista) {
    MarcadorDiario m;
    std::uint64_t contador = 0;
    if (LerPrefixo(&m, &contador) == kOk && m.nonce == 0 &&
        (contador == cab_.contador || LerCabecalho() == kOk)) {
      leituraOtimista_ = true;
      lidasDoArquivo_ = 0;
      AjustarCache();
      return kOk;
    }
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
  if (lidasDoArquivo_ == 0) return true;  // all from a cache that matched the committed header
  MarcadorDiario m;
  std::uint64_t contador = 0;
  if (LerPrefixo(&m, &contador) == kOk && m.nonce == 0 && contador == cab_.contador) return true;
  cache_.clear();
  cab_.contador = ~0ull;  // forces the header to be read again
  return false;
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
}

// Rolls back a commit that a dead process left half done. Takes the writer lock itself
// unless this open already holds it.
int Paginador::Recuperar() {
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
  if (st == kOk && m.nonce != 0) st = RolarDiario(m);
  if (st == kOk) st = LerCabecalho();
  if (!exclusivo_) arq_.Desbloquear(kBloqueioConfirmacao);
  if (tomouEscrita) arq_.Desbloquear(kBloqueioEscrita);
  return st;
}

// A marker whose journal is incomplete was written before any page (the journal and the
// marker are flushed together before the pages): the commit never began, the marker goes.
int Paginador::DescartarMarcador() {
  std::uint8_t limpo[24];
  CodificarMarcador(MarcadorDiario{}, limpo);
  if (!arq_.Gravar(24, limpo, sizeof limpo)) return kErroES;
  if (sincronizar_) arq_.Sincronizar();
  return kOk;
}

int Paginador::RolarDiario(const MarcadorDiario& m) {
  std::uint64_t tamanho = 0;
  if (!arq_.Tamanho(&tamanho)) return kErroES;
  if (m.posicao + kCabecalhoDiario + 4 > tamanho || m.posicao > tamanho) return DescartarMarcador();
  std::uint8_t cabDiario[kCabecalhoDiario];
  std::size_t lidos = 0;
  if (!arq_.Ler(m.posicao, cabDiario, sizeof cabDiario, &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos != sizeof cabDiario) return DescartarMarcador();
  std::uint32_t quantas = Le32(cabDiario + 16), tamPagina = Le32(cabDiario + 20);
  if (std::memcmp(cabDiario, kAssinaturaDiario, 8) != 0 || Le64(cabDiario + 8) != m.nonce ||
      Le32(cabDiario + 24) != m.paginasOriginais || tamPagina < kTamanhoCabecalho || tamPagina > 32768)
    return DescartarMarcador();
  std::uint64_t corpo = static_cast<std::uint64_t>(quantas) * (4 + tamPagina);
  if (m.posicao + kCabecalhoDiario + corpo + 4 > tamanho) return DescartarMarcador();
  std::vector<std::uint8_t> diario(kCabecalhoDiario + corpo + 4);
  if (!arq_.Ler(m.posicao, diario.data(), diario.size(), &lidos)) return kErroES;
  ContarLeitura(lidos);
  if (lidos != diario.size() || Crc32(diario.data(), diario.size() - 4) != Le32(diario.data() + diario.size() - 4))
    return DescartarMarcador();
  // Every page but the header first; the header, then the cleared marker, end the recovery.
  const std::uint8_t* zero = nullptr;
  for (std::uint32_t i = 0; i < quantas; ++i) {
    const std::uint8_t* e = diario.data() + kCabecalhoDiario + i * (4 + static_cast<std::uint64_t>(tamPagina));
    std::uint32_t numero = Le32(e);
    if (numero >= m.paginasOriginais) return kErroES;
    if (numero == 0) {
      zero = e + 4;
      continue;
    }
    if (!arq_.Gravar(static_cast<std::uint64_t>(numero) * tamPagina, e + 4, tamPagina)) return kErroES;
  }
  if (zero == nullptr) return kErroES;
  if (sincronizar_) arq_.Sincronizar();
  // The restored header keeps the marker until the pages are back; then the marker goes.
  // Its counter moves past the one it had, so that no reader takes it for unchanged.
  Cabecalho restaurado;
  if (DecodificarCabecalho(zero, kTamanhoCabecalho, &restaurado) != kOk) return kErroES;
  restaurado.contador = m.nonce;
  restaurado.marcador = m;
  std::vector<std::uint8_t> cab(kTamanhoCabecalho);
  restaurado.Codificar(cab.data());
  if (!arq_.Gravar(0, cab.data(), cab.size())) return kErroES;
  if (sincronizar_) arq_.Sincronizar();
  std::uint8_t limpo[24];
  CodificarMarcador(MarcadorDiario{}, limpo);
  if (!arq_.Gravar(24, limpo, sizeof limpo)) return kErroES;
  arq_.Truncar(static_cast<std::uint64_t>(m.paginasOriginais) * tamPagina);
  if (sincronizar_) arq_.Sincronizar();
  return kOk;
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
    ++lidasDoArquivo_;
    if (lidos != bytes) return kErroES;
    for (; b < fim; ++b) p->blocos |= 1ull << b;
  }
  return kOk;
}

int Paginador::ObterParaEscrita(std::uint32_t numero, Pagina** pagina) {
  int st = Obter(numero, pagina, true);
  if (st != kOk) return st;
  if (!(*pagina)->suja) {
    if (numero < cabOriginal_.paginas && !originais_.count(numero)) originais_.emplace(numero, (*pagina)->dados);
    (*pagina)->suja = true;
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
    if ((*pagina)->dados[0] != 3 || prox >= cab_.paginas) return kErroES;
    cab_.listaLivre = prox;
    *numero = n;
  } else {
    if (cab_.paginas == 0xFFFFFFFFu) return kDiscoCheio;
    std::uint32_t n = cab_.paginas++;
    auto p = std::make_unique<Pagina>();
    p->numero = n;
    p->dados.assign(cab_.tamanhoPagina, 0);
    p->blocos = TodosOsBlocos(cab_.tamanhoPagina);
    p->suja = true;
    *pagina = p.get();
    cache_[n] = std::move(p);
    sujas_.push_back(n);
    *numero = n;
  }
  std::fill((*pagina)->dados.begin(), (*pagina)->dados.end(), 0);
  (*pagina)->validada = false;
  cabSujo_ = true;
  return kOk;
}

int Paginador::Liberar(std::uint32_t numero) {
  Pagina* p = nullptr;
  int st = ObterParaEscrita(numero, &p);
  if (st != kOk) return st;
  std::fill(p->dados.begin(), p->dados.end(), 0);
  p->dados[0] = 3;
  Grava32(p->dados.data() + 8, cab_.listaLivre);
  p->validada = false;
  cab_.listaLivre = numero;
  cabSujo_ = true;
  return kOk;
}

int Paginador::Confirmar() {
  if (sujas_.empty() && !cabSujo_) return kOk;
  const std::uint32_t P = cab_.tamanhoPagina;
  // Journal: the original image of every page this write changed, and the original header.
  const std::size_t quantas = originais_.size() + 1;
  const std::size_t fimDados = kCabecalhoDiario + quantas * (4 + static_cast<std::size_t>(P));
  std::vector<std::uint8_t> diario(fimDados + 4, 0);
  std::memcpy(diario.data(), kAssinaturaDiario, 8);
  std::uint64_t nonce = cabOriginal_.contador + 1;
  Grava64(diario.data() + 8, nonce);
  Grava32(diario.data() + 16, static_cast<std::uint32_t>(quantas));
  Grava32(diario.data() + 20, P);
  Grava32(diario.data() + 24, cabOriginal_.paginas);
  std::uint8_t* entrada = diario.data() + kCabecalhoDiario;
  Grava32(entrada, 0);
  cabOriginal_.Codificar(entrada + 4);
  entrada += 4 + P;
  for (const auto& [numero, imagem] : originais_) {
    Grava32(entrada, numero);
    std::memcpy(entrada + 4, imagem.data(), P);
    entrada += 4 + P;
  }
  Grava32(diario.data() + fimDados, Crc32(diario.data(), fimDados));

  MarcadorDiario m;
  m.nonce = nonce;
  m.posicao = static_cast<std::uint64_t>(std::max(cab_.paginas, cabOriginal_.paginas)) * P;
  m.paginasOriginais = cabOriginal_.paginas;
  std::uint8_t marcador[24];
  CodificarMarcador(m, marcador);

  if (!exclusivo_) arq_.Bloquear(kBloqueioConfirmacao, true, true);
  // With synchronisation, three flushes order the commit: journal and marker before any
  // page, pages and header before the marker is cleared, and the cleared marker.
  bool ok = Gravar(m.posicao, diario.data(), diario.size());
  if (ok) ok = Gravar(24, marcador, sizeof marcador);
  if (ok && sincronizar_) ok = arq_.Sincronizar();
  for (std::size_t i = 0; ok && i < sujas_.size(); ++i) {
    auto it = cache_.find(sujas_[i]);
    if (it == cache_.end() || !it->second->suja) continue;
    ok = Gravar(static_cast<std::uint64_t>(sujas_[i]) * P, it->second->dados.data(), P);
  }
  // The new header still carries the marker: a header write cut short is rolled back.
  // Clearing the marker on its own is the commit point.
  Cabecalho novo = cab_;
  novo.contador = nonce;
  novo.marcador = m;
  std::vector<std::uint8_t> cabNovo(kTamanhoCabecalho);
  novo.Codificar(cabNovo.data());
  if (ok) ok = Gravar(0, cabNovo.data(), cabNovo.size());
  if (ok && sincronizar_) ok = arq_.Sincronizar();
  novo.marcador = MarcadorDiario{};
  std::uint8_t limpo[24];
  CodificarMarcador(novo.marcador, limpo);
  if (ok) ok = Gravar(24, limpo, sizeof limpo);
  if (ok && sincronizar_) ok = arq_.Sincronizar();
  int st = kOk;
  if (!ok) {
    // Put the file back as it was, from the journal just written.
    st = RolarDiario(m) == kOk ? kDiscoCheio : kErroES;
    Descartar();
    cache_.clear();
  } else {
    cab_ = novo;
    cabOriginal_ = cab_;
    for (auto n : sujas_) {
      auto it = cache_.find(n);
      if (it != cache_.end()) it->second->suja = false;
    }
    sujas_.clear();
    originais_.clear();
    cabSujo_ = false;
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
}

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

bool Paginador::RegistroBloqueadoPorOutro(std::uint32_t id) {
  return arq_.BloqueadoPorOutro(kBloqueioRegistros + id);
}

}  // namespace tavoran::motor
