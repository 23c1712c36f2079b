#include "platform/Texto.h"

#include <cstdint>

namespace tavoran {
namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F (0 = unassigned).
constexpr char32_t kFaixa80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at i; a malformed byte decodes as itself (Latin-1).
char32_t LerUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  const std::size_t extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    ++i;
    return b0;
  }
  char32_t c = b0 & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return b0;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return c;
}

char CaractereCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int k = 0; k < 32; ++k)
    if (kFaixa80[k] == c && c != 0) return static_cast<char>(0x80 + k);
  return '?';
}

template <class Mapa>
std::string MapearLetras(std::string_view texto, Mapa mapa) {
  std::string saida;
  saida.reserve(texto.size());
  std::size_t i = 0;
  while (i < texto.size()) AcrescentarUtf8(saida, mapa(LerUtf8(texto, i)));
  return saida;
}

bool EhBranco(char c) { return c == ' '; }

}  // namespace

void AcrescentarUtf8(std::string& saida, char32_t c) {
  if (c < 0x80) {
    saida += static_cast<char>(c);
  } else if (c < 0x800) {
    saida += static_cast<char>(0xC0 | (c >> 6));
    saida += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    saida += static_cast<char>(0xE0 | (c >> 12));
    saida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    saida += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    saida += static_cast<char>(0xF0 | (c >> 18));
    saida += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    saida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    saida += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string ParaCp1252(std::string_view utf8) {
  std::string saida;
  saida.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) saida += CaractereCp1252(LerUtf8(utf8, i));
  return saida;
}

std::string DeCp1252(std::string_view cp1252) {
  std::string saida;
  saida.reserve(cp1252.size());
  for (char ch : cp1252) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0) c = kFaixa80[b - 0x80] ? kFaixa80[b - 0x80] : b;
    AcrescentarUtf8(saida, c);
  }
  return saida;
}

std::string DeTextoArquivo(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  const bool le = bytes.substr(0, 2) == "\xFF\xFE", be = bytes.substr(0, 2) == "\xFE\xFF";
  if (!le && !be) return DeCp1252(bytes);
  auto unidade = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return le ? (b << 8 | a) : (a << 8 | b);
  };
  std::string saida;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    char32_t c = unidade(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t baixa = unidade(i + 2);
      if (baixa >= 0xDC00 && baixa < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (baixa - 0xDC00);
        i += 2;
      }
    }
    AcrescentarUtf8(saida, c);
  }
  return saida;
}

std::string ApararEsquerda(std::string_view texto) {
  std::size_t i = 0;
  while (i < texto.size() && EhBranco(texto[i])) ++i;
  return std::string(texto.substr(i));
}

std::string ApararDireita(std::string_view texto) {
  std::size_t n = texto.size();
  while (n > 0 && EhBranco(texto[n - 1])) --n;
  return std::string(texto.substr(0, n));
}

std::string Aparar(std::string_view texto) { return ApararDireita(ApararEsquerda(texto)); }

std::string Maiusculas(std::string_view texto) {
  return MapearLetras(texto, [](char32_t c) -> char32_t {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    return c;
  });
}

std::string Minusculas(std::string_view texto) {
  return MapearLetras(texto, [](char32_t c) -> char32_t {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
  });
}

std::string AteNulo(std::string_view texto) { return std::string(texto.substr(0, texto.find('\0'))); }

std::string SemNulos(std::string_view texto) {
  std::string saida;
  for (char c : texto)
    if (c != '\0') saida += c;
  return saida;
}

std::size_t ProcurarSemCaixa(std::string_view texto, std::string_view procurado) {
  return Maiusculas(texto).find(Maiusculas(procurado));
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) { return Maiusculas(a) == Maiusculas(b); }

bool TerminaComSemCaixa(std::string_view texto, std::string_view fim) {
  return texto.size() >= fim.size() && IguaisSemCaixa(texto.substr(texto.size() - fim.size()), fim);
}

bool CasaPadrao(std::string_view padrao, std::string_view nome) {
  const std::string p = Maiusculas(padrao), n = Maiusculas(nome);
  // Greedy walk; on a mismatch the last * takes one more character.
  std::size_t i = 0, j = 0, estrela = std::string::npos, retomada = 0;
  while (j < n.size()) {
    if (i < p.size() && (p[i] == '?' || p[i] == n[j])) {
      ++i;
      ++j;
    } else if (i < p.size() && p[i] == '*') {
      estrela = i++;
      retomada = j;
    } else if (estrela != std::string::npos) {
      i = estrela + 1;
      j = ++retomada;
    } else {
      return false;
    }
  }
  while (i < p.size() && p[i] == '*') ++i;
  return i == p.size();
}

std::string Substituir(std::string_view texto, std::string_view de, std::string_view para) {
  if (de.empty()) return std::string(texto);
  std::string saida;
  std::size_t inicio = 0;
  for (std::size_t p; (p = texto.find(de, inicio)) != std::string_view::npos; inicio = p + de.size()) {
    saida.append(texto.substr(inicio, p - inicio));
    saida.append(para);
  }
  saida.append(texto.substr(inicio));
  return saida;
}

}  // namespace tavoran
