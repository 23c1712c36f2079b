#include "startup/mdlInicial.h"

#include <memory>
#include <vector>

#include "install/clsNControlaComp.h"
#include "platform/Texto.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"
#include "startup/clsApresentacao.h"
#include "startup/clsCoordenacaoAtualizacao.h"
#include "startup/frmInicial.h"

namespace tavoran {
namespace {

// Program-wide state of the start-up module; it lives as long as Main.
struct EstadoPrograma {
  bool adminHerdado = false;
  std::shared_ptr<clsNKemRyxLogErr> logErr;
  LinksAjuda links;
};

constexpr const char* kChavesLinks[] = {"C1",  "C2",  "C3",  "C4",  "C5",  "C6",  "C8",  "C9",
                                        "C10", "C11", "C12", "C13", "C14", "C16", "C17", "C18",
                                        "C19", "C20", "C21", "C22", "C23", "C26"};

constexpr const char* kComponentesWindows[] = {"mscomct2.ocx", "mscomctl.ocx", "scrrun.dll"};
constexpr const char* kComponentesTavoran[] = {"TavUsu20.dll",  "Tavusu602.dll",  "TavUtil20.dll", "TavBtr602.dll",
                                               "TavBtr20.dll", "TavDoctorG.dll", "TavErro.dll",   "TavSQL20.dll"};
constexpr const char* kCabecalhoProblemas = "O(s) seguinte(s) componente(s) apresenta(ram) problema(s): ";

// What the two basic checks share: the utilities, the ActiveX installer and the boxes.
struct VerificacaoBasica {
  VerificacaoBasica(Ambiente& a, clsNKemRyxLogErr& logErr, LinksAjuda& l)
      : ambiente(a), links(l), util(a, l), controle(a), apresentacao(*a.visao, *a.shell, &logErr) {}

  // A box that offers a help article needs the link table, which the window loads later.
  void ExibirComAjuda(const std::string& mensagem, std::int32_t numero, const std::string& chave) {
    CarregarLinksAjuda(util, links);
    apresentacao.ExibirMensagemComFAQLinks(mensagem, numero, "", chave);
  }
  void ExibirInformacaoEAjuda(const std::string& mensagem, std::int32_t numero) {
    apresentacao.ExibirMensagemInformacao(mensagem);
    CarregarLinksAjuda(util, links);
    apresentacao.AbrirAjuda(numero, "", "");
  }
  // Installs each component missing from the system folder; false once a box told the user
  // why the start cannot go on.
  template <class Problema>
  bool Instalar(const std::string& origem, const std::string& sistema, const std::vector<const char*>& nomes,
                Problema&& problema, bool& algumInstalado) {
    std::string problemas, ausentes;
    for (const char* nome : nomes) {
      if (util.ArquivoExiste(sistema + nome)) continue;
      bool ausente = false, instalado = false;
      if (!controle.InstalarAtualizarComponenteActiveX(origem + nome, sistema + nome, false, ausente, instalado)) {
        if (problemas.empty()) problemas = std::string(kCabecalhoProblemas) + kQuebra + kQuebra;
        problemas += problema(nome, controle.ErroNumero(), controle.ErroDescricao());
      }
      if (ausente) ausentes += std::string(nome) + ", ";
      algumInstalado = algumInstalado || instalado;
    }
    if (!ausentes.empty()) {
      ExibirComAjuda("O(s) componente(s): " + ausentes + "não foi(ram) localizado(s) para o acesso ao sistema.", 0,
                     "COMPONENTE_AUSENTE");
      return false;
    }
    if (!problemas.empty()) {
      apresentacao.ExibirMensagemInformacao(problemas, kTituloPadrao);
      return false;
    }
    return true;
  }

  Ambiente& ambiente;
  LinksAjuda& links;
  clsNKemRyxUtil util;
  clsNControlaComp controle;
  clsApresentacao apresentacao;
};

}  // namespace

void CarregarLinksAjuda(clsNKemRyxUtil& v_objUtil, LinksAjuda& v_objLinks) {
  try {
    v_objUtil.CarregarObjXml();
    for (const char* chave : kChavesLinks) v_objLinks.Definir(chave, v_objUtil.RetornarLinkPadraoTavoran(chave));
  } catch (...) {
    // A file that cannot be read leaves every link empty.
  }
  try {
    v_objUtil.FinalizarComponenteChiilkat();
  } catch (...) {
    // Releasing the reader cannot fail the start.
  }
}

bool VerificarComponentesBasicosWindows(Ambiente& v_objAmbiente, clsNKemRyxLogErr& v_objLogErr,
                                        LinksAjuda& v_objLinks) {
  try {
    VerificacaoBasica basica(v_objAmbiente, v_objLogErr, v_objLinks);
    VerificacaoBasica* v = &basica;
    if (!v->controle.InicializarObjeto(v_objLogErr, &v->util, v_objLinks))
      v->apresentacao.ExibirMensagemInformacao("Erro ao iniciar o registro de componentes: " +
                                               std::to_string(v->controle.ErroNumero()) + " - " +
                                               v->controle.ErroDescricao());
    const std::string sistema = v->util.RetornarPastaWindowsSystem() + "\\";
    const std::string dirT = v->util.DirT();
    if (dirT.empty()) {
      v->ExibirInformacaoEAjuda(
          std::string("Não foi encontrado o registro de instalação do Gerenciador de Aplicativos Tavoran.") + kQuebra +
              "Verifique se a aplicação está corretamente instalada nesta máquina." + kQuebra +
              "Clique em OK para abrir o guia prático para esta situação.",
          32181);
      return false;
    }
    if (!v->util.PastaExiste(dirT)) {
      v->ExibirInformacaoEAjuda("Não foi encontrado o diretório '" + dirT +
                                    "', verifique se a unidade do mapeamento informada está acessível." + kQuebra +
                                    "Clique em OK para abrir o guia prático para esta situação.",
                                32182);
      return false;
    }
    bool instalado = false;
    return v->Instalar(
        dirT + "\\KORA\\WINDOWSLIBRARY\\", sistema,
        {std::begin(kComponentesWindows), std::end(kComponentesWindows)},
        [](const std::string& nome, std::int32_t numero, const std::string& descricao) {
          return "Componente: " + nome + kQuebra + "Erro: " + std::to_string(numero) + kQuebra + "Descrição: " +
                 descricao + kQuebra + kQuebra;
        },
        instalado);
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    clsApresentacao(*v_objAmbiente.visao, *v_objAmbiente.shell, &v_objLogErr)
        .ExibirErroGenerico(f.numero, f.descricao, "VerificarComponentesBasicosWindows");
    return false;
  }
}

bool VerificarComponentesTavoranBasicos(Ambiente& v_objAmbiente, clsNKemRyxLogErr& v_objLogErr,
                                        LinksAjuda& v_objLinks) {
  try {
    VerificacaoBasica v(v_objAmbiente, v_objLogErr, v_objLinks);
    if (!v.controle.InicializarObjeto(v_objLogErr, &v.util, v_objLinks)) {
      v.apresentacao.ExibirMensagemInformacao("Não foi possível iniciar o registro de componentes: " +
                                              std::to_string(v.controle.ErroNumero()) + " - " +
                                              v.controle.ErroDescricao());
      return false;
    }
    const std::string sistema = v.util.RetornarPastaWindowsSystem() + "\\";
    const std::string dirT = v.util.DirT();
    bool instalado = false;
    if (!v.Instalar(
            dirT + "\\KORA\\COMPONENTES\\", sistema,
            {std::begin(kComponentesTavoran), std::end(kComponentesTavoran)},
            [](const std::string& nome, std::int32_t numero, const std::string& descricao) {
              return nome + kQuebra + "Erro: " + std::to_string(numero) + " - " + descricao + kQuebra + kQuebra;
            },
            instalado))
      return false;
    if (instalado)
      clsCoordenacaoAtualizacao::ExcluirRegistroSelvcomp(v_objAmbiente, v.apresentacao, v.util.RetornarNomeComputador(),
                                                         dirT);
    return true;
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    clsApresentacao(*v_objAmbiente.visao, *v_objAmbiente.shell, &v_objLogErr)
        .ExibirErroGenerico(f.numero, f.descricao, "VerificarComponentesTavoranBasicos");
    return false;
  }
}

bool ArgumentoAdministrador(const std::string& v_sLinhaComando) {
  if (Aparar(v_sLinhaComando).empty()) return false;
  return v_sLinhaComando == "A";
}

int Main(Ambiente& ambiente) {
  try {
    if (ambiente.sistema->OutraInstanciaNaSessao()) return 0;
    EstadoPrograma estado;
    estado.adminHerdado = ArgumentoAdministrador(ambiente.sistema->LinhaComando());
    estado.logErr = std::make_shared<clsNKemRyxLogErr>(*ambiente.arquivos, *ambiente.relogio, estado.links);
    if (!VerificarComponentesBasicosWindows(ambiente, *estado.logErr, estado.links) ||
        !VerificarComponentesTavoranBasicos(ambiente, *estado.logErr, estado.links))
      return 0;

    frmInicial janela(ambiente, estado.links);
    ambiente.visao->Carregar(janela);
    if (!janela.Inicializar(estado.logErr)) {
      ambiente.visao->Fechar();
      return 0;
    }
    janela.AdminHerdado(estado.adminHerdado);
    ambiente.visao->Mostrar();
    estado.logErr.reset();
    ambiente.visao->ExecutarLaco();
    return 0;
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    try {
      ambiente.visao->CaixaMensagem(std::to_string(f.numero) + kQuebra + f.descricao, kTituloPadrao,
                                    BotoesCaixa::Ok, IconeCaixa::Critico);
    } catch (...) {
    }
    return 1;
  }
}

}  // namespace tavoran
