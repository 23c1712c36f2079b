#include "engine/CopiaLocal.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <random>

#include "engine/ArquivoSO.h"
#include "engine/Bytes.h"
#include "engine/Crc32.h"
#include "engine/Paginador.h"

namespace tavoran::motor {

namespace {

constexpr char kAssinaturaCopia[8] = {'T', 'A', 'V', 'C', 'O', 'P', 'I', 'A'};
constexpr std::uint32_t kVersaoCopia = 1;

// The same file under another spelling of its path is the same copy on Windows.
std::string Normalizado(const std::string& caminho) {
  std::string n = caminho;
#ifdef _WIN32
  for (char& c : n) {
    if (c == '/') c = '\\';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
#endif
  return n;
}

std::string NaPasta(const std::string& pasta, const std::string& nome) {
  if (pasta.empty() || pasta.back() == '/' || pasta.back() == ArquivoSO::kSeparador) return pasta + nome;
  return pasta + ArquivoSO::kSeparador + nome;
}

// FNV-1a of the normalised path names the copy; the path inside tells collisions apart.
std::string NomeDaCopia(const std::string& pasta, const std::string& arquivo) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : Normalizado(arquivo)) {
    h ^= c;
    h *= 1099511628211ull;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string nome(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4) nome[static_cast<std::size_t>(i)] = kHex[h & 15];
  return NaPasta(pasta, nome + ".tcl");
}

class Escritor {
 public:
  void Bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    saida_.insert(saida_.end(), b, b + n);
  }
  void U32(std::uint32_t v) {
    std::uint8_t b[4];
    Grava32(b, v);
    Bytes(b, 4);
  }
  void U64(std::uint64_t v) {
    std::uint8_t b[8];
    Grava64(b, v);
    Bytes(b, 8);
  }
  std::vector<std::uint8_t>& Saida() { return saida_; }

 private:
  std::vector<std::uint8_t> saida_;
};

class Leitor {
 public:
  Leitor(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
  bool Bytes(void* destino, std::size_t n) {
    if (n > n_ - pos_) return false;
    std::copy_n(p_ + pos_, n, static_cast<std::uint8_t*>(destino));
    pos_ += n;
    return true;
  }
  bool U32(std::uint32_t* v) {
    std::uint8_t b[4];
    if (!Bytes(b, 4)) return false;
    *v = Le32(b);
    return true;
  }
  bool U64(std::uint64_t* v) {
    std::uint8_t b[8];
    if (!Bytes(b, 8)) return false;
    *v = Le64(b);
    return true;
  }
  std::size_t Restante() const { return n_ - pos_; }

 private:
  const std::uint8_t* p_;
  std::size_t n_;
  std::size_t pos_ = 0;
};

bool TamanhoPaginaValido(std::uint32_t t) { return t >= 4096 && t <= 32768 && std::has_single_bit(t); }

// A copy holds at most kLimiteCopiaLocal bytes of pages; a file far larger is not one.
constexpr std::uint64_t kMaiorArquivoCopia = 4 * kLimiteCopiaLocal + (1u << 20);

std::optional<std::vector<std::uint8_t>> LerArquivo(const std::string& caminho) {
  ArquivoSO arquivo;
  if (arquivo.Abrir(caminho, Criacao::Existente, false, true) != ResultadoAbertura::Ok) return std::nullopt;
  std::uint64_t tamanho = 0;
  if (!arquivo.Tamanho(&tamanho) || tamanho > kMaiorArquivoCopia) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(tamanho));
  std::size_t lidos = 0;
  if (!arquivo.Ler(0, bytes.data(), bytes.size(), &lidos) || lidos != bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::string> PastaCopiasLocais() {
  if (const char* v = std::getenv("TAV_BTRIEVE_COPIAS")) {
    if (v[0] == '\0' || (v[0] == '0' && v[1] == '\0')) return std::nullopt;
    return std::string(v);
  }
#ifdef _WIN32
  if (const char* local = std::getenv("LOCALAPPDATA"); local != nullptr && local[0] != '\0')
    return NaPasta(NaPasta(local, "Tavoran"), "Btrieve");
#endif
  return std::nullopt;
}

std::vector<std::uint8_t> CodificarCopiaLocal(const CopiaLocal& copia) {
  Escritor e;
  e.Bytes(kAssinaturaCopia, sizeof kAssinaturaCopia);
  e.U32(kVersaoCopia);
  e.U32(static_cast<std::uint32_t>(copia.arquivo.size()));
  e.Bytes(copia.arquivo.data(), copia.arquivo.size());
  e.U32(copia.tamanhoPagina);
  e.U64(copia.tamanho);
  e.U64(copia.alteracao);
  e.U32(static_cast<std::uint32_t>(copia.cabecalho.size()));
  e.Bytes(copia.cabecalho.data(), copia.cabecalho.size());
  e.U32(static_cast<std::uint32_t>(copia.paginas.size()));
  for (const PaginaCopiada& p : copia.paginas) {
    e.U32(p.numero);
    e.U64(p.blocos);
    for (std::size_t b = 0; b * kTamanhoBloco < p.dados.size(); ++b)
      if (p.blocos >> b & 1) e.Bytes(p.dados.data() + b * kTamanhoBloco, kTamanhoBloco);
  }
  e.U32(Crc32(e.Saida().data(), e.Saida().size()));
  return std::move(e.Saida());
}

std::optional<CopiaLocal> DecodificarCopiaLocal(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < sizeof kAssinaturaCopia + 8) return std::nullopt;
  const std::size_t corpo = bytes.size() - 4;
  if (Crc32(bytes.data(), corpo) != Le32(bytes.data() + corpo)) return std::nullopt;
  Leitor l(bytes.data(), corpo);
  char assinatura[8];
  std::uint32_t versao = 0, tamArquivo = 0, tamCabecalho = 0, paginas = 0;
  CopiaLocal c;
  if (!l.Bytes(assinatura, 8) || !std::equal(assinatura, assinatura + 8, kAssinaturaCopia) || !l.U32(&versao) ||
      versao != kVersaoCopia || !l.U32(&tamArquivo) || tamArquivo > l.Restante())
    return std::nullopt;
  c.arquivo.resize(tamArquivo);
  if (!l.Bytes(c.arquivo.data(), tamArquivo) || !l.U32(&c.tamanhoPagina) || !TamanhoPaginaValido(c.tamanhoPagina) ||
      !l.U64(&c.tamanho) || !l.U64(&c.alteracao) || !l.U32(&tamCabecalho) || tamCabecalho > l.Restante())
    return std::nullopt;
  c.cabecalho.resize(tamCabecalho);
  if (!l.Bytes(c.cabecalho.data(), tamCabecalho) || !l.U32(&paginas)) return std::nullopt;
  const std::size_t blocosPorPagina = c.tamanhoPagina / kTamanhoBloco;
  for (std::uint32_t i = 0; i < paginas; ++i) {
    PaginaCopiada p;
    if (!l.U32(&p.numero) || p.numero == 0 || !l.U64(&p.blocos)) return std::nullopt;
    if (blocosPorPagina < 64 && (p.blocos >> blocosPorPagina) != 0) return std::nullopt;
    p.dados.assign(c.tamanhoPagina, 0);
    for (std::size_t b = 0; b < blocosPorPagina; ++b)
      if ((p.blocos >> b & 1) && !l.Bytes(p.dados.data() + b * kTamanhoBloco, kTamanhoBloco)) return std::nullopt;
    c.paginas.push_back(std::move(p));
  }
  if (l.Restante() != 0) return std::nullopt;
  return c;
}

std::optional<CopiaLocal> LerCopiaLocal(const std::string& pasta, const std::string& arquivo) {
  const std::optional<std::vector<std::uint8_t>> bytes = LerArquivo(NomeDaCopia(pasta, arquivo));
  if (!bytes) return std::nullopt;
  std::optional<CopiaLocal> copia = DecodificarCopiaLocal(*bytes);
  if (!copia || Normalizado(copia->arquivo) != Normalizado(arquivo)) return std::nullopt;
  return copia;
}

void GravarCopiaLocal(const std::string& pasta, const CopiaLocal& copia) {
  if (!ArquivoSO::CriarPastas(pasta)) return;
  const std::string destino = NomeDaCopia(pasta, copia.arquivo);
  // Written whole under a name of this writer's own, then renamed over the old copy: a
  // reader finds the old copy or the new one, never half of one.
  std::random_device aleatorio;
  const std::string temporario = destino + "." + std::to_string(aleatorio()) + ".tmp";
  {
    ArquivoSO saida;
    if (saida.Abrir(temporario, Criacao::Nova, true) != ResultadoAbertura::Ok) return;
    const std::vector<std::uint8_t> bytes = CodificarCopiaLocal(copia);
    if (!saida.Gravar(0, bytes.data(), bytes.size())) {
      saida.Fechar();
      ArquivoSO::Excluir(temporario);
      return;
    }
  }
  if (!ArquivoSO::Renomear(temporario, destino)) ArquivoSO::Excluir(temporario);
}

}  // namespace tavoran::motor
