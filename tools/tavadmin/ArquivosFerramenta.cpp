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

std::string NomeUtf8(const fs::path& p) {
  const std::u8string nome = p.filename().u8string();
  return std::string(nome.begin(), nome.end());
}

// A file opened for appending; closed with the object.
class ArquivoAcrescentado : public IArquivoAberto {
 public:
  explicit ArquivoAcrescentado(const fs::path& p) : saida_(p, std::ios::binary | std::ios::app) {}
  bool Aberto() const { return saida_.is_open(); }
  Falha Escrever(const std::string& bytes) override {
    if (!saida_.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
      return {57, "Erro de E/S do dispositivo"};
    return {};
  }

 private:
  std::ofstream saida_;
};

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
  const std::string filtro = NomeUtf8(p);
  if (filtro.find_first_of("*?") == std::string::npos) {
    const fs::file_status s = fs::status(p, erro);
    if (erro || !fs::exists(s)) return {};
    return {{filtro, fs::is_directory(s), false, false}};
  }
  std::vector<EntradaPasta> saida;
  const fs::path pasta = p.has_parent_path() ? p.parent_path() : fs::path(".");
  for (fs::directory_iterator i(pasta, erro), fim; !erro && i != fim; i.increment(erro)) {
    const std::string nome = NomeUtf8(i->path());
    if (CasaPadrao(filtro, nome)) saida.push_back({nome, i->is_directory(erro), false, false});
  }
  return saida;
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
Falha ArquivosFerramenta::AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) {
  auto novo = std::make_unique<ArquivoAcrescentado>(Caminho(arquivo));
  if (!novo->Aberto()) return {75, "Erro de acesso ao caminho/arquivo"};
  aberto = std::move(novo);
  return {};
}

}  // namespace tavoran::tavadmin
