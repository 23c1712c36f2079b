#include "tests/engine/DiscoSimulado.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>

namespace tavoran::testes {

namespace {
constexpr std::size_t kSetor = 512;
using Setor = std::array<std::uint8_t, kSetor>;

Setor SetorDe(const std::vector<std::uint8_t>& arquivo, std::uint64_t indice) {
  Setor s{};
  const std::uint64_t inicio = indice * kSetor;
  if (inicio < arquivo.size())
    std::copy_n(arquivo.begin() + static_cast<std::ptrdiff_t>(inicio),
                std::min<std::uint64_t>(kSetor, arquivo.size() - inicio), s.begin());
  return s;
}
}  // namespace

DiscoSimulado::DiscoSimulado(std::string caminho) : caminho_(std::move(caminho)) {
  std::ifstream f(caminho_, std::ios::binary);
  inicial_.assign(std::istreambuf_iterator<char>(f), {});
  duravel_ = inicial_;
  anterior_ = motor::ObservarDisco(this);
}

DiscoSimulado::~DiscoSimulado() { motor::ObservarDisco(anterior_); }

void DiscoSimulado::Gravou(const std::string& caminho, std::uint64_t pos, const void* dados, std::size_t n) {
  if (caminho != caminho_) return;
  const auto* p = static_cast<const std::uint8_t*>(dados);
  eventos_.push_back({Tipo::Gravacao, pos, std::vector<std::uint8_t>(p, p + n)});
}

bool DiscoSimulado::Descarregou(const std::string& caminho) {
  if (caminho == caminho_) eventos_.push_back({Tipo::Descarga, 0, {}});
  return false;  // the model knows what is durable; the real disk need not be asked
}

void DiscoSimulado::Truncou(const std::string& caminho, std::uint64_t tamanho) {
  if (caminho == caminho_) eventos_.push_back({Tipo::Truncamento, tamanho, {}});
}

std::size_t DiscoSimulado::Descargas(std::size_t desde, std::size_t ate) const {
  return static_cast<std::size_t>(std::count_if(eventos_.begin() + static_cast<std::ptrdiff_t>(desde),
                                                eventos_.begin() + static_cast<std::ptrdiff_t>(ate),
                                                [](const Evento& e) { return e.tipo == Tipo::Descarga; }));
}

void DiscoSimulado::Aplicar(const Evento& e, std::vector<std::uint8_t>* arquivo) {
  if (e.tipo == Tipo::Truncamento) {
    arquivo->resize(e.pos);
  } else if (e.tipo == Tipo::Gravacao) {
    if (arquivo->size() < e.pos + e.dados.size()) arquivo->resize(e.pos + e.dados.size(), 0);
    std::copy(e.dados.begin(), e.dados.end(), arquivo->begin() + static_cast<std::ptrdiff_t>(e.pos));
  }
}

std::size_t DiscoSimulado::Duravel(std::size_t ate) {
  std::size_t ultima = 0;  // events up to and including the last flush before `ate`
  for (std::size_t i = ate; i-- > 0;)
    if (eventos_[i].tipo == Tipo::Descarga) {
      ultima = i + 1;
      break;
    }
  if (ultima < duravelAte_) {
    duravel_ = inicial_;
    duravelAte_ = 0;
  }
  for (; duravelAte_ < ultima; ++duravelAte_) Aplicar(eventos_[duravelAte_], &duravel_);
  return ultima;
}

std::vector<std::uint8_t> DiscoSimulado::Imagem(std::size_t ate, std::mt19937& rng) {
  const std::size_t desde = Duravel(ate);
  std::vector<std::uint8_t> atual = duravel_;
  std::vector<std::uint64_t> tamanhos{duravel_.size()};
  std::map<std::uint64_t, std::vector<Setor>> versoes;  // each sector: as flushed, then as written
  for (std::size_t i = desde; i < ate; ++i) {
    const Evento& e = eventos_[i];
    Aplicar(e, &atual);
    tamanhos.push_back(atual.size());
    if (e.tipo != Tipo::Gravacao || e.dados.empty()) continue;
    for (std::uint64_t s = e.pos / kSetor; s <= (e.pos + e.dados.size() - 1) / kSetor; ++s) {
      auto& lista = versoes[s];
      if (lista.empty()) lista.push_back(SetorDe(duravel_, s));
      lista.push_back(SetorDe(atual, s));
    }
  }
  // Some images keep most of what was written, some little, some any version at all.
  static constexpr double kManter[] = {0.0, 0.5, 0.9, 1.0};
  const double manter = kManter[rng() % 4];
  std::uniform_real_distribution<double> moeda(0.0, 1.0);
  const std::uint64_t tamanho = tamanhos[rng() % tamanhos.size()];
  std::vector<std::uint8_t> imagem = duravel_;
  imagem.resize(tamanho, 0);
  for (const auto& [indice, lista] : versoes) {
    const std::uint64_t inicio = indice * kSetor;
    if (inicio >= tamanho) break;
    const Setor& escolhido = moeda(rng) < manter ? lista.back() : lista[rng() % lista.size()];
    std::copy_n(escolhido.begin(), std::min<std::uint64_t>(kSetor, tamanho - inicio),
                imagem.begin() + static_cast<std::ptrdiff_t>(inicio));
  }
  return imagem;
}

}  // namespace tavoran::testes
