#include "engine/ArquivoBtrieve.h"

#include <algorithm>
#include <cstring>

#include "engine/Bytes.h"
#include "engine/Status.h"

namespace tavoran::motor {

namespace {
constexpr std::size_t kTamId = 4;

// Internal page size: at least three records fit in a leaf of the data tree.
std::uint32_t PaginaInterna(std::uint16_t tamanhoRegistro) {
  std::uint32_t p = 4096;
  while (3 * (tamanhoRegistro + kTamId) > p - 16) p *= 2;
  return p;
}

std::int64_t InteiroLe(const std::uint8_t* p, std::size_t n) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < n && i < 8; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  if (n < 8 && n > 0 && (p[n - 1] & 0x80)) v |= ~0ull << (8 * n);
  return static_cast<std::int64_t>(v);
}

int CompararSegmento(const Segmento& s, const std::uint8_t* a, const std::uint8_t* b) {
  int c = 0;
  std::size_t n = s.tamanho;
  if ((s.tipo == kTipoInteiro || s.tipo == kTipoAutoIncremento) && (n == 1 || n == 2 || n == 4 || n == 8)) {
    std::int64_t x = InteiroLe(a, n), y = InteiroLe(b, n);
    c = x < y ? -1 : (x > y ? 1 : 0);
  } else if (s.tipo == kTipoBinarioSemSinal) {
    for (std::size_t i = n; i-- > 0 && c == 0;) c = a[i] < b[i] ? -1 : (a[i] > b[i] ? 1 : 0);
  } else {
    c = std::memcmp(a, b, n);
  }
  return (s.flags & kFlagDescendente) ? -c : c;
}

// Reads one key (its segments up to the one without the segmented flag) of a specification.
int LerChave(const std::uint8_t* espec, std::uint32_t tamanho, std::size_t* pos, std::uint16_t tamanhoRegistro,
             int* segmentosUsados, Chave* chave) {
  for (;;) {
    if (*segmentosUsados >= kMaxSegmentos) return kNumeroChaves;
    if (*pos + 16 > tamanho) return kTamanhoBufferDados;
    const std::uint8_t* e = espec + *pos;
    Segmento s;
    s.posicao = Le16(e);
    s.tamanho = Le16(e + 2);
    s.flags = Le16(e + 4);
    s.tipo = (s.flags & kFlagEstendida) ? e[10] : ((s.flags & kFlagBinaria) ? kTipoBinarioSemSinal : kTipoTexto);
    s.nulo = e[11];
    s.flags = static_cast<std::uint16_t>((s.flags | kFlagEstendida) & ~kFlagBinaria);
    *pos += 16;
    ++*segmentosUsados;
    if (s.tamanho == 0 || s.tamanho > 255) return kTamanhoChave;
    if (s.posicao == 0 || s.posicao + s.tamanho - 1 > tamanhoRegistro) return kPosicaoChave;
    if (s.tipo == kTipoAutoIncremento && s.tamanho != 2 && s.tamanho != 4 && s.tamanho != 8) return kTamanhoChave;
    if (!chave->segmentos.empty() &&
        (chave->Flags() & (kFlagDuplicada | kFlagModificavel)) != (s.flags & (kFlagDuplicada | kFlagModificavel)))
      return kFlagsChaveInconsistentes;
    chave->segmentos.push_back(s);
    if (chave->Tamanho() > 255) return kTamanhoChave;
    if (!(s.flags & kFlagSegmentada)) return kOk;
  }
}

}  // namespace

int ComparadorId::Comparar(const std::uint8_t* a, const std::uint8_t* b) const { return std::memcmp(a, b, kTamId); }

int ComparadorChave::CompararValor(const std::uint8_t* a, const std::uint8_t* b) const {
  std::size_t pos = 0;
  for (const auto& s : chave_->segmentos) {
    int c = CompararSegmento(s, a + pos, b + pos);
    if (c != 0) return c;
    pos += s.tamanho;
  }
  return 0;
}

int ComparadorChave::Comparar(const std::uint8_t* a, const std::uint8_t* b) const {
  int c = CompararValor(a, b);
  if (c != 0) return c;
  std::size_t t = chave_->Tamanho();
  return std::memcmp(a + t, b + t, kTamId);
}

// ---- creation and opening ----------------------------------------------------------------

int ArquivoBtrieve::Criar(const std::string& caminho, const std::uint8_t* espec, std::uint32_t tamanho,
                          bool substituir) {
  if (caminho.empty()) return kNomeArquivoInvalido;
  if (espec == nullptr || tamanho < 16) return kTamanhoBufferDados;
  Cabecalho cab;
  cab.tamanhoRegistro = Le16(espec);
  cab.paginaBtrieve = Le16(espec + 2);
  std::uint16_t nChaves = Le16(espec + 4);
  cab.flagsArquivo = Le16(espec + 10);
  if (cab.tamanhoRegistro < 1 || cab.tamanhoRegistro > kMaxRegistro) return kTamanhoRegistro;
  if (cab.paginaBtrieve < 512 || cab.paginaBtrieve > 16384 || cab.paginaBtrieve % 512 != 0) return kTamanhoPagina;
  if (nChaves > kMaxChaves) return kNumeroChaves;
  std::size_t pos = 16;
  int segmentos = 0;
  for (std::uint16_t k = 0; k < nChaves; ++k) {
    Chave ch;
    int st = LerChave(espec, tamanho, &pos, cab.tamanhoRegistro, &segmentos, &ch);
    if (st != kOk) return st;
    cab.chaves.push_back(std::move(ch));
  }
  cab.tamanhoPagina = PaginaInterna(cab.tamanhoRegistro);
  ArquivoSO arq;
  ResultadoAbertura r = arq.Abrir(caminho, substituir ? Criacao::Substituir : Criacao::Nova, true);
  switch (r) {
    case ResultadoAbertura::Ok:
      break;
    case ResultadoAbertura::JaExiste:
      return kArquivoJaExiste;
    case ResultadoAbertura::EmUsoExclusivo:
      return kModoIncompativel;
    case ResultadoAbertura::NaoExiste:
      return kArquivoNaoEncontrado;
    case ResultadoAbertura::SemAcesso:
      return kAcessoNegado;
    default:
      return kErroCriacao;
  }
  Paginador pg(arq, true, false);
  return pg.Formatar(cab);
}

int ArquivoBtrieve::Abrir(const std::string& caminho, int modo, const std::string& proprietario, bool copiaLocal) {
  if (caminho.empty()) return kNomeArquivoInvalido;
  if (modo > 0 || modo < -4) return kOperacaoInvalida;
  bool exclusivo = modo == -4;
  ResultadoAbertura aberto = arq_.Abrir(caminho, Criacao::Existente, exclusivo);
  // A file the user may only read still opens in read-only mode.
  const bool semEscrita = aberto == ResultadoAbertura::SemAcesso && modo == -2;
  if (semEscrita) aberto = arq_.Abrir(caminho, Criacao::Existente, false, true);
  switch (aberto) {
    case ResultadoAbertura::Ok:
      break;
    case ResultadoAbertura::NaoExiste:
      return kArquivoNaoEncontrado;
    case ResultadoAbertura::EmUsoExclusivo:
      return kModoIncompativel;
    case ResultadoAbertura::SemAcesso:
      return kAcessoNegado;
    default:
      return kArquivoNaoEncontrado;
  }
  pg_ = std::make_unique<Paginador>(arq_, exclusivo, semEscrita);
  int st = pg_->Carregar();
  if (st != kOk) {
    Fechar();
    return st;
  }
  pastaCopias_ = copiaLocal && !exclusivo ? PastaCopiasLocais() : std::nullopt;
  if (pastaCopias_) {
    if (std::optional<CopiaLocal> copia = LerCopiaLocal(*pastaCopias_, caminho)) pg_->AdotarCopia(std::move(*copia));
  }
  somenteLeitura_ = modo == -2;
  const Cabecalho& cab = pg_->Cab();
  donoVerificado_ = !cab.temProprietario || proprietario == cab.proprietario;
  if (!donoVerificado_) {
    if (cab.modoProprietario == 1 || cab.modoProprietario == 3) {
      somenteLeitura_ = true;
    } else {
      Fechar();
      return kProprietarioInvalido;
    }
  }
  return kOk;
}

void ArquivoBtrieve::Fechar() {
  if (pg_) {
    if (pg_->EscritaAtiva()) {
      pg_->Descartar();
      pg_->FimEscrita();
    }
    if (pastaCopias_) {
      if (std::optional<CopiaLocal> copia = pg_->CopiaParaGuardar(arq_.Caminho()))
        GravarCopiaLocal(*pastaCopias_, *copia);
    }
    pg_->Encerrar();
  }
  pg_.reset();
  pastaCopias_.reset();
  arq_.Fechar();  // closing the descriptor releases every lock of this open
  bloqueioSimples_ = 0;
  bloqueiosMultiplos_.clear();
  cursor_ = Cursor{};
}

// ---- helpers ------------------------------------------------------------------------------

ArvoreB ArquivoBtrieve::ArvoreDados(const ComparadorId& cmp) {
  return ArvoreB(*pg_, &pg_->Cab().raizDados, cmp, kTamId + pg_->Cab().tamanhoRegistro, kTamId);
}

std::vector<std::uint8_t> ArquivoBtrieve::ExtrairChave(const Chave& ch, const std::uint8_t* registro) const {
  std::vector<std::uint8_t> v;
  v.reserve(ch.Tamanho() + kTamId);
  for (const auto& s : ch.segmentos) v.insert(v.end(), registro + s.posicao - 1, registro + s.posicao - 1 + s.tamanho);
  return v;
}

std::vector<std::uint8_t> ArquivoBtrieve::EntradaIndice(const Chave& ch, const std::uint8_t* registro,
                                                        std::uint32_t id) const {
  std::vector<std::uint8_t> v = ExtrairChave(ch, registro);
  v.resize(v.size() + kTamId);
  GravaId(v.data() + v.size() - kTamId, id);
  return v;
}

int ArquivoBtrieve::LerRegistro(std::uint32_t id, std::vector<std::uint8_t>* registro) {
  ComparadorId cmp;
  ArvoreB dados = ArvoreDados(cmp);
  std::uint8_t sonda[kTamId];
  GravaId(sonda, id);
  std::vector<std::uint8_t> entrada;
  int st = dados.Buscar(Busca::MaiorIgual, sonda, &entrada);
  if (st == kFimDeArquivo || (st == kOk && LeId(entrada.data()) != id)) return kEnderecoRegistroInvalido;
  if (st != kOk) return st;
  registro->assign(entrada.begin() + kTamId, entrada.end());
  return kOk;
}

int ArquivoBtrieve::ExisteValor(std::size_t k, const std::vector<std::uint8_t>& valor, std::uint32_t ignorarId,
                                bool* existe) {
  Chave& ch = pg_->Cab().chaves[k];
  ComparadorChave cmp(ch);
  ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
  std::vector<std::uint8_t> sonda(valor.begin(), valor.begin() + ch.Tamanho());
  sonda.resize(ch.Tamanho() + kTamId, 0);
  std::vector<std::uint8_t> achada;
  *existe = false;
  for (;;) {
    int st = indice.Buscar(Busca::MaiorIgual, sonda.data(), &achada);
    if (st == kFimDeArquivo) return kOk;
    if (st != kOk) return st;
    if (cmp.CompararValor(achada.data(), sonda.data()) != 0) return kOk;
    if (LeId(achada.data() + ch.Tamanho()) != ignorarId) {
      *existe = true;
      return kOk;
    }
    std::copy(achada.begin(), achada.end(), sonda.begin());
    std::uint32_t prox = LeId(achada.data() + ch.Tamanho()) + 1;
    if (prox == 0) return kOk;
    GravaId(sonda.data() + ch.Tamanho(), prox);
  }
}

// A zero autoincrement value takes the highest value of the key plus one.
int ArquivoBtrieve::AtribuirAutoIncremento(std::uint8_t* registro) {
  for (auto& ch : pg_->Cab().chaves) {
    if (!ch.AutoIncremento()) continue;
    const Segmento& s = ch.segmentos[0];
    std::uint8_t* campo = registro + s.posicao - 1;
    if (InteiroLe(campo, s.tamanho) != 0) continue;
    ComparadorChave cmp(ch);
    ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
    std::vector<std::uint8_t> ultima;
    int st = indice.Buscar(Busca::Ultimo, nullptr, &ultima);
    std::int64_t valor = 1;
    if (st == kOk) valor = InteiroLe(ultima.data(), s.tamanho) + 1;
    else if (st != kFimDeArquivo) return st;
    if (valor < 1) valor = 1;
    for (std::size_t i = 0; i < s.tamanho; ++i) campo[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(valor) >> (8 * i));
  }
  return kOk;
}

int ArquivoBtrieve::ChaveValida(int numeroChave) const {
  if (numeroChave < 0 || numeroChave >= static_cast<int>(pg_->Cab().chaves.size())) return kNumeroChaveInvalido;
  return kOk;
}

bool ArquivoBtrieve::BloqueadoPorMim(std::uint32_t id) const {
  return id != 0 && (bloqueioSimples_ == id || bloqueiosMultiplos_.count(id) != 0 || bloqueiosEscrita_.count(id) != 0);
}

void ArquivoBtrieve::SoltarSeLivre(std::uint32_t id) {
  if (!BloqueadoPorMim(id)) pg_->DesbloquearRegistro(id);
}

void ArquivoBtrieve::LiberarBloqueioSimples() {
  const std::uint32_t id = bloqueioSimples_;
  bloqueioSimples_ = 0;
  if (id != 0) SoltarSeLivre(id);
}

void ArquivoBtrieve::LiberarBloqueiosEscrita() {
  const std::set<std::uint32_t> ids = std::move(bloqueiosEscrita_);
  bloqueiosEscrita_.clear();
  for (std::uint32_t id : ids) SoltarSeLivre(id);
}

// Lock biases: 100/200 single record (wait / no wait), 300/400 multiple records.
int ArquivoBtrieve::AplicarBloqueio(int vies, std::uint32_t id, bool* esperar) {
  *esperar = false;
  if (vies == 0) return kOk;
  bool multiplo = vies == 300 || vies == 400;
  if (!BloqueadoPorMim(id)) {
    if (!pg_->BloquearRegistro(id, false)) {
      *esperar = vies == 100 || vies == 300;
      return kRegistroEmUso;
    }
  }
  if (multiplo) {
    bloqueiosMultiplos_.insert(id);
  } else {
    if (bloqueioSimples_ != id) LiberarBloqueioSimples();
    bloqueioSimples_ = id;
  }
  return kOk;
}

int ArquivoBtrieve::LerComVies(int vies, bool otimista, const std::function<int(std::uint32_t*)>& ler) {
  for (int tentativa = 0; tentativa < 1000; ++tentativa) {
    // Locking reads take the read lock, so that no commit comes between the read and the lock.
    int st = pg_->IniciarLeitura(otimista && vies == 0 && tentativa < 3);
    if (st != kOk) return st;
    std::uint32_t id = 0;
    st = ler(&id);
    bool esperar = false;
    if (st == kOk) st = AplicarBloqueio(vies, id, &esperar);
    if (!pg_->FimLeitura()) continue;  // a commit overtook this read: read again
    if (st != kRegistroEmUso || !esperar) return st;
    // Wait outside the read lock, so that the holder can commit and unlock.
    if (!pg_->BloquearRegistro(id, true)) return kRegistroEmUso;
    pg_->DesbloquearRegistro(id);
  }
  return kRegistroEmUso;
}

int ArquivoBtrieve::ReservarRegistro(std::uint32_t id) {
  if (BloqueadoPorMim(id)) return kOk;
  if (!pg_->BloquearRegistro(id, false)) return kRegistroEmUso;
  bloqueiosEscrita_.insert(id);
  reservadoNaChamada_ = id;
  return kOk;
}

int ArquivoBtrieve::IniciarEscrita(bool transacao) {
  if (somenteLeitura_) return kAcessoNegado;
  escritaIniciadaNaChamada_ = !pg_->EscritaAtiva();
  reservadoNaChamada_ = 0;
  int st = pg_->IniciarEscrita(transacao);
  if (st == kOk && transacao) pg_->MarcarPonto();
  return st;
}

int ArquivoBtrieve::TerminarEscrita(int status, bool transacao) {
  if (status != kOk) {
    if (reservadoNaChamada_ != 0) {
      bloqueiosEscrita_.erase(reservadoNaChamada_);
      SoltarSeLivre(reservadoNaChamada_);
    }
    if (transacao && !escritaIniciadaNaChamada_) {
      pg_->VoltarAoPonto();  // the transaction's earlier work and locks stay
    } else {
      pg_->Descartar();
      pg_->FimEscrita();
    }
    return status;
  }
  if (transacao) return kOk;
  int st = pg_->Confirmar();
  pg_->FimEscrita();
  LiberarBloqueiosEscrita();
  return st;
}

int ArquivoBtrieve::ConfirmarTransacao() {
  if (!pg_ || !pg_->EscritaAtiva()) return kOk;
  int st = pg_->Confirmar();
  pg_->FimEscrita();
  LiberarBloqueiosEscrita();
  return st;
}

void ArquivoBtrieve::AbortarTransacao() {
  if (!pg_ || !pg_->EscritaAtiva()) return;
  pg_->Descartar();
  pg_->FimEscrita();
  LiberarBloqueiosEscrita();
}

// ---- record operations --------------------------------------------------------------------

int ArquivoBtrieve::Inserir(std::uint8_t* dados, std::uint32_t* tamanho, std::uint8_t* chave, std::uint8_t tamChave,
                            int numeroChave, bool transacao) {
  const std::uint16_t tamReg = pg_->Cab().tamanhoRegistro;
  if (dados == nullptr || tamanho == nullptr || *tamanho < tamReg) return kTamanhoBufferDados;
  if (numeroChave >= 0 && ChaveValida(numeroChave) != kOk) return kNumeroChaveInvalido;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  if (numeroChave >= 0 && ChaveValida(numeroChave) != kOk) return TerminarEscrita(kNumeroChaveInvalido, transacao);
  Cabecalho& cab = pg_->Cab();
  std::vector<std::uint8_t> registro(dados, dados + tamReg);
  if ((st = AtribuirAutoIncremento(registro.data())) != kOk) return TerminarEscrita(st, transacao);
  if (cab.proximoId == 0xFFFFFFFFu) return TerminarEscrita(kDiscoCheio, transacao);
  std::uint32_t id = cab.proximoId;
  for (std::size_t k = 0; k < cab.chaves.size(); ++k) {
    if (cab.chaves[k].Duplicada()) continue;
    bool existe = false;
    if ((st = ExisteValor(k, ExtrairChave(cab.chaves[k], registro.data()), 0, &existe)) != kOk)
      return TerminarEscrita(st, transacao);
    if (existe) return TerminarEscrita(kChaveDuplicada, transacao);
  }
  std::vector<std::uint8_t> entrada(kTamId + tamReg);
  GravaId(entrada.data(), id);
  std::memcpy(entrada.data() + kTamId, registro.data(), tamReg);
  ComparadorId cmpId;
  ArvoreB arvore = ArvoreDados(cmpId);
  if ((st = arvore.Inserir(entrada.data())) != kOk) return TerminarEscrita(kErroES, transacao);
  std::vector<std::uint8_t> entradaPosicao;
  for (std::size_t k = 0; k < cab.chaves.size(); ++k) {
    Chave& ch = cab.chaves[k];
    ComparadorChave cmp(ch);
    ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
    auto e = EntradaIndice(ch, registro.data(), id);
    if ((st = indice.Inserir(e.data())) != kOk) return TerminarEscrita(kErroES, transacao);
    if (static_cast<int>(k) == numeroChave) entradaPosicao = e;
  }
  cab.proximoId++;
  cab.registros++;
  pg_->SujarCabecalho();
  st = TerminarEscrita(kOk, transacao);
  if (st != kOk) return st;
  std::memcpy(dados, registro.data(), tamReg);
  *tamanho = tamReg;
  cursor_ = Cursor{};
  cursor_.id = id;
  cursor_.idPasso = id;
  cursor_.imagem = registro;
  if (numeroChave >= 0) {
    cursor_.chave = numeroChave;
    cursor_.entrada = entradaPosicao;
    if (chave != nullptr) {
      std::size_t t = pg_->Cab().chaves[numeroChave].Tamanho();
      if (tamChave >= t) std::memcpy(chave, entradaPosicao.data(), t);
    }
  }
  return kOk;
}

int ArquivoBtrieve::Alterar(std::uint8_t* dados, std::uint32_t* tamanho, int numeroChave, bool transacao) {
  const std::uint16_t tamReg = pg_->Cab().tamanhoRegistro;
  if (cursor_.id == 0) return kPosicionamentoInvalido;
  if (dados == nullptr || tamanho == nullptr || *tamanho < tamReg) return kTamanhoBufferDados;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  // Checked against the header as it is now: another open may have dropped the key.
  if (numeroChave >= 0 && ChaveValida(numeroChave) != kOk) return TerminarEscrita(kNumeroChaveInvalido, transacao);
  const std::uint32_t id = cursor_.id;
  if ((st = ReservarRegistro(id)) != kOk) return TerminarEscrita(st, transacao);
  std::vector<std::uint8_t> atual;
  st = LerRegistro(id, &atual);
  if (st == kEnderecoRegistroInvalido) return TerminarEscrita(kPosicionamentoInvalido, transacao);
  if (st != kOk) return TerminarEscrita(st, transacao);
  if (atual != cursor_.imagem) return TerminarEscrita(kConflito, transacao);
  std::vector<std::uint8_t> novo(dados, dados + tamReg);
  Cabecalho& cab = pg_->Cab();
  std::vector<bool> mudou(cab.chaves.size(), false);
  for (std::size_t k = 0; k < cab.chaves.size(); ++k) {
    Chave& ch = cab.chaves[k];
    ComparadorChave cmp(ch);
    auto antes = ExtrairChave(ch, atual.data());
    auto depois = ExtrairChave(ch, novo.data());
    if (antes == depois) continue;
    if (!ch.Modificavel()) return TerminarEscrita(kChaveNaoModificavel, transacao);
    mudou[k] = true;
    if (ch.Duplicada()) continue;
    bool existe = false;
    if ((st = ExisteValor(k, depois, id, &existe)) != kOk) return TerminarEscrita(st, transacao);
    if (existe) return TerminarEscrita(kChaveDuplicada, transacao);
  }
  for (std::size_t k = 0; k < cab.chaves.size(); ++k) {
    if (!mudou[k]) continue;
    Chave& ch = cab.chaves[k];
    ComparadorChave cmp(ch);
    ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
    if (indice.Remover(EntradaIndice(ch, atual.data(), id).data()) != kOk ||
        indice.Inserir(EntradaIndice(ch, novo.data(), id).data()) != kOk)
      return TerminarEscrita(kErroES, transacao);
  }
  std::vector<std::uint8_t> entrada(kTamId + tamReg);
  GravaId(entrada.data(), id);
  std::memcpy(entrada.data() + kTamId, novo.data(), tamReg);
  ComparadorId cmpId;
  ArvoreB arvore = ArvoreDados(cmpId);
  if (arvore.Substituir(entrada.data()) != kOk) return TerminarEscrita(kErroES, transacao);
  st = TerminarEscrita(kOk, transacao);
  if (st != kOk) return st;
  cursor_.imagem = novo;
  int k = numeroChave >= 0 ? numeroChave : cursor_.chave;
  if (k >= 0 && k < static_cast<int>(pg_->Cab().chaves.size())) {
    cursor_.chave = k;
    cursor_.entrada = EntradaIndice(pg_->Cab().chaves[k], novo.data(), id);
  }
  if (bloqueioSimples_ == id) LiberarBloqueioSimples();
  return kOk;
}

int ArquivoBtrieve::Excluir(bool transacao) {
  if (cursor_.id == 0) return kPosicionamentoInvalido;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  const std::uint32_t id = cursor_.id;
  if ((st = ReservarRegistro(id)) != kOk) return TerminarEscrita(st, transacao);
  std::vector<std::uint8_t> atual;
  st = LerRegistro(id, &atual);
  if (st == kEnderecoRegistroInvalido) return TerminarEscrita(kPosicionamentoInvalido, transacao);
  if (st != kOk) return TerminarEscrita(st, transacao);
  if (atual != cursor_.imagem) return TerminarEscrita(kConflito, transacao);
  Cabecalho& cab = pg_->Cab();
  for (auto& ch : cab.chaves) {
    ComparadorChave cmp(ch);
    ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
    if (indice.Remover(EntradaIndice(ch, atual.data(), id).data()) != kOk) return TerminarEscrita(kErroES, transacao);
  }
  ComparadorId cmpId;
  ArvoreB arvore = ArvoreDados(cmpId);
  std::uint8_t sonda[kTamId];
  GravaId(sonda, id);
  if (arvore.Remover(sonda) != kOk) return TerminarEscrita(kErroES, transacao);
  cab.registros--;
  pg_->SujarCabecalho();
  st = TerminarEscrita(kOk, transacao);
  if (st != kOk) return st;
  // The position stays between the neighbours of the deleted record.
  cursor_.id = 0;
  cursor_.imagem.clear();
  if (bloqueioSimples_ == id) LiberarBloqueioSimples();
  if (bloqueiosMultiplos_.erase(id)) SoltarSeLivre(id);
  return kOk;
}

int ArquivoBtrieve::Localizar(int operacao, int numeroChave, std::size_t tam, const std::uint8_t* chave,
                              bool lerRegistro, std::vector<std::uint8_t>* achada, std::uint32_t* id,
                              std::vector<std::uint8_t>* registro) {
  // The header may have been re-read: another open may have dropped a key.
  if (ChaveValida(numeroChave) != kOk || pg_->Cab().chaves[numeroChave].Tamanho() != tam) return kNumeroChaveInvalido;
  Chave& c = pg_->Cab().chaves[numeroChave];
  ComparadorChave cmp(c);
  ArvoreB indice(*pg_, &c.raiz, cmp, tam + kTamId, tam + kTamId);
  std::vector<std::uint8_t> sonda(chave, chave + tam);
  sonda.resize(tam + kTamId, 0);
  Busca modo = Busca::MaiorIgual;
  switch (operacao) {
    case kOpObterIgual:
    case kOpObterMaiorIgual:
      break;
    case kOpObterMaior:
      modo = Busca::Maior;
      GravaId(sonda.data() + tam, 0xFFFFFFFFu);
      break;
    case kOpObterMenor:
      modo = Busca::Menor;
      break;
    case kOpObterMenorIgual:
      modo = Busca::MenorIgual;
      GravaId(sonda.data() + tam, 0xFFFFFFFFu);
      break;
    case kOpObterPrimeiro:
      modo = Busca::Primeiro;
      break;
    case kOpObterUltimo:
      modo = Busca::Ultimo;
      break;
    case kOpObterProximo:
      modo = Busca::Maior;
      sonda = cursor_.entrada;
      break;
    case kOpObterAnterior:
      modo = Busca::Menor;
      sonda = cursor_.entrada;
      break;
    default:
      return kOperacaoInvalida;
  }
  int st = indice.Buscar(modo, sonda.data(), achada);
  if (st == kOk && operacao == kOpObterIgual && cmp.CompararValor(achada->data(), sonda.data()) != 0)
    st = kChaveNaoEncontrada;
  if (st == kFimDeArquivo && operacao == kOpObterIgual) st = kChaveNaoEncontrada;
  if (st != kOk) return st;
  *id = LeId(achada->data() + tam);
  if (!lerRegistro) return kOk;
  st = LerRegistro(*id, registro);
  return st == kEnderecoRegistroInvalido ? kErroES : st;  // an index entry without its record
}

int ArquivoBtrieve::Obter(int operacao, int vies, bool somenteChave, std::uint8_t* dados, std::uint32_t* tamanho,
                          std::uint8_t* chave, std::uint8_t tamChave, int numeroChave) {
  int st = ChaveValida(numeroChave);
  if (st != kOk) return st;
  const std::uint16_t tamReg = pg_->Cab().tamanhoRegistro;
  if (!somenteChave && (dados == nullptr || tamanho == nullptr || *tamanho < tamReg)) return kTamanhoBufferDados;
  const Chave& ch = pg_->Cab().chaves[numeroChave];
  const std::size_t tam = ch.Tamanho();
  if (chave == nullptr || tamChave < tam) return kBufferChaveCurto;
  if ((operacao == kOpObterProximo || operacao == kOpObterAnterior)) {
    if (cursor_.chave < 0 || cursor_.entrada.size() != tam + kTamId) return kPosicionamentoInvalido;
    if (cursor_.chave != numeroChave) return kNumeroChaveDiferente;
  }
  std::vector<std::uint8_t> achada, registro;
  st = LerComVies(vies, true, [&](std::uint32_t* id) {
    achada.clear();
    registro.clear();
    return Localizar(operacao, numeroChave, tam, chave, !somenteChave || vies != 0, &achada, id, &registro);
  });
  if (st != kOk) return st;
  std::memcpy(chave, achada.data(), tam);
  if (!somenteChave) {
    std::memcpy(dados, registro.data(), tamReg);
    *tamanho = tamReg;
  }
  cursor_.chave = numeroChave;
  cursor_.entrada = achada;
  cursor_.id = LeId(achada.data() + tam);
  cursor_.idPasso = cursor_.id;
  cursor_.imagem = std::move(registro);
  return kOk;
}

int ArquivoBtrieve::Passo(int operacao, int vies, std::uint8_t* dados, std::uint32_t* tamanho) {
  const std::uint16_t tamReg = pg_->Cab().tamanhoRegistro;
  if (dados == nullptr || tamanho == nullptr || *tamanho < tamReg) return kTamanhoBufferDados;
  if ((operacao == kOpPassoProximo || operacao == kOpPassoAnterior) && cursor_.idPasso == 0)
    return kPosicionamentoInvalido;
  const Busca modo = operacao == kOpPassoPrimeiro  ? Busca::Primeiro
                     : operacao == kOpPassoUltimo  ? Busca::Ultimo
                     : operacao == kOpPassoProximo ? Busca::Maior
                                                   : Busca::Menor;
  std::vector<std::uint8_t> achada;
  int st = LerComVies(vies, false, [&](std::uint32_t* id) {
    ComparadorId cmp;
    ArvoreB arvore = ArvoreDados(cmp);
    std::uint8_t sonda[kTamId];
    GravaId(sonda, cursor_.idPasso);
    int r = arvore.Buscar(modo, sonda, &achada);
    if (r == kOk) *id = LeId(achada.data());
    return r;
  });
  if (st != kOk) return st;
  std::memcpy(dados, achada.data() + kTamId, tamReg);
  *tamanho = tamReg;
  cursor_ = Cursor{};
  cursor_.id = LeId(achada.data());
  cursor_.idPasso = cursor_.id;
  cursor_.imagem.assign(achada.begin() + kTamId, achada.end());
  return kOk;
}

int ArquivoBtrieve::ObterPosicao(std::uint8_t* dados, std::uint32_t* tamanho) {
  if (cursor_.id == 0) return kPosicionamentoInvalido;
  if (dados == nullptr || tamanho == nullptr || *tamanho < 4) return kTamanhoBufferDados;
  Grava32(dados, cursor_.id);
  *tamanho = 4;
  return kOk;
}

int ArquivoBtrieve::ObterDireto(int vies, std::uint8_t* dados, std::uint32_t* tamanho, std::uint8_t* chave,
                                std::uint8_t tamChave, int numeroChave) {
  const std::uint16_t tamReg = pg_->Cab().tamanhoRegistro;
  if (dados == nullptr || tamanho == nullptr || *tamanho < tamReg || *tamanho < 4) return kTamanhoBufferDados;
  const std::uint32_t id = Le32(dados);
  std::vector<std::uint8_t> registro, entrada;
  int st = LerComVies(vies, false, [&](std::uint32_t* encontrado) {
    // Checked against the header as the read found it: another open may have dropped the key.
    if (numeroChave >= 0 && ChaveValida(numeroChave) != kOk) return static_cast<int>(kNumeroChaveInvalido);
    *encontrado = id;
    int r = LerRegistro(id, &registro);
    if (r == kOk && numeroChave >= 0) entrada = EntradaIndice(pg_->Cab().chaves[numeroChave], registro.data(), id);
    return r;
  });
  if (st != kOk) return st;
  std::memcpy(dados, registro.data(), tamReg);
  *tamanho = tamReg;
  cursor_ = Cursor{};
  cursor_.id = id;
  cursor_.idPasso = id;
  if (numeroChave >= 0) {
    const std::size_t tam = entrada.size() - kTamId;
    cursor_.chave = numeroChave;
    cursor_.entrada = std::move(entrada);
    if (chave != nullptr && tamChave >= tam) std::memcpy(chave, cursor_.entrada.data(), tam);
  }
  cursor_.imagem = std::move(registro);
  return kOk;
}

// Stat (15): the file specification as created, the record count and every key segment.
int ArquivoBtrieve::Estatistica(std::uint8_t* dados, std::uint32_t* tamanho) {
  Cabecalho cab;
  int st = LerComVies(0, true, [&](std::uint32_t*) {
    cab = pg_->Cab();
    return static_cast<int>(kOk);
  });
  if (st != kOk) return st;
  std::uint32_t necessario = 16 + 16 * static_cast<std::uint32_t>(cab.TotalSegmentos());
  if (dados == nullptr || tamanho == nullptr || *tamanho < necessario) return kTamanhoBufferDados;
  std::memset(dados, 0, necessario);
  Grava16(dados, cab.tamanhoRegistro);
  Grava16(dados + 2, cab.paginaBtrieve);
  Grava16(dados + 4, static_cast<std::uint16_t>(cab.chaves.size()));
  Grava32(dados + 6, cab.registros);
  Grava16(dados + 10, cab.flagsArquivo);
  std::uint8_t* e = dados + 16;
  for (std::size_t k = 0; k < cab.chaves.size(); ++k) {
    for (const auto& s : cab.chaves[k].segmentos) {
      Grava16(e, s.posicao);
      Grava16(e + 2, s.tamanho);
      Grava16(e + 4, s.flags);
      Grava32(e + 6, cab.registros);
      e[10] = s.tipo;
      e[11] = s.nulo;
      e[14] = static_cast<std::uint8_t>(k);
      e += 16;
    }
  }
  *tamanho = necessario;
  return kOk;
}

// Unlock (27): -1 releases the multiple lock of the record at the position in the data
// buffer, -2 every multiple lock, any other key number the single-record lock.
int ArquivoBtrieve::Desbloquear(int numeroChave, const std::uint8_t* dados, std::uint32_t tamanho) {
  if (numeroChave == -1) {
    if (dados == nullptr || tamanho < 4) return kTamanhoBufferDados;
    std::uint32_t id = Le32(dados);
    if (!bloqueiosMultiplos_.erase(id)) return 81;
    if (bloqueioSimples_ != id) pg_->DesbloquearRegistro(id);
    return kOk;
  }
  if (numeroChave == -2) {
    for (auto id : bloqueiosMultiplos_)
      if (id != bloqueioSimples_) pg_->DesbloquearRegistro(id);
    bloqueiosMultiplos_.clear();
    return kOk;
  }
  LiberarBloqueioSimples();
  return kOk;
}

int ArquivoBtrieve::DefinirProprietario(const std::uint8_t* dados, std::uint32_t tamanho, int modo, bool transacao) {
  if (dados == nullptr || tamanho == 0) return kTamanhoBufferDados;
  if (modo < 0 || modo > 3) return kOperacaoInvalida;
  std::string nome(reinterpret_cast<const char*>(dados), std::min<std::uint32_t>(tamanho, 9));
  nome.resize(std::strlen(nome.c_str()));
  if (nome.empty() || nome.size() > 8) return kProprietarioInvalido;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  Cabecalho& cab = pg_->Cab();
  if (cab.temProprietario) return TerminarEscrita(kProprietarioJaDefinido, transacao);
  cab.temProprietario = true;
  cab.modoProprietario = static_cast<std::uint8_t>(modo);
  cab.proprietario = nome;
  pg_->SujarCabecalho();
  st = TerminarEscrita(kOk, transacao);
  if (st == kOk) donoVerificado_ = true;
  return st;
}

int ArquivoBtrieve::RemoverProprietario(bool transacao) {
  if (!donoVerificado_) return kProprietarioInvalido;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  Cabecalho& cab = pg_->Cab();
  cab.temProprietario = false;
  cab.modoProprietario = 0;
  cab.proprietario.clear();
  pg_->SujarCabecalho();
  return TerminarEscrita(kOk, transacao);
}

// Create Supplemental Index (31): one key from the key-specification buffer, built from
// every record; a unique key that the records repeat leaves the file unchanged (5).
int ArquivoBtrieve::CriarIndice(const std::uint8_t* espec, std::uint32_t tamanho, const std::uint8_t* chave,
                                std::uint8_t tamChave, int numeroChave, bool transacao) {
  if (espec == nullptr) return kTamanhoBufferDados;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  Cabecalho& cab = pg_->Cab();
  if (cab.chaves.size() >= static_cast<std::size_t>(kMaxChaves)) return TerminarEscrita(kNumeroChaves, transacao);
  int pedido = numeroChave;
  if (chave != nullptr && tamChave >= 1 && (chave[0] & 0x80)) pedido = chave[0] & 0x7F;
  if (pedido != static_cast<int>(cab.chaves.size()) && pedido >= 0 && pedido < static_cast<int>(cab.chaves.size()))
    return TerminarEscrita(kNumeroChaveInvalido, transacao);
  std::size_t pos = 0;
  int segmentos = cab.TotalSegmentos();
  Chave nova;
  if ((st = LerChave(espec, tamanho, &pos, cab.tamanhoRegistro, &segmentos, &nova)) != kOk)
    return TerminarEscrita(st, transacao);
  cab.chaves.push_back(std::move(nova));
  Chave& ch = cab.chaves.back();
  ComparadorChave cmp(ch);
  ComparadorId cmpId;
  ArvoreB dadosArvore = ArvoreDados(cmpId);
  const std::size_t tam = ch.Tamanho();
  std::vector<std::vector<std::uint8_t>> entradas;
  st = dadosArvore.Percorrer([&](const std::uint8_t* e) {
    entradas.push_back(EntradaIndice(ch, e + kTamId, LeId(e)));
    return kOk;
  });
  if (st != kOk) return TerminarEscrita(kErroES, transacao);
  std::sort(entradas.begin(), entradas.end(),
            [&](const auto& a, const auto& b) { return cmp.Comparar(a.data(), b.data()) < 0; });
  if (!ch.Duplicada()) {
    for (std::size_t i = 1; i < entradas.size(); ++i)
      if (cmp.CompararValor(entradas[i - 1].data(), entradas[i].data()) == 0)
        return TerminarEscrita(kChaveDuplicada, transacao);
  }
  ArvoreB indice(*pg_, &ch.raiz, cmp, tam + kTamId, tam + kTamId);
  for (const auto& e : entradas)
    if (indice.Inserir(e.data()) != kOk) return TerminarEscrita(kErroES, transacao);
  pg_->SujarCabecalho();
  return TerminarEscrita(kOk, transacao);
}

// Drop Supplemental Index (32): frees the key's pages; the keys after it move down by one.
int ArquivoBtrieve::ExcluirIndice(int numeroChave, bool transacao) {
  int numero = numeroChave >= 0 ? numeroChave : numeroChave & 0x7F;
  int st = IniciarEscrita(transacao);
  if (st != kOk) return st;
  // Checked against the header as it is now: another open may have dropped the key.
  if (ChaveValida(numero) != kOk) return TerminarEscrita(kNumeroChaveInvalido, transacao);
  Cabecalho& cab = pg_->Cab();
  Chave& ch = cab.chaves[numero];
  ComparadorChave cmp(ch);
  ArvoreB indice(*pg_, &ch.raiz, cmp, ch.Tamanho() + kTamId, ch.Tamanho() + kTamId);
  if (indice.LiberarPaginas() != kOk) return TerminarEscrita(kErroES, transacao);
  cab.chaves.erase(cab.chaves.begin() + numero);
  pg_->SujarCabecalho();
  st = TerminarEscrita(kOk, transacao);
  if (st == kOk) cursor_ = Cursor{};
  return st;
}

// Every tree whole as its pages link it (ArvoreB::Verificar); every record once in the data
// tree, in id order; every index holds exactly one entry per record, in order, with the key
// the record carries.
int ArquivoBtrieve::Verificar() {
  int st = pg_->IniciarLeitura(false);
  if (st != kOk) return st;
  Cabecalho& cab = pg_->Cab();
  ComparadorId cmpId;
  ArvoreB arvore = ArvoreDados(cmpId);
  std::uint32_t quantos = 0, anterior = 0;
  std::vector<std::uint32_t> ids;
  st = arvore.Verificar([&](const std::uint8_t* e) {
    std::uint32_t id = LeId(e);
    if (id <= anterior || id >= cab.proximoId) return static_cast<int>(kErroES);
    anterior = id;
    ids.push_back(id);
    ++quantos;
    return static_cast<int>(kOk);
  });
  if (st == kOk && quantos != cab.registros) st = kErroES;
  for (std::size_t k = 0; st == kOk && k < cab.chaves.size(); ++k) {
    Chave& ch = cab.chaves[k];
    ComparadorChave cmp(ch);
    const std::size_t tam = ch.Tamanho();
    ArvoreB indice(*pg_, &ch.raiz, cmp, tam + kTamId, tam + kTamId);
    std::vector<std::uint8_t> ultima;
    std::vector<std::uint32_t> vistos;
    st = indice.Verificar([&](const std::uint8_t* e) {
      if (!ultima.empty()) {
        int c = cmp.Comparar(ultima.data(), e);
        if (c >= 0 || (!ch.Duplicada() && cmp.CompararValor(ultima.data(), e) == 0)) return static_cast<int>(kErroES);
      }
      ultima.assign(e, e + tam + kTamId);
      std::uint32_t id = LeId(e + tam);
      std::vector<std::uint8_t> reg;
      if (LerRegistro(id, &reg) != kOk) return static_cast<int>(kErroES);
      if (std::memcmp(ExtrairChave(ch, reg.data()).data(), e, tam) != 0) return static_cast<int>(kErroES);
      vistos.push_back(id);
      return static_cast<int>(kOk);
    });
    if (st == kOk) {
      std::sort(vistos.begin(), vistos.end());
      if (vistos != ids) st = kErroES;
    }
  }
  pg_->FimLeitura();
  return st == kOk ? kOk : (st == kNaoEArquivoBtrieve ? st : kErroES);
}

int VerificarArquivo(const std::string& caminho) {
  ArquivoBtrieve arq;
  int st = arq.Abrir(caminho, -2, std::string(), false);
  if (st == kProprietarioInvalido) return st;
  if (st != kOk) return st;
  st = arq.Verificar();
  arq.Fechar();
  return st;
}

}  // namespace tavoran::motor
