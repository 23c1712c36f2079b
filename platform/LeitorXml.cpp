#include "platform/LeitorXml.h"

#include <cstdint>
#include <set>

#include "platform/Texto.h"

namespace tavoran {
namespace {

bool EhEspaco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool Utf8Valido(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t extra = b < 0x80             ? 0
                              : (b & 0xE0) == 0xC0 ? 1
                              : (b & 0xF0) == 0xE0 ? 2
                              : (b & 0xF8) == 0xF0 ? 3
                                                   : 9;
    if (extra == 9 || i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// The value of the declaration's encoding, lower case; empty when the declaration names none.
std::string CodificacaoDeclarada(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml" || bytes.size() < 6 || !EhEspaco(bytes[5])) return {};
  const std::string_view declaracao = bytes.substr(0, bytes.find("?>"));
  const std::size_t chave = declaracao.find("encoding");
  if (chave == std::string_view::npos) return {};
  const std::size_t aspa = declaracao.find_first_of("\"'", chave);
  if (aspa == std::string_view::npos) return {};
  const std::size_t fecha = declaracao.find(declaracao[aspa], aspa + 1);
  if (fecha == std::string_view::npos) return {};
  return Minusculas(declaracao.substr(aspa + 1, fecha - aspa - 1));
}

// The document as UTF-8 with its line ends made LF; nothing for an encoding this reader lacks.
std::optional<std::string> TextoDoDocumento(std::string_view bytes) {
  std::string texto;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF" || bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    texto = DeTextoArquivo(bytes);
    if (!Utf8Valido(texto)) return std::nullopt;
  } else {
    const std::string codificacao = CodificacaoDeclarada(bytes);
    if (codificacao.empty() || codificacao == "utf-8") {
      texto = Utf8Valido(bytes) ? std::string(bytes) : DeCp1252(bytes);
    } else if (codificacao == "windows-1252" || codificacao == "cp1252" || codificacao == "iso-8859-1" ||
               codificacao == "latin1" || codificacao == "us-ascii") {
      texto = DeCp1252(bytes);
    } else {
      return std::nullopt;
    }
  }
  std::string normalizado;
  normalizado.reserve(texto.size());
  for (std::size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '\r') {
      normalizado += '\n';
      if (i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
    } else if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') {
      return std::nullopt;  // a control character is not allowed anywhere in a document
    } else {
      normalizado += c;
    }
  }
  return normalizado;
}

// One pass over the text; every routine answers false at the first thing that is not XML.
class Analisador {
 public:
  explicit Analisador(std::string texto) : t_(std::move(texto)) {}

  bool Documento(std::vector<ElementoXml>& elementos) {
    if (Comeca("<?xml") && p_ + 5 < t_.size() && EhEspaco(t_[p_ + 5]) && !Ate("?>")) return false;
    bool raiz = false, doctype = false;
    for (;;) {
      Espacos();
      if (Fim()) return raiz;
      if (Comeca("<!--")) {
        if (!Comentario()) return false;
      } else if (Comeca("<?")) {
        if (!Instrucao()) return false;
      } else if (Comeca("<!DOCTYPE") && !doctype && !raiz) {
        if (!Doctype()) return false;
        doctype = true;
      } else if (t_[p_] == '<' && !raiz) {
        if (!Arvore(elementos)) return false;
        raiz = true;
      } else {
        return false;
      }
    }
  }

 private:
  bool Fim() const { return p_ >= t_.size(); }
  bool Comeca(std::string_view s) const { return t_.compare(p_, s.size(), s) == 0; }
  bool Espacos() {
    const std::size_t inicio = p_;
    while (!Fim() && EhEspaco(t_[p_])) ++p_;
    return p_ > inicio;
  }
  bool Ate(std::string_view fim) {
    const std::size_t achado = t_.find(fim, p_);
    if (achado == std::string::npos) return false;
    p_ = achado + fim.size();
    return true;
  }

  bool Nome(std::string& nome) {
    auto inicial = [](unsigned char c) {
      return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '_' || c == ':' || c >= 0x80;
    };
    auto seguinte = [&](unsigned char c) { return inicial(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; };
    const std::size_t inicio = p_;
    if (Fim() || !inicial(static_cast<unsigned char>(t_[p_]))) return false;
    while (!Fim() && seguinte(static_cast<unsigned char>(t_[p_]))) ++p_;
    nome.assign(t_, inicio, p_ - inicio);
    return true;
  }

  // A character or entity reference at '&', appended to saida.
  bool Referencia(std::string& saida) {
    const std::size_t fim = t_.find(';', p_);
    if (fim == std::string::npos || fim - p_ > 12) return false;
    const std::string nome = t_.substr(p_ + 1, fim - p_ - 1);
    p_ = fim + 1;
    static constexpr std::pair<const char*, char> kPredefinidas[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& [entidade, caractere] : kPredefinidas)
      if (nome == entidade) {
        saida += caractere;
        return true;
      }
    if (nome.size() < 2 || nome[0] != '#') return false;
    const bool hexa = nome[1] == 'x';
    const std::string digitos = nome.substr(hexa ? 2 : 1);
    if (digitos.empty()) return false;
    std::uint32_t c = 0;
    for (char d : digitos) {
      int v = d >= '0' && d <= '9'                             ? d - '0'
              : hexa && (d | 0x20) >= 'a' && (d | 0x20) <= 'f' ? (d | 0x20) - 'a' + 10
                                                               : -1;
      if (v < 0 || c > 0x10FFFF) return false;
      c = c * (hexa ? 16 : 10) + static_cast<std::uint32_t>(v);
    }
    const bool permitido = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
    if (!permitido) return false;
    AcrescentarUtf8(saida, c);
    return true;
  }

  bool Comentario() {
    p_ += 4;
    const std::size_t tracos = t_.find("--", p_);
    if (tracos == std::string::npos || tracos + 2 >= t_.size() || t_[tracos + 2] != '>') return false;
    p_ = tracos + 3;
    return true;
  }

  bool Instrucao() {
    p_ += 2;
    std::string alvo;
    if (!Nome(alvo) || Minusculas(alvo) == "xml") return false;
    return Ate("?>");
  }

  // The document type is passed over, its internal subset included; it declares nothing here.
  bool Doctype() {
    p_ += 9;
    if (!Espacos()) return false;
    int colchetes = 0;
    char aspa = 0;
    while (!Fim()) {
      if (!aspa && colchetes > 0 && Comeca("<!--")) {
        if (!Comentario()) return false;
        continue;
      }
      const char c = t_[p_++];
      if (aspa) {
        if (c == aspa) aspa = 0;
      } else if (c == '"' || c == '\'') {
        aspa = c;
      } else if (c == '[') {
        ++colchetes;
      } else if (c == ']') {
        --colchetes;
      } else if (c == '>' && colchetes == 0) {
        return true;
      }
    }
    return false;
  }

  // An attribute list up to '>' or '/>'; vazio tells which.
  bool Atributos(ElementoXml& elemento, bool& vazio) {
    std::set<std::string> nomes;
    for (;;) {
      const bool separado = Espacos();
      if (Comeca("/>") || Comeca(">")) {
        vazio = t_[p_] == '/';
        p_ += vazio ? 2 : 1;
        return true;
      }
      std::string nome, valor;
      if (!separado || !Nome(nome)) return false;
      Espacos();
      if (Fim() || t_[p_] != '=') return false;
      ++p_;
      Espacos();
      if (Fim() || (t_[p_] != '"' && t_[p_] != '\'')) return false;
      const char aspa = t_[p_++];
      while (!Fim() && t_[p_] != aspa) {
        const char c = t_[p_];
        if (c == '<') return false;
        if (c == '&') {
          if (!Referencia(valor)) return false;
          continue;
        }
        valor += EhEspaco(c) ? ' ' : c;
        ++p_;
      }
      if (Fim()) return false;
      ++p_;
      if (!nomes.insert(nome).second) return false;  // an attribute written twice
      elemento.atributos.emplace_back(std::move(nome), std::move(valor));
    }
  }

  // The root element and everything inside it, without recursion: a deep file cannot
  // exhaust the stack.
  bool Arvore(std::vector<ElementoXml>& elementos) {
    std::vector<std::string> abertos;
    do {
      if (Comeca("</")) {
        p_ += 2;
        std::string nome;
        if (!Nome(nome)) return false;
        Espacos();
        if (Fim() || t_[p_] != '>' || abertos.empty() || abertos.back() != nome) return false;
        ++p_;
        abertos.pop_back();
      } else if (Comeca("<!--")) {
        if (!Comentario()) return false;
      } else if (Comeca("<![CDATA[")) {
        if (abertos.empty() || !Ate("]]>")) return false;
      } else if (Comeca("<?")) {
        if (!Instrucao()) return false;
      } else if (Comeca("<")) {
        ++p_;
        ElementoXml elemento;
        bool vazio = false;
        if (!Nome(elemento.nome) || !Atributos(elemento, vazio)) return false;
        if (!vazio) abertos.push_back(elemento.nome);
        elementos.push_back(std::move(elemento));
      } else if (!Texto()) {
        return false;
      }
    } while (!abertos.empty());
    return true;
  }

  // Character data up to the next '<'; its references must be sound.
  bool Texto() {
    std::string descartado;
    while (!Fim() && t_[p_] != '<') {
      if (t_[p_] == '&') {
        if (!Referencia(descartado)) return false;
      } else {
        ++p_;
      }
    }
    return !Fim();
  }

  std::string t_;
  std::size_t p_ = 0;
};

const std::string* Atributo(const ElementoXml& elemento, const std::string& nome) {
  for (const auto& [chave, valor] : elemento.atributos)
    if (chave == nome) return &valor;
  return nullptr;
}

class DocumentoXml : public IDocumentoXml {
 public:
  explicit DocumentoXml(IArquivos& arquivos) : arquivos_(arquivos) {}

  void Limpar() override { elementos_.clear(); }

  bool Carregar(const std::string& arquivo) override {
    elementos_.clear();
    std::string bytes;
    if (arquivos_.LerTudo(arquivo, bytes).Ocorreu()) return false;
    auto lidos = LerElementosXml(bytes);
    if (!lidos) return false;
    elementos_ = std::move(*lidos);
    return true;
  }

  std::optional<std::string> Procurar(const std::string& tag, const std::string& chave, const std::string& valor,
                                      const std::string& retorno) override {
    for (const auto& elemento : elementos_) {
      if (elemento.nome != tag) continue;
      const std::string* achado = Atributo(elemento, chave);
      if (achado == nullptr || *achado != valor) continue;
      const std::string* resposta = Atributo(elemento, retorno);
      return resposta ? *resposta : std::string();
    }
    return std::nullopt;
  }

 private:
  IArquivos& arquivos_;
  std::vector<ElementoXml> elementos_;
};

}  // namespace

std::optional<std::vector<ElementoXml>> LerElementosXml(std::string_view bytes) {
  std::optional<std::string> texto = TextoDoDocumento(bytes);
  if (!texto) return std::nullopt;
  std::vector<ElementoXml> elementos;
  if (!Analisador(std::move(*texto)).Documento(elementos)) return std::nullopt;
  return elementos;
}

Falha LeitorXml::Criar(std::unique_ptr<IDocumentoXml>& documento) {
  documento = std::make_unique<DocumentoXml>(arquivos_);
  return {};
}

}  // namespace tavoran
