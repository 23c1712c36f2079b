#include "engine/Cabecalho.h"

#include <cstring>

#include "engine/Bytes.h"
#include "engine/Crc32.h"
#include "engine/Status.h"

namespace tavoran::motor {

namespace {
constexpr std::size_t kPosMarcador = 24;
constexpr std::size_t kPosChaves = 96;
constexpr std::size_t kPosSegmentos = 1056;
constexpr std::size_t kPosCrcFormato1 = kTamanhoCabecalho - 4;

// The checksum of the used part; the marker is written on its own during a commit and has
// its own checksum.
std::uint32_t CrcCabecalho(const std::uint8_t* p, std::size_t usado) {
  std::uint32_t c = Crc32(p, kPosMarcador);
  static const std::uint8_t zeros[24] = {};
  c = Crc32(zeros, sizeof zeros, c);
  return Crc32(p + kPosMarcador + 24, usado - kPosMarcador - 24, c);
}

bool TamanhoPaginaValido(std::uint32_t t) { return t == 4096 || t == 8192 || t == 16384 || t == 32768; }
}  // namespace

std::uint16_t Chave::Tamanho() const {
  std::uint32_t t = 0;
  for (const auto& s : segmentos) t += s.tamanho;
  return static_cast<std::uint16_t>(t);
}

std::size_t TamanhoUsadoCabecalho(std::size_t segmentos) { return kPosSegmentos + 8 * segmentos; }

int Cabecalho::TotalSegmentos() const {
  int n = 0;
  for (const auto& c : chaves) n += static_cast<int>(c.segmentos.size());
  return n;
}

void CodificarMarcador(const MarcadorDiario& m, std::uint8_t* d) {
  Grava64(d, m.nonce);
  Grava32(d + 8, m.posicao);
  Grava32(d + 12, m.paginas);
  Grava32(d + 16, m.anterior);
  Grava32(d + 20, Crc32(d, 20));
}

void Cabecalho::Codificar(std::uint8_t* d) const {
  std::memset(d, 0, kTamanhoCabecalho);
  std::memcpy(d, kAssinatura, 8);
  Grava32(d + 8, kVersaoFormato);
  Grava32(d + 12, tamanhoPagina);
  Grava64(d + 16, contador);
  CodificarMarcador(marcador, d + kPosMarcador);
  Grava32(d + 48, paginas);
  Grava32(d + 52, listaLivre);
  Grava32(d + 56, proximoId);
  Grava32(d + 60, registros);
  Grava16(d + 64, tamanhoRegistro);
  Grava16(d + 66, paginaBtrieve);
  Grava16(d + 68, static_cast<std::uint16_t>(chaves.size()));
  Grava16(d + 70, static_cast<std::uint16_t>(TotalSegmentos()));
  Grava32(d + 72, raizDados);
  Grava16(d + 76, flagsArquivo);
  d[78] = temProprietario ? 1 : 0;
  d[79] = modoProprietario;
  std::memcpy(d + 80, proprietario.data(), proprietario.size() < 9 ? proprietario.size() : 9);
  Grava32(d + 92, estrutura);
  std::size_t seg = 0;
  for (std::size_t k = 0; k < chaves.size(); ++k) {
    std::uint8_t* c = d + kPosChaves + 8 * k;
    Grava32(c, chaves[k].raiz);
    Grava16(c + 4, static_cast<std::uint16_t>(seg));
    Grava16(c + 6, static_cast<std::uint16_t>(chaves[k].segmentos.size()));
    for (const auto& s : chaves[k].segmentos) {
      std::uint8_t* e = d + kPosSegmentos + 8 * seg++;
      Grava16(e, s.posicao);
      Grava16(e + 2, s.tamanho);
      Grava16(e + 4, s.flags);
      e[6] = s.tipo;
      e[7] = s.nulo;
    }
  }
  const std::size_t usado = TamanhoUsadoCabecalho(seg);
  Grava32(d + usado, CrcCabecalho(d, usado));
}

void SelarFormato1(std::uint8_t* d) { Grava32(d + kPosCrcFormato1, CrcCabecalho(d, kPosCrcFormato1)); }

bool FormatoConhecido(const std::uint8_t* o) {
  const std::uint32_t versao = Le32(o + 8);
  return std::memcmp(o, kAssinatura, 8) == 0 && (versao == kVersaoFormato || versao == kVersaoFormato1);
}

bool DecodificarMarcador(const std::uint8_t* o, MarcadorDiario* m, std::uint64_t* contador) {
  if (!FormatoConhecido(o)) return false;
  *contador = Le64(o + 16);
  *m = MarcadorDiario{};
  m->formato1 = Le32(o + 8) == kVersaoFormato1;
  const std::uint8_t* p = o + kPosMarcador;
  // A marker write cut short happens before any page is touched: no journal is pending.
  // Both formats checksum the marker alike.
  if (Crc32(p, 20) != Le32(p + 20)) return true;
  m->nonce = Le64(p);
  if (m->formato1) return true;  // the rollback journal is found by the recovery itself
  m->posicao = Le32(p + 8);
  m->paginas = Le32(p + 12);
  m->anterior = Le32(p + 16);
  return true;
}

int DecodificarCabecalho(const std::uint8_t* o, std::size_t n, Cabecalho* cab) {
  if (n < 8 || std::memcmp(o, kAssinatura, 8) != 0) return kNaoEArquivoBtrieve;
  if (n < kPosSegmentos + 4) return kErroES;
  if (!FormatoConhecido(o)) return kNaoEArquivoBtrieve;
  const std::uint32_t versao = Le32(o + 8);
  const std::uint16_t segmentos = Le16(o + 70);
  // Format 2 checksums the used part, format 1 the whole header.
  const std::size_t usado = versao == kVersaoFormato ? TamanhoUsadoCabecalho(segmentos) : kPosCrcFormato1;
  if (segmentos > kMaxSegmentos || n < usado + 4 || CrcCabecalho(o, usado) != Le32(o + usado)) return kErroES;
  Cabecalho c;
  c.versao = versao;
  c.tamanhoPagina = Le32(o + 12);
  c.contador = Le64(o + 16);
  if (!DecodificarMarcador(o, &c.marcador, &c.contador)) return kErroES;
  c.paginas = Le32(o + 48);
  c.listaLivre = Le32(o + 52);
  c.proximoId = Le32(o + 56);
  c.registros = Le32(o + 60);
  c.tamanhoRegistro = Le16(o + 64);
  c.paginaBtrieve = Le16(o + 66);
  std::uint16_t nChaves = Le16(o + 68);
  std::uint16_t nSeg = Le16(o + 70);
  c.raizDados = Le32(o + 72);
  c.flagsArquivo = Le16(o + 76);
  c.temProprietario = o[78] != 0;
  c.modoProprietario = o[79];
  c.proprietario.assign(reinterpret_cast<const char*>(o + 80), 9);
  c.proprietario.resize(std::strlen(c.proprietario.c_str()));
  c.estrutura = Le32(o + 92);
  if (!TamanhoPaginaValido(c.tamanhoPagina) || c.paginas == 0 || c.listaLivre >= c.paginas ||
      c.raizDados >= c.paginas || c.tamanhoRegistro == 0 || c.tamanhoRegistro > kMaxRegistro ||
      nChaves > kMaxChaves || nSeg > kMaxSegmentos || c.proximoId == 0)
    return kErroES;
  int usados = 0;
  for (std::uint16_t k = 0; k < nChaves; ++k) {
    const std::uint8_t* e = o + kPosChaves + 8 * k;
    Chave ch;
    ch.raiz = Le32(e);
    std::uint16_t primeiro = Le16(e + 4), quantos = Le16(e + 6);
    if (ch.raiz >= c.paginas || primeiro != usados || quantos == 0 || primeiro + quantos > nSeg) return kErroES;
    for (std::uint16_t s = 0; s < quantos; ++s) {
      const std::uint8_t* q = o + kPosSegmentos + 8 * (primeiro + s);
      Segmento sg{Le16(q), Le16(q + 2), Le16(q + 4), q[6], q[7]};
      if (sg.posicao == 0 || sg.tamanho == 0 || sg.posicao + sg.tamanho - 1 > c.tamanhoRegistro) return kErroES;
      ch.segmentos.push_back(sg);
    }
    if (ch.Tamanho() > 255) return kErroES;
    usados += quantos;
    c.chaves.push_back(std::move(ch));
  }
  if (usados != nSeg) return kErroES;
  *cab = std::move(c);
  return kOk;
}

}  // namespace tavoran::motor
