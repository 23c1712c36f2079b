#include "platform/ImagemPe.h"

#include <cstring>
#include <vector>

namespace tavoran {
namespace {

constexpr std::uint32_t kAssinaturaPe = 0x00004550;       // "PE\0\0"
constexpr std::uint16_t kAssinaturaMz = 0x5A4D;           // "MZ"
constexpr std::uint16_t kOpcionalPe32 = 0x10B;
constexpr std::uint16_t kOpcionalPe32Mais = 0x20B;
constexpr std::uint32_t kAssinaturaVersao = 0xFEEF04BD;  // VS_FIXEDFILEINFO
constexpr std::uint16_t kTipoVersao = 16;                // RT_VERSION
constexpr std::uint32_t kSubdiretorio = 0x80000000u;
constexpr std::size_t kTamanhoSecao = 40;
constexpr std::size_t kMaximoNome = 256;
constexpr std::uint32_t kMaximoNomesExportados = 65536;
constexpr std::uint32_t kMaximoEntradasRecurso = 4096;
constexpr std::uint32_t kMaximoDiretorio = 4u << 20;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

ImagemPe::ImagemPe(Leitor leitor, std::uint64_t tamanho) : leitor_(std::move(leitor)), tamanho_(tamanho) {
  valida_ = LerCabecalhos();
}

bool ImagemPe::LerCabecalhos() {
  unsigned char dos[64];
  if (tamanho_ < sizeof dos || !leitor_(0, dos, sizeof dos) || U16(dos) != kAssinaturaMz) return false;
  const std::uint32_t nt = U32(dos + 60);
  unsigned char cabecalho[24];
  if (!leitor_(nt, cabecalho, sizeof cabecalho) || U32(cabecalho) != kAssinaturaPe) return false;
  maquina_ = U16(cabecalho + 4);
  const std::uint16_t numeroSecoes = U16(cabecalho + 6);
  const std::uint16_t tamanhoOpcional = U16(cabecalho + 20);
  std::vector<unsigned char> opcional(tamanhoOpcional);
  if (tamanhoOpcional < 2 || !leitor_(nt + 24, opcional.data(), opcional.size())) return false;
  const std::uint16_t magia = U16(opcional.data());
  const std::size_t inicioDiretorios = magia == kOpcionalPe32 ? 96 : magia == kOpcionalPe32Mais ? 112 : 0;
  if (inicioDiretorios == 0 || opcional.size() < inicioDiretorios + 4) return false;
  const std::uint32_t numeroDiretorios = U32(opcional.data() + inicioDiretorios - 4);
  auto diretorio = [&](std::uint32_t i) {
    const std::size_t p = inicioDiretorios + 8 * i;
    if (i >= numeroDiretorios || p + 8 > opcional.size()) return Diretorio{};
    return Diretorio{U32(opcional.data() + p), U32(opcional.data() + p + 4)};
  };
  exportacoes_ = diretorio(0);
  recursos_ = diretorio(2);
  std::vector<unsigned char> tabela(static_cast<std::size_t>(numeroSecoes) * kTamanhoSecao);
  if (!leitor_(nt + 24 + tamanhoOpcional, tabela.data(), tabela.size())) return false;
  for (std::uint16_t i = 0; i < numeroSecoes; ++i) {
    const unsigned char* secao = tabela.data() + i * kTamanhoSecao;
    const Secao s{U32(secao + 12), U32(secao + 8), U32(secao + 16), U32(secao + 20)};
    // A file cut short somewhere in its sections is no library.
    if (s.tamanhoBruto != 0 && static_cast<std::uint64_t>(s.deslocamento) + s.tamanhoBruto > tamanho_) return false;
    secoes_.push_back(s);
  }
  return true;
}

std::optional<std::uint64_t> ImagemPe::Deslocamento(std::uint32_t rva) const {
  for (const Secao& s : secoes_)
    if (rva >= s.inicio && rva - s.inicio < s.tamanhoBruto) return static_cast<std::uint64_t>(s.deslocamento) + (rva - s.inicio);
  return std::nullopt;
}

bool ImagemPe::LerRva(std::uint32_t rva, void* destino, std::size_t n) const {
  const auto deslocamento = Deslocamento(rva);
  return deslocamento && *deslocamento + n <= tamanho_ && leitor_(*deslocamento, destino, n);
}

// The export directory is read at once; names outside it are read one by one.
bool ImagemPe::Exporta(const std::string& nome) const {
  if (!valida_ || exportacoes_.rva == 0 || exportacoes_.tamanho < 40 || nome.size() >= kMaximoNome) return false;
  std::vector<unsigned char> diretorio(exportacoes_.tamanho < kMaximoDiretorio ? exportacoes_.tamanho : kMaximoDiretorio);
  if (!LerRva(exportacoes_.rva, diretorio.data(), diretorio.size())) return false;
  const std::uint32_t numeroNomes = U32(diretorio.data() + 24), nomes = U32(diretorio.data() + 32);
  if (numeroNomes > kMaximoNomesExportados) return false;
  std::vector<unsigned char> enderecos(static_cast<std::size_t>(numeroNomes) * 4);
  if (!LerRva(nomes, enderecos.data(), enderecos.size())) return false;
  std::vector<char> lido(nome.size() + 1);
  for (std::uint32_t i = 0; i < numeroNomes; ++i) {
    const std::uint32_t rva = U32(enderecos.data() + 4 * i);
    const std::uint64_t dentro = static_cast<std::uint64_t>(rva) - exportacoes_.rva;
    if (rva >= exportacoes_.rva && dentro + lido.size() <= diretorio.size())
      std::memcpy(lido.data(), diretorio.data() + dentro, lido.size());
    else if (!LerRva(rva, lido.data(), lido.size()))
      continue;
    if (std::memcmp(lido.data(), nome.c_str(), nome.size() + 1) == 0) return true;
  }
  return false;
}

std::optional<std::uint32_t> ImagemPe::EntradaRecurso(std::uint32_t diretorio,
                                                      std::optional<std::uint16_t> id) const {
  unsigned char cabecalho[16];
  if (!LerRva(recursos_.rva + diretorio, cabecalho, sizeof cabecalho)) return std::nullopt;
  const std::uint32_t entradas = static_cast<std::uint32_t>(U16(cabecalho + 12)) + U16(cabecalho + 14);
  for (std::uint32_t i = 0; i < entradas && i < kMaximoEntradasRecurso; ++i) {
    unsigned char entrada[8];
    if (!LerRva(recursos_.rva + diretorio + 16 + 8 * i, entrada, sizeof entrada)) return std::nullopt;
    const std::uint32_t nome = U32(entrada);
    if (!id || (!(nome & kSubdiretorio) && nome == *id)) return U32(entrada + 4);
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ImagemPe::EntradaRecursoNomeada(std::uint32_t diretorio, const std::string& nome) const {
  unsigned char cabecalho[16];
  if (!LerRva(recursos_.rva + diretorio, cabecalho, sizeof cabecalho)) return std::nullopt;
  // Named entries come before the numbered ones.
  const std::uint32_t nomeadas = U16(cabecalho + 12);
  for (std::uint32_t i = 0; i < nomeadas && i < kMaximoEntradasRecurso; ++i) {
    unsigned char entrada[8];
    if (!LerRva(recursos_.rva + diretorio + 16 + 8 * i, entrada, sizeof entrada)) return std::nullopt;
    const std::uint32_t deslocamentoNome = U32(entrada) & ~kSubdiretorio;
    unsigned char texto[2 + 2 * kMaximoNome];
    if (!(U32(entrada) & kSubdiretorio) || !LerRva(recursos_.rva + deslocamentoNome, texto, 2)) continue;
    if (U16(texto) != nome.size() || !LerRva(recursos_.rva + deslocamentoNome + 2, texto + 2, 2 * nome.size()))
      continue;
    bool igual = true;
    for (std::size_t c = 0; c < nome.size() && igual; ++c) {
      std::uint16_t u = U16(texto + 2 + 2 * c);
      if (u >= 'a' && u <= 'z') u = static_cast<std::uint16_t>(u - 'a' + 'A');
      igual = u == static_cast<unsigned char>(nome[c]);
    }
    if (igual) return U32(entrada + 4);
  }
  return std::nullopt;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ImagemPe::DadosRecurso(std::optional<std::uint32_t> tipo,
                                                                            std::optional<std::uint16_t> id) const {
  // Type, then the name, then the first language: three levels down to the data.
  std::optional<std::uint32_t> nivel = tipo;
  for (int profundidade = 0; profundidade < 2; ++profundidade) {
    if (!nivel || !(*nivel & kSubdiretorio)) return std::nullopt;
    nivel = EntradaRecurso(*nivel & ~kSubdiretorio, profundidade == 0 ? id : std::nullopt);
  }
  unsigned char dados[16];
  if (!nivel || (*nivel & kSubdiretorio) || !LerRva(recursos_.rva + *nivel, dados, sizeof dados))
    return std::nullopt;
  return std::make_pair(U32(dados), U32(dados + 4));
}

std::optional<TypeLibPe> ImagemPe::TypeLib() const {
  if (!valida_ || recursos_.rva == 0) return std::nullopt;
  const auto dados = DadosRecurso(EntradaRecursoNomeada(0, "TYPELIB"), 1);
  if (!dados) return std::nullopt;
  const auto [rva, tamanho] = *dados;
  // The header: magic, format, place of the library's GUID in the GUID table, two locales,
  // flags, version, ..., the number of type descriptions at 0x20.
  constexpr std::uint32_t kAssinaturaMsft = 0x5446534D;  // "MSFT"
  constexpr std::uint32_t kTamanhoCabecalho = 0x54, kComDllDeAjuda = 0x100, kMaximoTipos = 1u << 20;
  unsigned char c[kTamanhoCabecalho];
  if (tamanho < sizeof c || !LerRva(rva, c, sizeof c) || U32(c) != kAssinaturaMsft) return std::nullopt;
  const std::uint32_t posicaoGuid = U32(c + 8), tipos = U32(c + 0x20);
  if (tipos > kMaximoTipos) return std::nullopt;
  // After the header: the help library's name when flagged, the offsets of the type
  // descriptions, then the segment directory, whose sixth entry is the GUID table.
  const std::uint64_t segmentos = kTamanhoCabecalho + ((U32(c + 0x14) & kComDllDeAjuda) ? 4 : 0) + 4ull * tipos;
  unsigned char tabela[8];
  if (segmentos + 5 * 16 + sizeof tabela > tamanho || !LerRva(rva + static_cast<std::uint32_t>(segmentos + 5 * 16), tabela, sizeof tabela))
    return std::nullopt;
  const std::uint32_t inicioGuids = U32(tabela), tamanhoGuids = U32(tabela + 4);
  if (inicioGuids > tamanho || tamanhoGuids > tamanho - inicioGuids || posicaoGuid > tamanhoGuids ||
      tamanhoGuids - posicaoGuid < 16)
    return std::nullopt;
  TypeLibPe lida;
  if (!LerRva(rva + inicioGuids + posicaoGuid, lida.guid.data(), lida.guid.size())) return std::nullopt;
  const std::uint32_t versao = U32(c + 0x18);
  lida.versaoMaior = static_cast<std::uint16_t>(versao & 0xFFFF);
  lida.versaoMenor = static_cast<std::uint16_t>(versao >> 16);
  lida.lcid = U32(c + 0x10);  // the locale the library was given, not the one it was built in
  return lida;
}

std::optional<VersaoFixa> ImagemPe::Versao() const {
  if (!valida_ || recursos_.rva == 0) return std::nullopt;
  const auto dados = DadosRecurso(EntradaRecurso(0, kTipoVersao), std::nullopt);
  if (!dados) return std::nullopt;
  const auto [rvaDados, tamanhoDados] = *dados;
  // VS_VERSIONINFO: length, value length, type, "VS_VERSION_INFO\0" in UTF-16, aligned to 4.
  constexpr std::size_t kInicioFixo = 40;
  unsigned char bloco[kInicioFixo + 52];
  if (tamanhoDados < sizeof bloco || !LerRva(rvaDados, bloco, sizeof bloco)) return std::nullopt;
  if (U16(bloco + 2) < 52 || U32(bloco + kInicioFixo) != kAssinaturaVersao) return std::nullopt;
  return VersaoFixa{U32(bloco + kInicioFixo + 8), U32(bloco + kInicioFixo + 12)};
}

}  // namespace tavoran
