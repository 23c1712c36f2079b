#include "platform/win32/ImagensLidas.h"

#include <cstring>

#include "platform/Texto.h"
#include "platform/win32/ArquivoImagemPe.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

constexpr char kAssinatura[8] = {'T', 'A', 'V', 'I', 'M', 'G', '0', '1'};
constexpr std::size_t kMaximoGuardadas = 64u << 20;

bool MesmoArquivo(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
  return a.dwFileAttributes == b.dwFileAttributes && a.nFileSizeHigh == b.nFileSizeHigh &&
         a.nFileSizeLow == b.nFileSizeLow && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
         CompareFileTime(&a.ftCreationTime, &b.ftCreationTime) == 0;
}

bool Atributos(const std::string& caminho, WIN32_FILE_ATTRIBUTE_DATA& atributos) {
  return GetFileAttributesExA(ParaCp1252(caminho).c_str(), GetFileExInfoStandard, &atributos) != 0 &&
         (atributos.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The folder of a full path ("X:\folder\name" or "\\server\share\name"); nothing for a
// drive's root, a relative path or a device path.
std::optional<std::string::size_type> FimDaPasta(const std::string& caminho) {
  if (caminho.rfind("\\\\?\\", 0) == 0 || caminho.rfind("\\\\.\\", 0) == 0) return std::nullopt;
  const bool unidade = caminho.size() > 2 && caminho[1] == ':' && (caminho[2] == '\\' || caminho[2] == '/');
  if (!unidade && caminho.rfind("\\\\", 0) != 0) return std::nullopt;
  const auto barra = caminho.find_last_of("\\/");
  if (barra == std::string::npos || barra <= 2) return std::nullopt;
  return barra;
}

std::uint64_t Fnv1a(const char* p, std::size_t n) {
  std::uint64_t h = 14695981039346656037ull;
  for (std::size_t i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(p[i]);
    h *= 1099511628211ull;
  }
  return h;
}

// Little-endian fields of the kept file.
class Gravador {
 public:
  template <class T>
  void Campo(T v) {
    char b[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i));
    saida.append(b, sizeof b);
  }
  void Texto(const std::string& t) {
    Campo(static_cast<std::uint32_t>(t.size()));
    saida += t;
  }
  std::string saida;
};

class Leitura {
 public:
  Leitura(const std::string& bytes, std::size_t fim) : b_(bytes), fim_(fim) {}
  template <class T>
  bool Campo(T& v) {
    if (fim_ - pos_ < sizeof(T)) return false;
    std::uint64_t x = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) x |= std::uint64_t{static_cast<unsigned char>(b_[pos_ + i])} << (8 * i);
    v = static_cast<T>(x);
    pos_ += sizeof(T);
    return true;
  }
  bool Texto(std::string& t) {
    std::uint32_t n = 0;
    if (!Campo(n) || fim_ - pos_ < n) return false;
    t.assign(b_, pos_, n);
    pos_ += n;
    return true;
  }
  bool Saltar(std::size_t n) {
    if (fim_ - pos_ < n) return false;
    pos_ += n;
    return true;
  }

 private:
  const std::string& b_;
  std::size_t fim_, pos_ = 0;
};

void GravarTempo(Gravador& g, const FILETIME& t) {
  g.Campo(t.dwLowDateTime);
  g.Campo(t.dwHighDateTime);
}

bool LerTempo(Leitura& l, FILETIME& t) { return l.Campo(t.dwLowDateTime) && l.Campo(t.dwHighDateTime); }

void GravarEntrada(Gravador& g, const std::string& chave, const WIN32_FILE_ATTRIBUTE_DATA& a, const FichaImagem& f) {
  g.Texto(chave);
  g.Campo(a.dwFileAttributes);
  g.Campo(a.nFileSizeHigh);
  g.Campo(a.nFileSizeLow);
  GravarTempo(g, a.ftCreationTime);
  GravarTempo(g, a.ftLastWriteTime);
  g.Campo(static_cast<std::uint8_t>(f.valida));
  g.Campo(f.maquina);
  g.Campo(static_cast<std::uint8_t>(f.versao.has_value()));
  const VersaoFixa v = f.versao.value_or(VersaoFixa{});
  g.Campo(v.maisSignificativa);
  g.Campo(v.menosSignificativa);
  g.Campo(static_cast<std::uint8_t>(f.typeLib.has_value()));
  const TypeLibPe t = f.typeLib.value_or(TypeLibPe{});
  g.saida.append(reinterpret_cast<const char*>(t.guid.data()), t.guid.size());
  g.Campo(t.versaoMaior);
  g.Campo(t.versaoMenor);
  g.Campo(t.lcid);
  g.Campo(static_cast<std::uint32_t>(f.exporta.size()));
  for (const auto& [nome, sim] : f.exporta) {
    g.Texto(nome);
    g.Campo(static_cast<std::uint8_t>(sim));
  }
}

bool LerEntrada(Leitura& l, std::string& chave, WIN32_FILE_ATTRIBUTE_DATA& a, FichaImagem& f) {
  std::uint8_t valida = 0, temVersao = 0, temTypeLib = 0;
  VersaoFixa v;
  TypeLibPe t;
  std::uint32_t exportacoes = 0;
  if (!l.Texto(chave) || !l.Campo(a.dwFileAttributes) || !l.Campo(a.nFileSizeHigh) || !l.Campo(a.nFileSizeLow) ||
      !LerTempo(l, a.ftCreationTime) || !LerTempo(l, a.ftLastWriteTime) || !l.Campo(valida) ||
      !l.Campo(f.maquina) || !l.Campo(temVersao) || !l.Campo(v.maisSignificativa) ||
      !l.Campo(v.menosSignificativa) || !l.Campo(temTypeLib))
    return false;
  for (std::uint8_t& b : t.guid)
    if (!l.Campo(b)) return false;
  if (!l.Campo(t.versaoMaior) || !l.Campo(t.versaoMenor) || !l.Campo(t.lcid) || !l.Campo(exportacoes)) return false;
  f.valida = valida != 0;
  if (temVersao) f.versao = v;
  if (temTypeLib) f.typeLib = t;
  for (std::uint32_t i = 0; i < exportacoes; ++i) {
    std::string nome;
    std::uint8_t sim = 0;
    if (!l.Texto(nome) || !l.Campo(sim)) return false;
    f.exporta[nome] = sim != 0;
  }
  return true;
}

}  // namespace

ImagensLidas::~ImagensLidas() {
  if (alteradas_) Salvar();
}

std::string ImagensLidas::ArquivoPadrao() {
  char local[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return DeCp1252(std::string(local, n)) + "\\Tavoran\\Componentes.dat";
}

std::string ImagensLidas::NoDisco(const std::string& caminho) {
  const auto barra = FimDaPasta(caminho);
  if (!barra) return caminho;
  const std::string pasta = caminho.substr(0, *barra);
  const std::string chave = Maiusculas(pasta);
  auto achada = pastas_.find(chave);
  if (achada == pastas_.end()) {
    // A folder not found (or not yet made) keeps the spelling it was given: any spelling
    // finds it once it exists, and a missing one is not looked for again at every file.
    char longo[MAX_PATH];
    const DWORD n = GetLongPathNameA(ParaCp1252(pasta).c_str(), longo, MAX_PATH);
    achada = pastas_.emplace(chave, n == 0 || n >= MAX_PATH ? pasta : DeCp1252(std::string(longo, n))).first;
  }
  return achada->second + caminho.substr(*barra);
}

std::shared_ptr<const FichaImagem> ImagensLidas::Ficha(const std::string& caminho, const std::string& funcao) {
  Carregar();
  const std::string noDisco = NoDisco(caminho);
  const std::string chave = Maiusculas(noDisco);
  WIN32_FILE_ATTRIBUTE_DATA atributos{};
  const bool visto = Atributos(noDisco, atributos);
  const auto guardada = fichas_.find(chave);
  const bool igual = visto && guardada != fichas_.end() && MesmoArquivo(guardada->second.atributos, atributos);
  if (igual && (funcao.empty() || guardada->second.ficha->exporta.count(funcao))) return guardada->second.ficha;

  auto ficha = std::make_shared<FichaImagem>();
  {
    const ArquivoImagemPe arquivo(noDisco);
    const ImagemPe& imagem = arquivo.Imagem();
    ficha->erroAbertura = arquivo.ErroAbertura();
    ficha->valida = imagem.Valida();
    if (ficha->valida) {
      ficha->maquina = imagem.Maquina();
      ficha->versao = imagem.Versao();
      ficha->typeLib = imagem.TypeLib();
      if (!funcao.empty()) ficha->exporta[funcao] = imagem.Exporta(funcao);
    }
  }
  if (!visto || ficha->erroAbertura != 0) return ficha;
  if (igual) ficha->exporta.insert(guardada->second.ficha->exporta.begin(), guardada->second.ficha->exporta.end());
  Guardar(chave, atributos, ficha);
  return ficha;
}

void ImagensLidas::Guardar(const std::string& chave, const WIN32_FILE_ATTRIBUTE_DATA& atributos,
                           std::shared_ptr<FichaImagem> ficha) {
  if (fichas_.size() >= kLimite && !fichas_.count(chave)) fichas_.clear();
  fichas_[chave] = {atributos, std::move(ficha)};
  alteradas_ = true;
}

void ImagensLidas::Esquecer(const std::string& caminho) {
  if (fichas_.erase(Maiusculas(NoDisco(caminho)))) alteradas_ = true;
}

// The source must still be as its answers were read; the destination's own attributes key
// them from now on.
void ImagensLidas::Transferir(const std::string& origem, const std::string& destino) {
  Esquecer(destino);
  const auto guardada = fichas_.find(Maiusculas(NoDisco(origem)));
  WIN32_FILE_ATTRIBUTE_DATA deOrigem{}, deDestino{};
  if (guardada == fichas_.end() || !Atributos(NoDisco(destino), deDestino)) return;
  const bool renomeada = !Atributos(NoDisco(origem), deOrigem);
  if (!renomeada && !MesmoArquivo(guardada->second.atributos, deOrigem)) return;
  auto ficha = guardada->second.ficha;
  if (renomeada) fichas_.erase(guardada);
  Guardar(Maiusculas(NoDisco(destino)), deDestino, std::move(ficha));
}

void ImagensLidas::Carregar() {
  if (carregadas_ || guardadas_.empty()) return;
  carregadas_ = true;
  Handle h(CreateFileA(ParaCp1252(guardadas_).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER tamanho{};
  if (!h.Valido() || !GetFileSizeEx(h.get(), &tamanho) || tamanho.QuadPart < 20 ||
      tamanho.QuadPart > static_cast<LONGLONG>(kMaximoGuardadas))
    return;
  std::string bytes(static_cast<std::size_t>(tamanho.QuadPart), '\0');
  DWORD lidos = 0;
  if (!ReadFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &lidos, nullptr) || lidos != bytes.size())
    return;
  // A damaged or foreign file is ignored: the answers are read again from the components.
  const std::size_t corpo = bytes.size() - 8;
  std::uint64_t soma = 0;
  Leitura final(bytes, bytes.size());
  if (!final.Saltar(corpo) || !final.Campo(soma) || soma != Fnv1a(bytes.data(), corpo) ||
      std::memcmp(bytes.data(), kAssinatura, sizeof kAssinatura) != 0)
    return;
  Leitura l(bytes, corpo);
  std::uint32_t quantidade = 0;
  if (!l.Saltar(sizeof kAssinatura) || !l.Campo(quantidade)) return;
  std::unordered_map<std::string, Guardada> lidas;
  for (std::uint32_t i = 0; i < quantidade && i < kLimite; ++i) {
    std::string chave;
    Guardada g;
    g.ficha = std::make_shared<FichaImagem>();
    if (!LerEntrada(l, chave, g.atributos, *g.ficha)) return;
    lidas[chave] = std::move(g);
  }
  fichas_ = std::move(lidas);
}

// Written beside the kept file and renamed over it: a run that reads it meanwhile finds the
// old answers or the new ones, never part of them. A failure leaves the old file.
void ImagensLidas::Salvar() const {
  if (guardadas_.empty()) return;
  Gravador g;
  g.saida.append(kAssinatura, sizeof kAssinatura);
  g.Campo(static_cast<std::uint32_t>(fichas_.size()));
  for (const auto& [chave, guardada] : fichas_) GravarEntrada(g, chave, guardada.atributos, *guardada.ficha);
  g.Campo(Fnv1a(g.saida.data(), g.saida.size()));

  const auto barra = guardadas_.find_last_of('\\');
  if (barra != std::string::npos) {
    const std::string pasta = guardadas_.substr(0, barra);
    CreateDirectoryA(ParaCp1252(pasta.substr(0, pasta.find_last_of('\\'))).c_str(), nullptr);
    CreateDirectoryA(ParaCp1252(pasta).c_str(), nullptr);
  }
  const std::string temporario = guardadas_ + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  {
    Handle h(CreateFileA(ParaCp1252(temporario).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD escritos = 0;
    if (!h.Valido()) return;
    if (!WriteFile(h.get(), g.saida.data(), static_cast<DWORD>(g.saida.size()), &escritos, nullptr) ||
        escritos != g.saida.size()) {
      h.Fechar();
      DeleteFileA(ParaCp1252(temporario).c_str());
      return;
    }
  }
  if (!MoveFileExA(ParaCp1252(temporario).c_str(), ParaCp1252(guardadas_).c_str(), MOVEFILE_REPLACE_EXISTING))
    DeleteFileA(ParaCp1252(temporario).c_str());
}

}  // namespace tavoran::win32
