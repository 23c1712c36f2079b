#include "engine/ArvoreB.h"

#include <cstring>
#include <set>

#include "engine/Bytes.h"
#include "engine/Status.h"

namespace tavoran::motor {

namespace {
constexpr std::size_t kCabPagina = 16;
constexpr int kProfundidadeMaxima = 48;

std::uint16_t Quantidade(const Pagina* p) { return Le16(p->dados.data() + 2); }
void DefinirQuantidade(Pagina* p, std::size_t n) { Grava16(p->dados.data() + 2, static_cast<std::uint16_t>(n)); }
std::uint32_t Proxima(const Pagina* p) { return Le32(p->dados.data() + 8); }
std::uint32_t Anterior(const Pagina* p) { return Le32(p->dados.data() + 12); }
void DefinirProxima(Pagina* p, std::uint32_t v) { Grava32(p->dados.data() + 8, v); }
void DefinirAnterior(Pagina* p, std::uint32_t v) { Grava32(p->dados.data() + 12, v); }
}  // namespace

ArvoreB::ArvoreB(Paginador& paginador, std::uint32_t* raiz, const ComparadorEntradas& comparador,
                 std::size_t tamanhoEntrada, std::size_t tamanhoSeparador)
    : pg_(paginador), raiz_(raiz), cmp_(comparador), tamEntrada_(tamanhoEntrada), tamSep_(tamanhoSeparador) {}

std::size_t ArvoreB::CapacidadeFolha() const { return (pg_.TamanhoPagina() - kCabPagina) / tamEntrada_; }
std::size_t ArvoreB::CapacidadeInterna() const { return (pg_.TamanhoPagina() - kCabPagina) / (4 + tamSep_); }

// Checks a page's header once after it was read, so that a damaged file answers 2. A
// child number is checked when it is followed (Paginador::Obter refuses it).
int ArvoreB::ObterValidada(std::uint32_t numero, Pagina** p, bool inteira) {
  int st = pg_.Obter(numero, p, inteira);
  if (st != kOk) return st;
  Pagina* pag = *p;
  if (pag->validadaPara == Forma()) return kOk;
  std::uint8_t tipo = pag->dados[0];
  std::size_t n = Quantidade(pag);
  std::uint32_t paginas = pg_.Cab().paginas;
  if (tipo == kTipoFolha) {
    if (n > CapacidadeFolha() || Proxima(pag) >= paginas || Anterior(pag) >= paginas) return kErroES;
  } else if (tipo == kTipoPaginaInterna) {
    if (n > CapacidadeInterna() || Proxima(pag) == 0 || Proxima(pag) >= paginas) return kErroES;
  } else {
    return kErroES;
  }
  pag->validadaPara = Forma();
  return kOk;
}

int ArvoreB::Sonda(const Pagina& p, int lo, int hi, std::size_t passo, std::size_t deslocamento,
                   std::size_t tamanho) {
  const int meio = (lo + hi) / 2;
  auto presente = [&](int i) { return TrechoPresente(p, kCabPagina + i * passo + deslocamento, tamanho); };
  for (int d = 0; meio - d >= lo || meio + d < hi; ++d) {
    if (meio - d >= lo && presente(meio - d)) return meio - d;
    if (meio + d < hi && presente(meio + d)) return meio + d;
  }
  return meio;
}

int ArvoreB::Descer(const std::uint8_t* sonda, bool estrito, std::vector<Passo>* caminho, std::uint32_t* folha) {
  std::uint32_t atual = *raiz_;
  for (int nivel = 0; nivel < kProfundidadeMaxima; ++nivel) {
    Pagina* p = nullptr;
    int st = ObterValidada(atual, &p);
    if (st != kOk) return st;
    if (p->dados[0] == kTipoFolha) {
      *folha = atual;
      return kOk;
    }
    // Last separator <= probe (< when strict); -1 means the leftmost child. Each probe
    // reads its entry (child and separator) only.
    int lo = 0, hi = Quantidade(p);
    const std::size_t passo = 4 + tamSep_;
    while (lo < hi) {
      int meio = Sonda(*p, lo, hi, passo, 0, passo);
      const std::size_t pos = kCabPagina + meio * passo;
      if ((st = pg_.LerTrecho(p, pos, passo)) != kOk) return st;
      int c = cmp_.Comparar(p->dados.data() + pos + 4, sonda);
      if (c < 0 || (c == 0 && !estrito)) lo = meio + 1;
      else hi = meio;
    }
    int filho = lo - 1;
    if (caminho) caminho->push_back({atual, filho});
    if (filho >= 0 && (st = pg_.LerTrecho(p, kCabPagina + filho * passo, 4)) != kOk) return st;
    atual = filho < 0 ? Proxima(p) : Le32(p->dados.data() + kCabPagina + filho * passo);
  }
  return kErroES;
}

int ArvoreB::Buscar(Busca modo, const std::uint8_t* sonda, std::vector<std::uint8_t>* encontrada) {
  if (*raiz_ == 0) return kFimDeArquivo;
  std::uint32_t folha = 0;
  int st = kOk;
  if (modo == Busca::Primeiro || modo == Busca::Ultimo) {
    std::uint32_t atual = *raiz_;
    for (int nivel = 0;; ++nivel) {
      if (nivel >= kProfundidadeMaxima) return kErroES;
      Pagina* p = nullptr;
      if ((st = ObterValidada(atual, &p)) != kOk) return st;
      if (p->dados[0] == kTipoFolha) break;
      std::size_t n = Quantidade(p);
      const std::size_t pos = kCabPagina + (n == 0 ? 0 : n - 1) * (4 + tamSep_);
      if (modo == Busca::Ultimo && n > 0 && (st = pg_.LerTrecho(p, pos, 4)) != kOk) return st;
      atual = (modo == Busca::Primeiro || n == 0) ? Proxima(p) : Le32(p->dados.data() + pos);
    }
    folha = atual;
  } else {
    st = Descer(sonda, modo == Busca::Menor, nullptr, &folha);
    if (st != kOk) return st;
  }
  const bool paraFrente = modo == Busca::Primeiro || modo == Busca::MaiorIgual || modo == Busca::Maior;
  std::uint32_t limite = pg_.Cab().paginas;
  bool primeiraFolha = true;
  while (folha != 0 && limite-- > 0) {
    Pagina* p = nullptr;
    if ((st = ObterValidada(folha, &p)) != kOk) return st;
    if (p->dados[0] != kTipoFolha) return kErroES;
    int n = Quantidade(p);
    const std::uint8_t* base = p->dados.data() + kCabPagina;
    // The part of an entry that orders it, read from the file if needed; null on failure.
    auto ordem = [&](int i) -> const std::uint8_t* {
      st = pg_.LerTrecho(p, kCabPagina + i * tamEntrada_, tamSep_);
      return st == kOk ? base + i * tamEntrada_ : nullptr;
    };
    int indice = -1;
    if (!primeiraFolha || modo == Busca::Primeiro || modo == Busca::Ultimo) {
      indice = n == 0 ? -1 : (paraFrente ? 0 : n - 1);
    } else if (paraFrente) {
      int lo = 0, hi = n;
      while (lo < hi) {
        int meio = Sonda(*p, lo, hi, tamEntrada_, 0, tamSep_);
        const std::uint8_t* e = ordem(meio);
        if (e == nullptr) return st;
        int c = cmp_.Comparar(e, sonda);
        if (c < 0 || (c == 0 && modo == Busca::Maior)) lo = meio + 1;
        else hi = meio;
      }
      indice = lo < n ? lo : -1;
    } else {
      int lo = 0, hi = n;  // first entry not satisfying "< probe" (or "<= probe")
      while (lo < hi) {
        int meio = Sonda(*p, lo, hi, tamEntrada_, 0, tamSep_);
        const std::uint8_t* e = ordem(meio);
        if (e == nullptr) return st;
        int c = cmp_.Comparar(e, sonda);
        if (c < 0 || (c == 0 && modo == Busca::MenorIgual)) lo = meio + 1;
        else hi = meio;
      }
      indice = lo - 1;
    }
    if (indice >= 0) {
      if ((st = pg_.LerTrecho(p, kCabPagina + indice * tamEntrada_, tamEntrada_)) != kOk) return st;
      encontrada->assign(base + indice * tamEntrada_, base + (indice + 1) * tamEntrada_);
      // A damaged tree may lead elsewhere (an entry out of order, a sibling link back): the
      // entry must stand where the search asked, so that Next always advances.
      return Satisfaz(modo, encontrada->data(), sonda) ? kOk : kErroES;
    }
    primeiraFolha = false;
    folha = paraFrente ? Proxima(p) : Anterior(p);
  }
  return folha == 0 ? kFimDeArquivo : kErroES;
}

bool ArvoreB::Satisfaz(Busca modo, const std::uint8_t* entrada, const std::uint8_t* sonda) const {
  switch (modo) {
    case Busca::MaiorIgual:
      return cmp_.Comparar(entrada, sonda) >= 0;
    case Busca::Maior:
      return cmp_.Comparar(entrada, sonda) > 0;
    case Busca::MenorIgual:
      return cmp_.Comparar(entrada, sonda) <= 0;
    case Busca::Menor:
      return cmp_.Comparar(entrada, sonda) < 0;
    default:
      return true;
  }
}

int ArvoreB::LocalizarIgual(const std::uint8_t* sonda, std::uint32_t* folha, int* indice) {
  std::vector<std::uint8_t> achada;
  int st = Buscar(Busca::MaiorIgual, sonda, &achada);
  if (st == kFimDeArquivo) return kChaveNaoEncontrada;
  if (st != kOk) return st;
  if (cmp_.Comparar(achada.data(), sonda) != 0) return kChaveNaoEncontrada;
  // Walk again to the leaf that holds it (the search above may have crossed empty leaves).
  std::uint32_t f = 0;
  if ((st = Descer(sonda, false, nullptr, &f)) != kOk) return st;
  std::uint32_t limite = pg_.Cab().paginas;
  while (f != 0 && limite-- > 0) {
    Pagina* p = nullptr;
    if ((st = ObterValidada(f, &p, true)) != kOk) return st;
    int n = Quantidade(p);
    for (int i = 0; i < n; ++i) {
      if (cmp_.Comparar(p->dados.data() + kCabPagina + i * tamEntrada_, sonda) == 0) {
        *folha = f;
        *indice = i;
        return kOk;
      }
    }
    f = Proxima(p);
  }
  return kErroES;
}

int ArvoreB::Inserir(const std::uint8_t* entrada) {
  int st = kOk;
  if (*raiz_ == 0) {
    std::uint32_t nova = 0;
    Pagina* p = nullptr;
    if ((st = pg_.Alocar(&nova, &p)) != kOk) return st;
    p->dados[0] = kTipoFolha;
    DefinirQuantidade(p, 1);
    std::memcpy(p->dados.data() + kCabPagina, entrada, tamEntrada_);
    p->validadaPara = Forma();
    *raiz_ = nova;
    pg_.SujarCabecalho();
    return kOk;
  }
  std::vector<Passo> caminho;
  std::uint32_t folha = 0;
  if ((st = Descer(entrada, false, &caminho, &folha)) != kOk) return st;
  Pagina* p = nullptr;
  if ((st = ObterValidada(folha, &p)) != kOk) return st;
  if ((st = pg_.ObterParaEscrita(folha, &p)) != kOk) return st;
  std::size_t n = Quantidade(p);
  std::uint8_t* base = p->dados.data() + kCabPagina;
  std::size_t lo = 0, hi = n;
  while (lo < hi) {
    std::size_t meio = (lo + hi) / 2;
    if (cmp_.Comparar(base + meio * tamEntrada_, entrada) < 0) lo = meio + 1;
    else hi = meio;
  }
  if (lo < n && cmp_.Comparar(base + lo * tamEntrada_, entrada) == 0) return kChaveDuplicada;
  if (n < CapacidadeFolha()) {
    std::memmove(base + (lo + 1) * tamEntrada_, base + lo * tamEntrada_, (n - lo) * tamEntrada_);
    std::memcpy(base + lo * tamEntrada_, entrada, tamEntrada_);
    DefinirQuantidade(p, n + 1);
    return kOk;
  }
  // Split: the lower half stays, the upper half moves to a new right sibling.
  std::vector<std::uint8_t> todas((n + 1) * tamEntrada_);
  std::memcpy(todas.data(), base, lo * tamEntrada_);
  std::memcpy(todas.data() + lo * tamEntrada_, entrada, tamEntrada_);
  std::memcpy(todas.data() + (lo + 1) * tamEntrada_, base + lo * tamEntrada_, (n - lo) * tamEntrada_);
  std::size_t esquerda = (n + 1) / 2;
  // Appending in order (the usual case) leaves the left page full.
  if (lo == n) esquerda = n;
  std::uint32_t nova = 0;
  Pagina* d = nullptr;
  if ((st = pg_.Alocar(&nova, &d)) != kOk) return st;
  d->dados[0] = kTipoFolha;
  std::size_t direita = n + 1 - esquerda;
  std::memcpy(d->dados.data() + kCabPagina, todas.data() + esquerda * tamEntrada_, direita * tamEntrada_);
  DefinirQuantidade(d, direita);
  DefinirProxima(d, Proxima(p));
  DefinirAnterior(d, folha);
  d->validadaPara = Forma();
  if (Proxima(p) != 0) {
    Pagina* seguinte = nullptr;
    if ((st = ObterValidada(Proxima(p), &seguinte)) != kOk) return st;
    if ((st = pg_.ObterParaEscrita(Proxima(p), &seguinte)) != kOk) return st;
    DefinirAnterior(seguinte, nova);
  }
  std::memcpy(base, todas.data(), esquerda * tamEntrada_);
  DefinirQuantidade(p, esquerda);
  DefinirProxima(p, nova);
  std::vector<std::uint8_t> separador(todas.data() + esquerda * tamEntrada_,
                                      todas.data() + esquerda * tamEntrada_ + tamSep_);
  return InserirNoPai(caminho, separador.data(), nova);
}

int ArvoreB::InserirNoPai(std::vector<Passo>& caminho, const std::uint8_t* separador, std::uint32_t direita) {
  int st = kOk;
  const std::size_t passo = 4 + tamSep_;
  if (caminho.empty()) {
    std::uint32_t nova = 0;
    Pagina* r = nullptr;
    if ((st = pg_.Alocar(&nova, &r)) != kOk) return st;
    r->dados[0] = kTipoPaginaInterna;
    DefinirQuantidade(r, 1);
    DefinirProxima(r, *raiz_);
    Grava32(r->dados.data() + kCabPagina, direita);
    std::memcpy(r->dados.data() + kCabPagina + 4, separador, tamSep_);
    r->validadaPara = Forma();
    *raiz_ = nova;
    pg_.SujarCabecalho();
    return kOk;
  }
  Passo pai = caminho.back();
  caminho.pop_back();
  Pagina* p = nullptr;
  if ((st = pg_.ObterParaEscrita(pai.pagina, &p)) != kOk) return st;
  std::size_t n = Quantidade(p);
  std::size_t pos = static_cast<std::size_t>(pai.filho + 1);
  std::uint8_t* base = p->dados.data() + kCabPagina;
  std::vector<std::uint8_t> nova(passo);
  Grava32(nova.data(), direita);
  std::memcpy(nova.data() + 4, separador, tamSep_);
  if (n < CapacidadeInterna()) {
    std::memmove(base + (pos + 1) * passo, base + pos * passo, (n - pos) * passo);
    std::memcpy(base + pos * passo, nova.data(), passo);
    DefinirQuantidade(p, n + 1);
    return kOk;
  }
  std::vector<std::uint8_t> todas((n + 1) * passo);
  std::memcpy(todas.data(), base, pos * passo);
  std::memcpy(todas.data() + pos * passo, nova.data(), passo);
  std::memcpy(todas.data() + (pos + 1) * passo, base + pos * passo, (n - pos) * passo);
  std::size_t meio = (n + 1) / 2;
  if (pos == n) meio = n - 1;  // appending in order: keep the left page nearly full
  std::uint32_t numDireita = 0;
  Pagina* d = nullptr;
  if ((st = pg_.Alocar(&numDireita, &d)) != kOk) return st;
  d->dados[0] = kTipoPaginaInterna;
  const std::uint8_t* entradaMeio = todas.data() + meio * passo;
  DefinirProxima(d, Le32(entradaMeio));
  std::size_t restantes = n - meio;
  std::memcpy(d->dados.data() + kCabPagina, entradaMeio + passo, restantes * passo);
  DefinirQuantidade(d, restantes);
  d->validadaPara = Forma();
  std::memcpy(base, todas.data(), meio * passo);
  DefinirQuantidade(p, meio);
  std::vector<std::uint8_t> sobe(entradaMeio + 4, entradaMeio + 4 + tamSep_);
  return InserirNoPai(caminho, sobe.data(), numDireita);
}

int ArvoreB::Remover(const std::uint8_t* sonda) {
  std::uint32_t folha = 0;
  int indice = 0;
  int st = LocalizarIgual(sonda, &folha, &indice);
  if (st != kOk) return st;
  Pagina* p = nullptr;
  if ((st = pg_.ObterParaEscrita(folha, &p)) != kOk) return st;
  std::size_t n = Quantidade(p);
  std::uint8_t* base = p->dados.data() + kCabPagina;
  std::memmove(base + indice * tamEntrada_, base + (indice + 1) * tamEntrada_, (n - indice - 1) * tamEntrada_);
  DefinirQuantidade(p, n - 1);
  if (n - 1 > 0 || folha == *raiz_) return kOk;
  // An emptied leaf leaves the tree, so that walks never cross runs of empty pages.
  std::vector<Passo> caminho;
  std::uint32_t alvo = 0;
  if ((st = Descer(sonda, false, &caminho, &alvo)) != kOk) return st;
  if (alvo != folha) return kOk;  // reached through a sibling walk: left in place
  return RetirarFolhaVazia(caminho, folha);
}

int ArvoreB::RetirarFolhaVazia(std::vector<Passo>& caminho, std::uint32_t folha) {
  int st = kOk;
  Pagina* p = nullptr;
  if ((st = ObterValidada(folha, &p)) != kOk) return st;
  std::uint32_t anterior = Anterior(p), proxima = Proxima(p);
  if (anterior != 0) {
    Pagina* a = nullptr;
    if ((st = ObterValidada(anterior, &a)) != kOk || (st = pg_.ObterParaEscrita(anterior, &a)) != kOk) return st;
    DefinirProxima(a, proxima);
  }
  if (proxima != 0) {
    Pagina* d = nullptr;
    if ((st = ObterValidada(proxima, &d)) != kOk || (st = pg_.ObterParaEscrita(proxima, &d)) != kOk) return st;
    DefinirAnterior(d, anterior);
  }
  std::uint32_t retirada = folha;
  const std::size_t passo = 4 + tamSep_;
  while (!caminho.empty()) {
    Passo pai = caminho.back();
    caminho.pop_back();
    if ((st = pg_.Liberar(retirada)) != kOk) return st;
    Pagina* q = nullptr;
    if ((st = pg_.ObterParaEscrita(pai.pagina, &q)) != kOk) return st;
    std::size_t n = Quantidade(q);
    std::uint8_t* base = q->dados.data() + kCabPagina;
    if (n == 0) {
      retirada = pai.pagina;  // the parent had only this child: it goes too
      continue;
    }
    // Drop the child's entry; a leftmost child is replaced by the first entry's child.
    std::size_t i = pai.filho < 0 ? 0 : static_cast<std::size_t>(pai.filho);
    if (pai.filho < 0) DefinirProxima(q, Le32(base));
    std::memmove(base + i * passo, base + (i + 1) * passo, (n - i - 1) * passo);
    DefinirQuantidade(q, n - 1);
    // A root left with one child hands the root over to it.
    if (pai.pagina == *raiz_ && n - 1 == 0) {
      *raiz_ = Proxima(q);
      pg_.SujarCabecalho();
      return pg_.Liberar(pai.pagina);
    }
    return kOk;
  }
  // Every level up to the root emptied: the tree is empty.
  if ((st = pg_.Liberar(retirada)) != kOk) return st;
  *raiz_ = 0;
  pg_.SujarCabecalho();
  return kOk;
}

int ArvoreB::Substituir(const std::uint8_t* entrada) {
  std::uint32_t folha = 0;
  int indice = 0;
  int st = LocalizarIgual(entrada, &folha, &indice);
  if (st != kOk) return st;
  Pagina* p = nullptr;
  if ((st = pg_.ObterParaEscrita(folha, &p)) != kOk) return st;
  std::memcpy(p->dados.data() + kCabPagina + indice * tamEntrada_, entrada, tamEntrada_);
  return kOk;
}

int ArvoreB::Percorrer(const std::function<int(const std::uint8_t*)>& visitar) {
  if (*raiz_ == 0) return kOk;
  std::uint32_t atual = *raiz_;
  int st = kOk;
  for (int nivel = 0;; ++nivel) {
    if (nivel >= kProfundidadeMaxima) return kErroES;
    Pagina* p = nullptr;
    if ((st = ObterValidada(atual, &p)) != kOk) return st;
    if (p->dados[0] == kTipoFolha) break;
    atual = Proxima(p);
  }
  std::uint32_t limite = pg_.Cab().paginas;
  while (atual != 0) {
    if (limite-- == 0) return kErroES;
    Pagina* p = nullptr;
    if ((st = ObterValidada(atual, &p, true)) != kOk) return st;
    if (p->dados[0] != kTipoFolha) return kErroES;
    int n = Quantidade(p);
    for (int i = 0; i < n; ++i) {
      if ((st = visitar(p->dados.data() + kCabPagina + i * tamEntrada_)) != kOk) return st;
    }
    atual = Proxima(p);
  }
  return kOk;
}

// One page of the walk in Verificar: its entries lie in [inferior, superior) (null: open),
// a leaf at the depth of the others and next in the leaf chain.
int ArvoreB::VerificarPagina(std::uint32_t numero, const std::vector<std::uint8_t>* inferior,
                             const std::vector<std::uint8_t>* superior, int nivel, Verificacao& v) {
  if (nivel >= kProfundidadeMaxima || !v.vistas.insert(numero).second) return kErroES;
  Pagina* p = nullptr;
  int st = ObterValidada(numero, &p, true);
  if (st != kOk) return st;
  const bool folha = p->dados[0] == kTipoFolha;
  const std::size_t n = Quantidade(p), passo = folha ? tamEntrada_ : 4 + tamSep_, deslocamento = folha ? 0 : 4;
  std::vector<std::vector<std::uint8_t>> chaves;  // the entries, or the separators
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* e = p->dados.data() + kCabPagina + i * passo + deslocamento;
    if ((inferior && cmp_.Comparar(e, inferior->data()) < 0) || (superior && cmp_.Comparar(e, superior->data()) >= 0) ||
        (!chaves.empty() && cmp_.Comparar(chaves.back().data(), e) >= 0))
      return kErroES;
    chaves.emplace_back(e, e + (folha ? tamEntrada_ : tamSep_));
  }
  if (folha) {
    if ((v.profundidade >= 0 && v.profundidade != nivel) || Anterior(p) != v.folhaAnterior ||
        (v.folhaAnterior != 0 && numero != v.proximaEsperada))
      return kErroES;
    v.profundidade = nivel;
    v.folhaAnterior = numero;
    v.proximaEsperada = Proxima(p);
    for (const auto& e : chaves)
      if ((st = v.visitar(e.data())) != kOk) return st;
    return kOk;
  }
  std::vector<std::uint32_t> filhos{Proxima(p)};
  for (std::size_t i = 0; i < n; ++i) filhos.push_back(Le32(p->dados.data() + kCabPagina + i * passo));
  for (std::size_t i = 0; i <= n && st == kOk; ++i)
    st = VerificarPagina(filhos[i], i == 0 ? inferior : &chaves[i - 1], i == n ? superior : &chaves[i], nivel + 1, v);
  return st;
}

int ArvoreB::Verificar(const std::function<int(const std::uint8_t*)>& visitar) {
  if (*raiz_ == 0) return kOk;
  Verificacao v{visitar, {}, -1, 0, 0};
  int st = VerificarPagina(*raiz_, nullptr, nullptr, 0, v);
  return st == kOk && v.proximaEsperada != 0 ? kErroES : st;
}

int ArvoreB::LiberarPaginas() {
  if (*raiz_ == 0) return kOk;
  std::vector<std::pair<std::uint32_t, int>> pilha{{*raiz_, 0}};
  std::set<std::uint32_t> vistas;
  int st = kOk;
  while (!pilha.empty()) {
    auto [numero, nivel] = pilha.back();
    pilha.pop_back();
    if (nivel >= kProfundidadeMaxima || !vistas.insert(numero).second) return kErroES;
    Pagina* p = nullptr;
    if ((st = ObterValidada(numero, &p, true)) != kOk) return st;
    if (p->dados[0] == kTipoPaginaInterna) {
      pilha.push_back({Proxima(p), nivel + 1});
      for (std::size_t i = 0; i < Quantidade(p); ++i)
        pilha.push_back({Le32(p->dados.data() + kCabPagina + i * (4 + tamSep_)), nivel + 1});
    }
  }
  for (auto n : vistas)
    if ((st = pg_.Liberar(n)) != kOk) return st;
  *raiz_ = 0;
  pg_.SujarCabecalho();
  return kOk;
}

}  // namespace tavoran::motor
