#include "tests/fakes/MotorBtrieveFalso.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/Texto.h"

namespace tavoran::testes {
namespace {

std::int16_t Le16(const char* p) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
}

void Grava16(char* p, int v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

std::string MotorBtrieveFalso::ValorChave(const Chave& c, const std::string& registro) {
  std::string v;
  for (const Segmento& s : c.segmentos) v += registro.substr(s.posicao, s.tamanho);
  return v;
}

std::vector<long> MotorBtrieveFalso::Ordem(const ArquivoBtr& f, std::size_t chave) const {
  std::vector<long> ids;
  for (const auto& [id, r] : f.registros) ids.push_back(id);
  std::stable_sort(ids.begin(), ids.end(), [&](long a, long b) {
    return ValorChave(f.chaves[chave], f.registros.at(a)) < ValorChave(f.chaves[chave], f.registros.at(b));
  });
  return ids;
}

std::vector<std::string> MotorBtrieveFalso::Registros(const std::string& arquivo, std::size_t chave) {
  std::vector<std::string> saida;
  const ArquivoBtr& f = arquivos.at(Maiusculas(arquivo));
  for (long id : Ordem(f, chave)) saida.push_back(f.registros.at(id));
  return saida;
}

bool MotorBtrieveFalso::Aberto(const std::string& arquivo) const {
  for (const auto& [n, a] : aberturas_)
    if (a.arquivo == Maiusculas(arquivo)) return true;
  return false;
}

MotorBtrieveFalso::Abertura* MotorBtrieveFalso::DoBloco(const void* bloco) {
  int id = 0;
  char texto[9] = {};
  std::memcpy(texto, bloco, 8);
  if (std::sscanf(texto, "FALSO%d", &id) != 1) return nullptr;
  const auto a = aberturas_.find(id);
  return a == aberturas_.end() ? nullptr : &a->second;
}

std::int16_t MotorBtrieveFalso::Criar(const std::string& nome, const char* e, std::int8_t numeroChave) {
  if (numeroChave == -1 && arquivos.count(nome)) return 59;
  ArquivoBtr f;
  f.tamanhoRegistro = static_cast<std::size_t>(Le16(e));
  f.tamanhoPagina = Le16(e + 2);
  const int chaves = Le16(e + 4);
  Chave atual;
  for (int s = 0; s < 119 && static_cast<int>(f.chaves.size()) < chaves; ++s) {
    const char* k = e + 16 + s * 16;
    const int flags = Le16(k + 4);
    atual.segmentos.push_back({static_cast<std::size_t>(Le16(k) - 1), static_cast<std::size_t>(Le16(k + 2))});
    atual.duplicadas = atual.duplicadas || (flags & 1) || flags == 256;
    atual.modificavel = atual.modificavel || (flags & 2);
    if (!(flags & 16)) {
      f.chaves.push_back(atual);
      atual = {};
    }
  }
  if (static_cast<int>(f.chaves.size()) != chaves) return 26;
  arquivos[nome] = f;
  return 0;
}

std::int16_t MotorBtrieveFalso::Abrir(const std::string& nome, char* bloco, std::int8_t modo) {
  if (danificados.count(nome)) return 2;
  if (!arquivos.count(nome)) return 12;
  if (exclusivosDeOutros.count(nome)) return 88;
  for (const auto& [n, a] : aberturas_)
    if (a.arquivo == nome && (a.exclusivo || modo == -4)) return 88;
  const int id = proximaAbertura_++;
  aberturas_[id] = {nome, modo == -4, 0, 0};
  char texto[32];
  std::snprintf(texto, sizeof texto, "FALSO%03d", id);
  std::memcpy(bloco, texto, std::strlen(texto));
  return 0;
}

std::int16_t MotorBtrieveFalso::Gravar(Abertura& a, bool inserir, const char* dados, std::uint32_t tamanho,
                                       char* chave) {
  ArquivoBtr& f = arquivos.at(a.arquivo);
  if (!inserir && a.atual == 0) return 8;
  if (tamanho < f.tamanhoRegistro) return 22;
  std::string registro(dados, f.tamanhoRegistro);
  for (std::size_t k = 0; k < f.chaves.size(); ++k) {
    const std::string v = ValorChave(f.chaves[k], registro);
    if (!inserir && !f.chaves[k].modificavel && v != ValorChave(f.chaves[k], f.registros.at(a.atual))) return 10;
    if (f.chaves[k].duplicadas) continue;
    for (const auto& [id, r] : f.registros)
      if ((inserir || id != a.atual) && ValorChave(f.chaves[k], r) == v) return 5;
  }
  const long id = inserir ? f.proximoId++ : a.atual;
  f.registros[id] = registro;
  a.atual = id;
  if (inserir) {
    const std::string v = ValorChave(f.chaves[a.chaveAtual], registro);
    std::memcpy(chave, v.data(), std::min<std::size_t>(v.size(), 255));
  }
  return 0;
}

std::int16_t MotorBtrieveFalso::Ler(Abertura& a, int operacao, char* dados, std::uint32_t* tamanhoDados, char* chave,
                                    std::uint8_t tamanhoChave, std::int8_t numeroChave) {
  ArquivoBtr& f = arquivos.at(a.arquivo);
  if (numeroChave < 0 || static_cast<std::size_t>(numeroChave) >= f.chaves.size()) return 6;
  const Chave& k = f.chaves[static_cast<std::size_t>(numeroChave)];
  const std::vector<long> ordem = Ordem(f, static_cast<std::size_t>(numeroChave));
  std::size_t tamanhoValor = 0;
  for (const Segmento& s : k.segmentos) tamanhoValor += s.tamanho;
  if (tamanhoChave < tamanhoValor) return 21;
  const std::string procurado(chave, tamanhoValor);
  auto valor = [&](long id) { return ValorChave(k, f.registros.at(id)); };
  long achado = 0;
  const auto posicaoAtual = std::find(ordem.begin(), ordem.end(), a.atual);
  switch (operacao) {
    case 5:
      for (long id : ordem)
        if (!achado && valor(id) == procurado) achado = id;
      if (!achado) {
        a.atual = 0;  // a failed Get Equal leaves no current record
        return 4;
      }
      break;
    case 6:
    case 7:
      if (a.atual == 0 || posicaoAtual == ordem.end() || a.chaveAtual != static_cast<std::size_t>(numeroChave))
        return 8;
      if (operacao == 6 && posicaoAtual + 1 != ordem.end()) achado = *(posicaoAtual + 1);
      if (operacao == 7 && posicaoAtual != ordem.begin()) achado = *(posicaoAtual - 1);
      if (!achado) return 9;
      break;
    case 8:
    case 9:
      for (long id : ordem)
        if (!achado && (valor(id) > procurado || (operacao == 9 && valor(id) == procurado))) achado = id;
      if (!achado) return 9;
      break;
    case 10:
    case 11:
      for (long id : ordem)
        if (valor(id) < procurado || (operacao == 11 && valor(id) == procurado)) achado = id;
      if (!achado) return 9;
      break;
    case 12:
    case 13:
      if (ordem.empty()) return 9;
      achado = operacao == 12 ? ordem.front() : ordem.back();
      break;
    default:
      return 1;
  }
  const std::string& r = f.registros.at(achado);
  if (*tamanhoDados < r.size()) return 22;
  std::memcpy(dados, r.data(), r.size());
  *tamanhoDados = static_cast<std::uint32_t>(r.size());
  const std::string v = valor(achado);
  std::memcpy(chave, v.data(), v.size());
  a.atual = achado;
  a.chaveAtual = static_cast<std::size_t>(numeroChave);
  return 0;
}

std::int16_t MotorBtrieveFalso::Estatisticas(ArquivoBtr& f, char* d) {
  std::memset(d, 0, 1920);
  Grava16(d, static_cast<int>(f.tamanhoRegistro));
  Grava16(d + 2, f.tamanhoPagina);
  Grava16(d + 4, static_cast<int>(f.chaves.size()));
  const auto n = static_cast<std::uint32_t>(f.registros.size());
  for (int i = 0; i < 4; ++i) d[6 + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  int s = 0;
  for (const Chave& k : f.chaves)
    for (std::size_t i = 0; i < k.segmentos.size(); ++i, ++s) {
      char* e = d + 16 + s * 16;
      Grava16(e, static_cast<int>(k.segmentos[i].posicao + 1));
      Grava16(e + 2, static_cast<int>(k.segmentos[i].tamanho));
      const bool ultimo = i + 1 == k.segmentos.size();
      Grava16(e + 4, 256 + (k.duplicadas ? 1 : 0) + (k.modificavel ? 2 : 0) + (ultimo ? 0 : 16));
    }
  return 0;
}

std::int16_t MotorBtrieveFalso::Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados,
                                       std::uint32_t* tamanhoDados, void* chave, std::uint8_t tamanhoChave,
                                       std::int8_t numeroChave) {
  ++chamadas;
  char* bloco = static_cast<char*>(blocoPosicao);
  char* d = static_cast<char*>(dados);
  char* k = static_cast<char*>(chave);
  const int base = operacao % 100 + (operacao >= 1000 ? 1000 : 0);
  if ((base == 0 || base == 14) && espelho) {
    // A file removed from the mirrored file system is gone for the engine too.
    const std::string nome = Maiusculas(AteNulo(std::string(k, tamanhoChave)));
    if (!espelho->ExisteArquivo(DeCp1252(nome))) arquivos.erase(nome);
  }
  switch (base) {
    case 14: {
      const std::string nome = AteNulo(std::string(k, tamanhoChave));
      const std::int16_t status = Criar(Maiusculas(nome), d, numeroChave);
      if (status == 0 && espelho) espelho->CriarArquivo(DeCp1252(nome));
      return status;
    }
    case 0:
      return Abrir(Maiusculas(AteNulo(std::string(k, tamanhoChave))), bloco, numeroChave);
    case 26:
      std::memcpy(d, versao.data(), std::min<std::size_t>(versao.size(), *tamanhoDados));
      return 0;
    case 28:
      return 0;
    case 19:
    case 1019:
      if (emTransacao_) return 37;
      emTransacao_ = true;
      copiaTransacao_ = arquivos;
      return 0;
    case 20:
    case 21:
      if (!emTransacao_) return 39;
      emTransacao_ = false;
      if (base == 21) arquivos = copiaTransacao_;
      return 0;
    default:
      break;
  }
  Abertura* a = DoBloco(bloco);
  if (a == nullptr) return 3;
  switch (base) {
    case 1:
      for (auto i = aberturas_.begin(); i != aberturas_.end(); ++i)
        if (&i->second == a) {
          aberturas_.erase(i);
          break;
        }
      return 0;
    case 2:
      if (statusInserirForcado != 0) return std::exchange(statusInserirForcado, 0);
      if (insercoesAteFalha == 0) return 18;
      if (insercoesAteFalha > 0) --insercoesAteFalha;
      return Gravar(*a, true, d, *tamanhoDados, k);
    case 3:
      return Gravar(*a, false, d, *tamanhoDados, k);
    case 4:
      if (a->atual == 0) return 8;
      arquivos.at(a->arquivo).registros.erase(a->atual);
      a->atual = 0;
      return 0;
    case 15:
      return Estatisticas(arquivos.at(a->arquivo), d);
    case 27:
      return 0;
    default:
      if (base >= 5 && base <= 13) return Ler(*a, base, d, tamanhoDados, k, tamanhoChave, numeroChave);
      return 1;
  }
}

}  // namespace tavoran::testes
