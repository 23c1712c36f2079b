#include "records/RegistroBtrieve.h"

#include <algorithm>

#include "platform/ArquivoListado.h"
#include "platform/Erro.h"
#include "platform/Texto.h"

namespace tavoran {

RegistroBtrieve::RegistroBtrieve(IBtrieve& btrieve, IArquivos& arquivos, std::size_t tamanhoRegistro,
                                 CodigosRegistro codigos)
    : arquivos_(arquivos),
      acesso_(btrieve, arquivos),
      tamanhoRegistro_(tamanhoRegistro),
      codigos_(codigos),
      imagem_(tamanhoRegistro, ' ') {
  acesso_.OnErro = [this](std::int32_t n, const std::string& d) { ReceberErro(n, d); };
}

void RegistroBtrieve::ReceberErro(std::int32_t numero, const std::string& descricao) {
  erroNumero_ = numero;
  erroDescricao_ = descricao;
}

void RegistroBtrieve::LimparErro() { ReceberErro(0, ""); }
void RegistroBtrieve::DefinirErro(std::int32_t numero, const std::string& descricao) { ReceberErro(numero, descricao); }

template <class F>
bool RegistroBtrieve::Protegido(const char* rotina, F&& corpo) {
  LimparErro();
  try {
    return corpo();
  } catch (...) {
    EstadoErro e;
    e.DefinirDaExcecao(rotina);
    ReceberErro(e.Numero(), e.Descricao());
    return false;
  }
}

clsComplArq& RegistroBtrieve::Complementos() {
  if (!complementos_) {
    complementos_ = std::make_unique<clsComplArq>();
    complementos_->TavBtr20(&acesso_);
    complementos_->OnErro = [this](std::int32_t n, const std::string& d) { ReceberErro(n, d); };
  }
  return *complementos_;
}

bool RegistroBtrieve::ArquivoExiste() {
  const bool existe = !Aparar(arquivo_).empty() && ArquivoListado(arquivos_, arquivo_);
  listado_ = existe ? arquivo_ : std::string();
  return existe;
}

void RegistroBtrieve::DefinirCaminho(const std::string& diretorio, const std::string& arquivo) {
  diretorio_ = diretorio;
  arquivo_ = arquivo;
}

std::string RegistroBtrieve::Campo(CampoRegistro campo) const {
  return DeCp1252(imagem_.substr(campo.posicao - 1, campo.tamanho));
}

void RegistroBtrieve::Campo(CampoRegistro campo, const std::string& valor) {
  std::string bytes = ParaCp1252(valor).substr(0, campo.tamanho);
  bytes.resize(campo.tamanho, ' ');
  imagem_.replace(campo.posicao - 1, campo.tamanho, bytes);
}

void RegistroBtrieve::MontarChave(std::uint8_t numero,
                                  std::initializer_list<std::pair<std::string, std::size_t>> partes) {
  chave_.clear();
  for (const auto& [valor, tamanho] : partes) {
    std::string bytes = ParaCp1252(valor).substr(0, tamanho);
    bytes.resize(tamanho, ' ');
    chave_ += bytes;
  }
  chaveNumero_ = numero;
}

bool RegistroBtrieve::Criar(std::int16_t v_iTamanhoPagina, std::uint8_t v_bNumeroChaves,
                            const std::string& v_sDefinicaoChaves) {
  return Protegido("Criar", [&] {
    if (Aparar(arquivo_).empty()) {
      DefinirErro(codigos_.criarSemArquivo, codigos_.textoSemArquivo);
      return false;
    }
    return acesso_.Criar(arquivo_, static_cast<std::int16_t>(tamanhoRegistro_), v_iTamanhoPagina, v_bNumeroChaves,
                         v_sDefinicaoChaves);
  });
}

bool RegistroBtrieve::Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario) {
  return Protegido("Abrir", [&] {
    if (Aparar(arquivo_).empty()) {
      DefinirErro(codigos_.abrirSemArquivo, codigos_.textoSemArquivo);
      return false;
    }
    // One lookup of the share per open: the caller's own test, when it just made one, or this.
    const bool conferido = listado_ == arquivo_;
    if (!conferido && !ArquivoExiste()) {
      DefinirErro(codigos_.abrirArquivoInexistente, "O arquivo \"" + arquivo_ + "\" não existe.");
      return false;
    }
    listado_.clear();
    acesso_.ModoAbertura(v_eModoAbertura);
    acesso_.NomeProprietario(v_sNomeProprietario);
    return acesso_.Abrir(arquivo_, true);
  });
}

bool RegistroBtrieve::Ler(std::int32_t v_eOperacao) {
  return Protegido("Ler", [&] {
    novo_ = false;
    acesso_.Chave(chave_);
    acesso_.NumeroChave(chaveNumero_);
    const bool lido = acesso_.Ler(v_eOperacao);
    if (lido) {
      imagem_ = acesso_.Buffer().substr(0, tamanhoRegistro_);
      std::replace(imagem_.begin(), imagem_.end(), '\0', ' ');
      imagem_.resize(tamanhoRegistro_, ' ');
    } else {
      imagem_.assign(tamanhoRegistro_, ' ');
    }
    return lido;
  });
}

void RegistroBtrieve::AdicionarNovo() {
  novo_ = true;
  imagem_.assign(tamanhoRegistro_, ' ');
}

bool RegistroBtrieve::Gravar() {
  return Protegido("Gravar", [&] {
    acesso_.Buffer(imagem_);
    return novo_ ? acesso_.Inserir() : acesso_.Alterar();
  });
}

bool RegistroBtrieve::Excluir() {
  return Protegido("Excluir", [&] { return acesso_.Excluir(); });
}

bool RegistroBtrieve::Fechar() {
  return Protegido("Fechar", [&] { return acesso_.Fechar(); });
}

}  // namespace tavoran
