#include "engine/Motor.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "engine/ArquivoBtrieve.h"
#include "engine/Bytes.h"
#include "engine/Status.h"

namespace tavoran::motor {

namespace {
constexpr std::uint8_t kMarcaBloco[4] = {'T', 'v', 'B', 0x01};

// The engine's program-wide state: the files this process has open and its transaction.
struct EstadoMotor {
  std::mutex mutex;
  std::map<std::uint32_t, std::unique_ptr<ArquivoBtrieve>> abertos;
  std::uint32_t proximo = 1;
  std::uint32_t geracao = 0x5A17;
  bool transacao = false;
  std::uint32_t arquivoTransacao = 0;  // the one open a transaction writes to (0: none yet)
};

EstadoMotor& Estado() {
  static EstadoMotor e;
  return e;
}

struct Handle {
  std::uint32_t id;
  ArquivoBtrieve* arquivo;
};

Handle Localizar(EstadoMotor& e, const void* bloco) {
  if (bloco == nullptr) return {0, nullptr};
  const auto* b = static_cast<const std::uint8_t*>(bloco);
  if (std::memcmp(b, kMarcaBloco, 4) != 0 || Le32(b + 8) != e.geracao) return {0, nullptr};
  auto it = e.abertos.find(Le32(b + 4));
  if (it == e.abertos.end()) return {0, nullptr};
  return {it->first, it->second.get()};
}

// The file name in a key buffer ends at a NUL or at the key length; trailing blanks go.
std::string NomeArquivo(const void* chave, std::uint8_t tamanho) {
  if (chave == nullptr) return {};
  const char* c = static_cast<const char*>(chave);
  std::size_t n = 0;
  while (n < tamanho && c[n] != '\0') ++n;
  std::string nome(c, n);
  while (!nome.empty() && (nome.back() == ' ' || nome.back() == '\t')) nome.pop_back();
  std::size_t i = 0;
  while (i < nome.size() && nome[i] == ' ') ++i;
  return nome.substr(i);
}

std::string NomeProprietario(const void* dados, const std::uint32_t* tamanho) {
  if (dados == nullptr || tamanho == nullptr) return {};
  const char* c = static_cast<const char*>(dados);
  std::size_t n = 0;
  while (n < *tamanho && n < 9 && c[n] != '\0') ++n;
  std::string nome(c, n);
  while (!nome.empty() && nome.back() == ' ') nome.pop_back();
  return nome;
}

int Versao(void* dados, std::uint32_t* tamanho) {
  if (dados == nullptr || tamanho == nullptr || *tamanho < 5) return kTamanhoBufferDados;
  std::uint16_t v = 0, r = 0;
  VersaoInformada(&v, &r);
  auto* d = static_cast<std::uint8_t*>(dados);
  Grava16(d, v);
  Grava16(d + 2, r);
  d[4] = 'T';
  *tamanho = 5;
  return kOk;
}

int Abrir(EstadoMotor& e, void* bloco, void* dados, std::uint32_t* tamanho, void* chave, std::uint8_t tamChave,
          int modo) {
  if (bloco == nullptr) return kOperacaoInvalida;
  std::string nome = NomeArquivo(chave, tamChave);
  if (nome.empty()) return kNomeArquivoInvalido;
  auto arquivo = std::make_unique<ArquivoBtrieve>();
  int st = arquivo->Abrir(nome, modo, NomeProprietario(dados, tamanho));
  if (st != kOk) return st;
  std::uint32_t id = e.proximo++;
  auto* b = static_cast<std::uint8_t*>(bloco);
  std::memcpy(b, kMarcaBloco, 4);
  Grava32(b + 4, id);
  Grava32(b + 8, e.geracao);
  e.abertos.emplace(id, std::move(arquivo));
  return kOk;
}

int FinalizarTransacao(EstadoMotor& e, bool confirmar) {
  if (!e.transacao) return kFimTransacaoSemInicio;
  int st = kOk;
  for (auto& [id, arq] : e.abertos) {
    if (confirmar) {
      int s = arq->ConfirmarTransacao();
      if (s != kOk && st == kOk) st = s;
    } else {
      arq->AbortarTransacao();
    }
  }
  e.transacao = false;
  e.arquivoTransacao = 0;
  return st;
}

bool Escreve(int op) {
  switch (op) {
    case kOpInserir:
    case kOpAlterar:
    case kOpExcluir:
    case kOpDefinirProprietario:
    case kOpRemoverProprietario:
    case kOpCriarIndice:
    case kOpExcluirIndice:
      return true;
    default:
      return false;
  }
}

// A transaction writes to one open file: each file commits on its own, so a second one
// could not commit or roll back together with the first (docs/engine-format.md).
int Transacionar(EstadoMotor& e, const Handle& h, int op, const std::function<int()>& chamada) {
  if (!e.transacao || !Escreve(op)) return chamada();
  if (e.arquivoTransacao != 0 && e.arquivoTransacao != h.id) return kArquivosDemaisNaTransacao;
  const int st = chamada();
  if (h.arquivo->TemEscritaPendente()) e.arquivoTransacao = h.id;
  return st;
}

// The operations on an open file.
int Operar(EstadoMotor& e, const Handle& h, int op, int vies, bool somenteChave, std::uint8_t* d,
           std::uint32_t* tamanho, std::uint8_t* c, std::uint8_t tamChave, int numeroChave);

int Despachar(EstadoMotor& e, int op, void* bloco, void* dados, std::uint32_t* tamanho, void* chave,
              std::uint8_t tamChave, int numeroChave) {
  bool concorrente = false;
  if (op >= 1000) {
    concorrente = true;
    op -= 1000;
  }
  int vies = 0;
  if (op >= 100) {
    vies = (op / 100) * 100;
    op %= 100;
    if (vies > 400) return kOperacaoInvalida;
  }
  bool somenteChave = false;
  if (op >= 55 && op <= 63) {
    somenteChave = true;
    op -= 50;
  }
  (void)concorrente;
  auto* d = static_cast<std::uint8_t*>(dados);
  auto* c = static_cast<std::uint8_t*>(chave);
  switch (op) {
    case kOpVersao:
      return Versao(dados, tamanho);
    case kOpCriar:
      return ArquivoBtrieve::Criar(NomeArquivo(chave, tamChave), d, tamanho ? *tamanho : 0, numeroChave != -1);
    case kOpAbrir:
      return Abrir(e, bloco, dados, tamanho, chave, tamChave, numeroChave);
    case kOpIniciarTransacao:
      if (e.transacao) return kTransacaoAtiva;
      e.transacao = true;
      return kOk;
    case kOpFinalizarTransacao:
      return FinalizarTransacao(e, true);
    case kOpAbortarTransacao:
      return FinalizarTransacao(e, false);
    case kOpReiniciar:
      if (e.transacao) FinalizarTransacao(e, false);
      for (auto& [id, arq] : e.abertos) arq->Fechar();
      e.abertos.clear();
      return kOk;
    default:
      break;
  }
  Handle h = Localizar(e, bloco);
  if (h.arquivo == nullptr) return kArquivoNaoAberto;
  return Transacionar(e, h, op,
                      [&] { return Operar(e, h, op, vies, somenteChave, d, tamanho, c, tamChave, numeroChave); });
}

int Operar(EstadoMotor& e, const Handle& h, int op, int vies, bool somenteChave, std::uint8_t* d,
           std::uint32_t* tamanho, std::uint8_t* c, std::uint8_t tamChave, int numeroChave) {
  ArquivoBtrieve& a = *h.arquivo;
  switch (op) {
    case kOpFechar:
      if (e.transacao && a.TemEscritaPendente()) return kOperacaoNaoPermitida;
      a.Fechar();
      e.abertos.erase(h.id);
      return kOk;
    case kOpInserir:
      return a.Inserir(d, tamanho, c, tamChave, numeroChave, e.transacao);
    case kOpAlterar:
      return a.Alterar(d, tamanho, numeroChave, e.transacao);
    case kOpExcluir:
      return a.Excluir(e.transacao);
    case kOpObterIgual:
    case kOpObterProximo:
    case kOpObterAnterior:
    case kOpObterMaior:
    case kOpObterMaiorIgual:
    case kOpObterMenor:
    case kOpObterMenorIgual:
    case kOpObterPrimeiro:
    case kOpObterUltimo:
      return a.Obter(op, vies, somenteChave, d, tamanho, c, tamChave, numeroChave);
    case kOpPassoPrimeiro:
    case kOpPassoUltimo:
    case kOpPassoProximo:
    case kOpPassoAnterior:
      return a.Passo(op, vies, d, tamanho);
    case kOpObterPosicao:
      return a.ObterPosicao(d, tamanho);
    case kOpObterDireto:
      return a.ObterDireto(vies, d, tamanho, c, tamChave, numeroChave);
    case kOpEstatistica:
      return a.Estatistica(d, tamanho);
    case kOpDesbloquear:
      return a.Desbloquear(numeroChave, d, tamanho ? *tamanho : 0);
    case kOpDefinirProprietario:
      return a.DefinirProprietario(d, tamanho ? *tamanho : 0, numeroChave, e.transacao);
    case kOpRemoverProprietario:
      return a.RemoverProprietario(e.transacao);
    case kOpCriarIndice:
      return a.CriarIndice(d, tamanho ? *tamanho : 0, c, tamChave, numeroChave, e.transacao);
    case kOpExcluirIndice:
      return a.ExcluirIndice(numeroChave, e.transacao);
    default:
      return kOperacaoInvalida;
  }
}
}  // namespace

void VersaoInformada(std::uint16_t* versao, std::uint16_t* revisao) {
  *versao = 7;
  *revisao = 90;
  const char* v = std::getenv("TAV_BTRIEVE_VERSAO");
  if (v == nullptr || *v == '\0') return;
  char* fim = nullptr;
  long maior = std::strtol(v, &fim, 10);
  long menor = 0;
  if (fim != nullptr && *fim == '.') menor = std::strtol(fim + 1, nullptr, 10);
  if (maior < 0 || maior > 255 || menor < 0 || menor > 255) return;
  *versao = static_cast<std::uint16_t>(maior);
  *revisao = static_cast<std::uint16_t>(menor);
}

std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                    void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) {
  EstadoMotor& e = Estado();
  std::lock_guard<std::mutex> trava(e.mutex);
  try {
    return static_cast<std::int16_t>(
        Despachar(e, operacao, blocoPosicao, dados, tamanhoDados, chave, tamanhoChave, numeroChave));
  } catch (...) {
    // Out of memory or a library fault: the call fails, the process goes on.
    return kErroES;
  }
}

}  // namespace tavoran::motor

extern "C" int TavMotorVerificar(const char* caminho) {
  if (caminho == nullptr) return tavoran::motor::kNomeArquivoInvalido;
  try {
    return tavoran::motor::VerificarArquivo(caminho);
  } catch (...) {
    return tavoran::motor::kErroES;
  }
}
