#include "tools/tavadmin/ArquivosFerramenta.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Texto.h"

namespace tavoran::tavadmin {
namespace {

namespace fs = std::filesystem;

fs::path Caminho(const std::string& utf8) {
  const std::string local = ArquivosFerramenta::CaminhoLocal(utf8);
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(local.data()), local.size()));
}

const Falha kNaoSuportado{5, "Operação não disponível no tavadmin"};

}  // namespace

std::string ArquivosFerramenta::CaminhoLocal(const std::string& caminho) {
#ifdef _WIN32
  return caminho;
#else
  return Substituir(caminho, "\\", "/");
#endif
}

std::vector<EntradaPasta> ArquivosFerramenta::Listar(const std::string& padrao) {
  std::error_code erro;
  const fs::path p = Caminho(padrao);
  const fs::file_status s = fs::status(p, erro);
  if (erro || !fs::exists(s)) return {};
  const std::u8string nome = p.filename().u8string();
  return {{std::string(nome.begin(), nome.end()), fs::is_directory(s), false, false}};
}

Falha ArquivosFerramenta::Excluir(const std::string& arquivo) {
  std::error_code erro;
  if (!fs::remove(Caminho(arquivo), erro)) return {53, "Arquivo não encontrado"};
  return {};
}

Falha ArquivosFerramenta::LerTudo(const std::string& arquivo, std::string& bytes) {
  std::ifstream entrada(Caminho(arquivo), std::ios::binary);
  if (!entrada) return {53, "Arquivo não encontrado"};
  std::ostringstream conteudo;
  conteudo << entrada.rdbuf();
  bytes = conteudo.str();
  return {};
}

Falha ArquivosFerramenta::CriarPasta(const std::string&) { return kNaoSuportado; }
Falha ArquivosFerramenta::Copiar(const std::string&, const std::string&) { return kNaoSuportado; }
Falha ArquivosFerramenta::Mover(const std::string&, const std::string&) { return kNaoSuportado; }
bool ArquivosFerramenta::LerVersao(const std::string&, VersaoFixa&) { return false; }
bool ArquivosFerramenta::LerDataModificacao(const std::string&, DataHora&) { return false; }
Falha ArquivosFerramenta::AbrirParaAcrescentar(const std::string&, std::unique_ptr<IArquivoAberto>&) {
  return kNaoSuportado;
}

}  // namespace tavoran::tavadmin
