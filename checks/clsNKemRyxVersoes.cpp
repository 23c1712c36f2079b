#include "checks/clsNKemRyxVersoes.h"


#include "platform/Texto.h"
#include "records/clsSssVersao.h"

namespace tavoran {

namespace {

constexpr std::int32_t kErroVersaoArquivoAusente = 107719;
constexpr std::int32_t kErroProgramaDesatualizado = 107720;
constexpr std::int32_t kErroProgramaAusente = 107721;
constexpr std::int32_t kLinkArquivoCorrompido = 30;
constexpr std::int32_t kStatusArquivoInvalido = 2;
constexpr std::int32_t kStatusNaoEBtrieve = 30;
constexpr std::int32_t kObterIgual = 5;
constexpr std::int32_t kObterUltimo = 13;
constexpr std::int32_t kModoNormal = 0;

const std::string kQuebra = "\r\n";
const std::string kDuasQuebras = kQuebra + kQuebra;
const std::string kAbertura = "Não será possível abrir o Gerenciador de Aplicativos Tavoran." + kDuasQuebras;
const std::string kFechamento = "Ao clicar em OK será exibido o procedimento para correção desta situação.";

struct Programa {
  const char* nome;
  const char* subpasta;  // below DirT, with its trailing backslash
};

// The start-up programs, in the order they are verified.
constexpr Programa kProgramas[] = {
    {"TAVORAN.EXE", "\\"},
    {"TAVORAN2.EXE", "\\"},
    {"KEMCRIAARQ.EXE", "\\"},
    {"KEMGRAVAARQUIVOWSE.EXE", "\\KEM\\"},
};

std::string CaminhoPrograma(const std::string& v_sDirT, const std::string& v_sPrograma) {
  for (const Programa& p : kProgramas) {
    if (v_sPrograma == p.nome) return v_sDirT + p.subpasta + p.nome;
  }
  return v_sDirT + "\\" + v_sPrograma;
}

}  // namespace

clsNKemRyxVersoes::clsNKemRyxVersoes(Ambiente& ambiente, const LinksAjuda& links)
    : ambiente_(ambiente), links_(links), util_(ambiente, links) {}

clsNKemRyxVersoes::~clsNKemRyxVersoes() = default;

bool clsNKemRyxVersoes::VerificarVersoes(bool& mensagemExibida) {
  erro_.Limpar();
  mensagemExibida = false;
  const bool resultado = Protegido(erro_, "VerificarVersoes", false, [&] {
    localizadorLinks_ = std::make_unique<clsNKemRyxLogErr>(*ambiente_.arquivos, *ambiente_.relogio, links_);
    std::unique_ptr<clsSssVersao> versao = CriarAbrirKemVersao(mensagemExibida);
    if (!versao) return false;

    std::string versaoSistema;
    if (!RetornarUltimaVersaoSistema(*versao, versaoSistema)) return false;

    const std::string dirT = util_.DirT();
    std::string naoEncontrados, desatualizados;
    for (const Programa& p : kProgramas) {
      bool naoEncontrado = false, desatualizado = false;
      std::string versaoEsperada;
      if (VerificarVersaoPrograma(*versao, versaoSistema, p.nome, dirT, naoEncontrado, desatualizado,
                                  versaoEsperada)) {
        continue;
      }
      if (naoEncontrado) {
        naoEncontrados += CaminhoPrograma(dirT, p.nome) + kDuasQuebras;
      } else if (desatualizado) {
        desatualizados += std::string(p.nome) + " - Versão Esperada: " + versaoEsperada + kDuasQuebras;
      } else {
        return false;  // a real error, already configured
      }
    }

    if (!naoEncontrados.empty()) {
      const std::string mensagem = kAbertura + "107721 - O(s) seguinte(s) arquivo(s) não foi(ram) encontrado(s):" +
                                   kDuasQuebras + naoEncontrados + kFechamento;
      ConfigurarErro(kErroProgramaAusente, mensagem, "");
      ExibirMensagemComAjuda(mensagem, kErroProgramaAusente, "");
    } else if (!desatualizados.empty()) {
      const std::string mensagem = kAbertura + "107720 - O(s) seguinte(s) arquivo(s) está(ão) desatualizado(s):" +
                                   kDuasQuebras + desatualizados + kFechamento;
      ConfigurarErro(kErroProgramaDesatualizado, mensagem, "");
      ExibirMensagemComAjuda(mensagem, kErroProgramaDesatualizado, "");
    } else {
      return true;
    }
    mensagemExibida = true;
    return false;
  });
  localizadorLinks_.reset();
  return resultado;
}

bool clsNKemRyxVersoes::VerificarVersaoPrograma(clsSssVersao& v_objVersao, const std::string& v_sVersaoSistema,
                                                const std::string& v_sPrograma, const std::string& v_sDirT,
                                                bool& naoEncontrado, bool& desatualizado,
                                                std::string& v_sVersaoEsperada) {
  naoEncontrado = desatualizado = false;
  if (!RetornarUltimaVersaoPrograma(v_sPrograma, v_sVersaoSistema, v_objVersao, v_sVersaoEsperada)) return false;

  const std::string caminho = CaminhoPrograma(v_sDirT, v_sPrograma);
  if (!util_.ArquivoExiste(caminho)) {
    naoEncontrado = true;
    return false;
  }
  DataHora data;
  std::string versaoArquivo;
  if (!util_.RetornarArquivoInfo(caminho, data, versaoArquivo)) {
    ConfigurarErro(util_.ErroNumero(),
                   "Falha ao verificar a versão atual do arquivo '" + caminho + "': " + util_.ErroDescricao(),
                   "VerificarVersaoPrograma");
    return false;
  }
  std::string versaoMaior;
  if (!util_.RetornarVersaoMaior(versaoArquivo, v_sVersaoEsperada, versaoMaior)) {
    ConfigurarErro(util_.ErroNumero(), util_.ErroDescricao(), "VerificarVersaoPrograma");
    return false;
  }
  // An empty expected version prescribes nothing.
  if (!v_sVersaoEsperada.empty() && versaoMaior == v_sVersaoEsperada) {
    desatualizado = true;
    return false;
  }
  return true;
}

std::unique_ptr<clsSssVersao> clsNKemRyxVersoes::CriarAbrirKemVersao(bool& mensagemExibida) {
  if (!ambiente_.btrieve) throw ErroRuntime(429, "O componente ActiveX não pode criar o objeto");
  const std::string dirT = util_.DirT();
  auto versao = std::make_unique<clsSssVersao>(*ambiente_.btrieve, *ambiente_.arquivos);
  versao->Diretorio(dirT);
  versao->Sistema("KEM");

  if (!versao->ArquivoExiste()) {
    ExibirMensagemComAjuda(kAbertura + "107719 - O arquivo '" + dirT + "\\KEMVERSAO.BTR' não foi encontrado." +
                               kDuasQuebras + kFechamento,
                           kErroVersaoArquivoAusente, "");
    ConfigurarErro(kErroVersaoArquivoAusente, "O arquivo '" + versao->Arquivo() + "' não foi encontrado.", "");
    mensagemExibida = true;
    return nullptr;
  }
  if (versao->Abrir(kModoNormal, "")) return versao;

  const std::int32_t status = versao->ErroNumero();
  if (status == kStatusArquivoInvalido || status == kStatusNaoEBtrieve) {
    ExibirMensagemComAjuda(kAbertura + "Erro " + std::to_string(status) + " - Falha na leitura do arquivo '" + dirT +
                               "\\KEMVERSAO.BTR'." + kDuasQuebras + kFechamento,
                           kLinkArquivoCorrompido, "KEMVERSAO_CORROMPIDO");
    ConfigurarErro(status, versao->ErroDescricao(), "");
    mensagemExibida = true;
    return nullptr;
  }
  ConfigurarErro(status, "Falha ao abrir o arquivo '" + versao->Arquivo() + "': " + versao->ErroDescricao(),
                 "CriarAbrirKemVersao");
  return nullptr;
}

bool clsNKemRyxVersoes::RetornarUltimaVersaoSistema(clsSssVersao& v_objVersao, std::string& v_sVersaoSistema) {
  v_objVersao.MontarChave6("");
  if (!v_objVersao.Ler(kObterUltimo)) {
    ConfigurarErro(v_objVersao.ErroNumero(),
                   "Falha ao ler a ultima versão do arquivo de versões: " + v_objVersao.ErroDescricao(),
                   "RetornarUltimaVersaoSistema");
    return false;
  }
  v_sVersaoSistema = Aparar(v_objVersao.VersaoSistema());
  return true;
}

bool clsNKemRyxVersoes::RetornarUltimaVersaoPrograma(const std::string& v_sPrograma,
                                                     const std::string& v_sVersaoSistema, clsSssVersao& v_objVersao,
                                                     std::string& v_sVersaoEsperada) {
  v_objVersao.MontarChave1(v_sPrograma, v_sVersaoSistema);
  if (!v_objVersao.Ler(kObterIgual)) {
    ConfigurarErro(v_objVersao.ErroNumero(),
                   "Falha ao ler a ultima versão do arquivo '" + v_objVersao.Arquivo() +
                       "': " + v_objVersao.ErroDescricao(),
                   "RetornarUltimaVersaoPrograma");
    return false;
  }
  v_sVersaoEsperada = Aparar(v_objVersao.VersaoPrograma());
  return true;
}

void clsNKemRyxVersoes::ConfigurarErro(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                       const std::string& v_sRotina) {
  erro_.Definir(v_lNumero, v_sDescricao, v_sRotina);
}

void clsNKemRyxVersoes::ExibirMensagemComAjuda(const std::string& v_sMensagem, std::int32_t v_lNumeroAjuda,
                                               const std::string& v_sChaveAjuda) {
  const int botao =
      ambiente_.visao->CaixaMensagem(v_sMensagem, "Tavoran - Atenção", BotoesCaixa::Ok, IconeCaixa::Informacao);
  if (botao != kBotaoOk) return;
  std::string link;
  if (localizadorLinks_ && localizadorLinks_->TratarErrosComFAQLinks(v_lNumeroAjuda, link, "", v_sChaveAjuda) &&
      !Aparar(link).empty()) {
    ambiente_.shell->AbrirDocumento(0, link);
  }
}

}  // namespace tavoran
