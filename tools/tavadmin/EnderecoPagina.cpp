#include "tools/tavadmin/EnderecoPagina.h"

#include <filesystem>

#include "tools/tavadmin/ArquivosFerramenta.h"

namespace tavoran::tavadmin {
namespace {

namespace fs = std::filesystem;

fs::path Absoluto(const std::string& utf8) {
  const std::string local = ArquivosFerramenta::CaminhoLocal(utf8);
  std::error_code erro;
  const fs::path p = fs::absolute(fs::path(std::u8string(local.begin(), local.end())), erro);
  return (erro ? fs::path(std::u8string(local.begin(), local.end())) : p).lexically_normal();
}

// The generic form in UTF-8, without a trailing "/".
std::string Generico(const fs::path& p) {
  const std::u8string g = p.generic_u8string();
  std::string s(g.begin(), g.end());
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool NaoReservado(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string UrlArquivo(const std::string& generico) {
  if (generico.starts_with("//")) return "file:" + CodificarUrl(generico);
  if (generico.starts_with("/")) return "file://" + CodificarUrl(generico);
  // The drive's colon stays as it is; elsewhere it is encoded.
  if (generico.size() >= 2 && generico[1] == ':')
    return "file:///" + generico.substr(0, 2) + CodificarUrl(generico.substr(2));
  return "file:///" + CodificarUrl(generico);
}

std::string EnderecoPastaParaPagina(const std::string& pagina, const std::string& pasta) {
  const fs::path destino = Absoluto(pasta);
  const fs::path relativo = destino.lexically_relative(Absoluto(pagina).parent_path());
  if (relativo.empty()) return UrlArquivo(Generico(destino)) + "/";
  const std::string r = Generico(relativo);
  return r == "." ? std::string() : CodificarUrl(r) + "/";
}

std::string CodificarUrl(std::string_view texto) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string saida;
  for (const char ch : texto) {
    const auto c = static_cast<unsigned char>(ch);
    if (NaoReservado(c)) {
      saida += ch;
    } else {
      saida += '%';
      saida += kHex[c >> 4];
      saida += kHex[c & 15];
    }
  }
  return saida;
}

}  // namespace tavoran::tavadmin
