#include "startup/mdlInicial.h"

#include <memory>

#include "platform/Texto.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"
#include "startup/clsApresentacao.h"
#include "startup/frmInicial.h"

namespace tavoran {
namespace {

// Program-wide state of the start-up module; it lives as long as Main.
struct EstadoPrograma {
  bool adminHerdado = false;
  std::shared_ptr<clsNKemRyxLogErr> logErr;
  LinksAjuda links;
};

}  // namespace

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
