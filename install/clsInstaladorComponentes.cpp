#include "install/clsInstaladorComponentes.h"

#include <limits>

#include "btrieve/clsTavBtr20.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr std::int32_t kErroEstouro = 6;

}  // namespace

clsInstaladorComponentes::clsInstaladorComponentes(ContextoInstalacao& contexto,
                                                   std::function<bool(const std::string&)> pararServicoResidente)
    : c_(contexto),
      pasta_(contexto),
      operacoes_(contexto),
      activeX_(contexto, pasta_, operacoes_),
      executaveis_(contexto, pasta_, operacoes_),
      net_(contexto, pasta_, operacoes_, std::move(pararServicoResidente)) {}

bool clsInstaladorComponentes::ConfigurarPastas() {
  c_.progresso.ExibirMensagem("Configurando Pastas");
  PastasInstalacao& p = c_.pastas;
  const std::string dirT = c_.util.DirT();
  p.PastaComponentes = dirT + "\\KORA\\COMPONENTES";
  p.PastaPsql = dirT + "\\KORA\\PSQL";
  p.PastaComponentesNet = dirT + "\\KORA\\COMPONENTES.NET";
  p.PastaCefSharp = p.PastaComponentesNet + "\\CEFSHARP";
  p.PastaLocales = p.PastaCefSharp + "\\LOCALES";
  p.PastaWindowsLibrary = dirT + "\\KORA\\WINDOWSLIBRARY";
  // A folder the utilities could not find: the generic box with what they said, and no start.
  auto falhou = [&](const std::string& texto) {
    c_.progresso.ExibirErroGenerico(c_.util.ErroNumero(), texto + c_.util.ErroDescricao(), "ConfigurarPastas");
    return false;
  };
  const std::string sistema = c_.util.RetornarPastaWindowsSystem();
  if (Aparar(sistema).empty()) return falhou("Falha ao localizar a pasta de sistema do Windows: ");
  p.PastaSistema = Maiusculas(sistema);
  const std::string windows = c_.util.RetornarPastaWindows();
  if (Aparar(windows).empty()) return falhou("Falha ao localizar a pasta Windows: ");
  p.PastaWindows = Maiusculas(windows);
  p.PastaPervasiveBin.clear();
  clsTavBtr20 acesso(*c_.ambiente.btrieve, *c_.ambiente.arquivos);
  if (acesso.VersaoBtrieve() == "8.60") {
    std::string pervasive;
    if (!c_.util.RetornarPastaPervasive(pervasive))
      return falhou("Falha ao localizar a pasta de instalação do Pervasive 8.60: ");
    p.PastaPervasiveBin = Maiusculas(pervasive + "\\BIN");
  }
  c_.progresso.ExibirMensagem("");
  return true;
}

// The bar's maximum: every component the passes may process, summed in 64 bits so that a
// count past the 32-bit range is the routine's error rather than a wrapped total.
bool clsInstaladorComponentes::ConfigurarBarraProgressoTotal() {
  const PastasInstalacao& p = c_.pastas;
  long long total = 0;
  auto somar = [&](const std::string& pasta) {
    std::int32_t quantidade = 0;
    if (!pasta_.RetornarQuantidadeComponentesPasta(pasta, quantidade)) return false;
    total += quantidade;
    return true;
  };
  for (const std::string* pasta : {&p.PastaComponentes, &p.PastaPsql, &p.PastaWindowsLibrary, &p.PastaComponentesNet})
    if (!somar(*pasta)) return false;
  std::vector<std::string> versoes;
  if (!pasta_.RetornarPastasKoraComponentesNetVersao(p.PastaComponentesNet, versoes)) return false;
  for (const std::string& versao : versoes) {
    const std::string base = p.PastaComponentesNet + "\\" + versao;
    if (!somar(base + "\\copiar") || !somar(base + "\\registrar")) return false;
  }
  total += net_.ObterArquivosComponentesDotNetCefSharpQuantidade();
  if (total > std::numeric_limits<std::int32_t>::max()) throw ErroRuntime(kErroEstouro, "Estouro");
  if (total == 0) {
    c_.progresso.CaixaMensagem("Não existem componentes na pasta: " + p.PastaComponentes +
                                   ", execute o instalador do Tavoran",
                               kTituloAtencao, BotoesCaixa::Ok, IconeCaixa::Informacao);
    return false;
  }
  c_.progresso.DefinirMaximoProgresso(static_cast<int>(total));
  return true;
}

// Libraries without the self-registration entry point, registered as .NET assemblies; the
// others are left to the ActiveX pass.
bool clsInstaladorComponentes::InstalarAtualizarComponentesPastaBiblioteca(const std::string& v_sPastaOrigem,
                                                                         const std::string& v_sPastaDestino) {
  std::vector<std::string> componentes;
  if (!pasta_.RetornarComponentesPasta(v_sPastaOrigem, componentes)) return false;
  for (const std::string& nome : componentes) {
    c_.progresso.ExibirMensagem("Verificando '" + nome + "'");
    const std::string origem = v_sPastaOrigem + "\\" + nome;
    bool possuiApi = false;
    if (!c_.regComp.VerificarPossuiApiRegistro(origem, possuiApi)) {
      if (c_.regComp.ErroNumero() == kErroCarregarBiblioteca) {
        possuiApi = true;
      } else {
        c_.GravarLog("Verificar API de registro do componente", c_.regComp.ErroNumero(), c_.regComp.ErroDescricao(),
                     "");
        possuiApi = false;
      }
    }
    if (!possuiApi && !operacoes_.InstalarAtualizarComponenteBiblioteca(origem, v_sPastaDestino + "\\" + nome, true))
      return false;
    c_.progresso.ExibirMensagem("");
  }
  return true;
}

bool clsInstaladorComponentes::InstalarAtualizarComponentes() {
  const PastasInstalacao& p = c_.pastas;
  return InstalarAtualizarComponentesPastaBiblioteca(p.PastaComponentes, p.PastaSistema) &&
         activeX_.InstalarAtualizarComponentesPastaActiveX(p.PastaComponentes, p.PastaSistema) &&
         executaveis_.InstalarAtualizarExecutaveis(p.PastaComponentes, p.PastaSistema) &&
         activeX_.InstalacaoTeeChart();
}

// Engine versions that compare below "8.60" as text have nothing here. The engine's folder is
// known for 8.60 only; for a later version the pass has no destination and does nothing.
bool clsInstaladorComponentes::InstalarAtualizarComponentesPervasive() {
  const PastasInstalacao& p = c_.pastas;
  if (c_.versaoBtrieve.compare("8.60") < 0 || p.PastaPervasiveBin.empty()) return true;
  return InstalarAtualizarComponentesPastaBiblioteca(p.PastaPsql, p.PastaPervasiveBin) &&
         activeX_.InstalarAtualizarComponentesPastaActiveX(p.PastaPsql, p.PastaPervasiveBin);
}

}  // namespace tavoran
