#include "install/clsInstaladorNet.h"

#include <cctype>
#include <cmath>

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr const char* kTavIntegCnpj = "TAVINTEGCNPJ.EXE";
constexpr const char* kProprias[] = {"Tavoran.Core.dll",    "Tavoran.Messenger.dll",
                                     "Tavoran.Messenger.XmlSerializers.dll", "Tavoran.TavCnpj.dll",
                                     "Tavoran.Services.dll", "TavoranFramework.dll"};
constexpr const char* kCefSharp[] = {
    "cef.pak", "cef_100_percent.pak", "cef_200_percent.pak", "cef_extensions.pak",
    "CefSharp.BrowserSubprocess.Core.dll", "CefSharp.BrowserSubprocess.exe", "CefSharp.Core.dll",
    "CefSharp.Core.xml", "CefSharp.dll", "CefSharp.OffScreen.dll", "CefSharp.OffScreen.xml", "CefSharp.xml",
    "d3dcompiler_43.dll", "d3dcompiler_47.dll", "devtools_resources.pak", "icudtl.dat", "libcef.dll", "libEGL.dll",
    "libGLESv2.dll", "natives_blob.bin", "snapshot_blob.bin", "widevinecdmadapter.dll"};
constexpr const char* kChaveNet35 = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5";
constexpr const char* kChaveNet4 = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full";
constexpr std::uint32_t kReleaseNet45 = 379893;
constexpr int kTentativasRegistro = 2;
constexpr int kVerificacoesPorTentativa = 7;

}  // namespace

clsInstaladorNet::clsInstaladorNet(ContextoInstalacao& contexto, clsComponentesPasta& pasta,
                                   clsOperacoesComponente& operacoes,
                                   std::function<bool(const std::string&)> pararServicoResidente)
    : c_(contexto), pasta_(pasta), op_(operacoes), pararServicoResidente_(std::move(pararServicoResidente)) {}

std::string clsInstaladorNet::TypeLib(const std::string& v_sArquivo) const {
  return (v_sArquivo.size() >= 4 ? v_sArquivo.substr(0, v_sArquivo.size() - 4) : v_sArquivo) + ".tlb";
}

bool clsInstaladorNet::InstalarAtualizarComponentesNet() {
  clsWindowsUsuarios usuarios(*c_.ambiente.seguranca);
  if (!usuarios.VerificarUsuarioPertenceGrupoAdministradoresWindows()) {
    c_.GravarLog(std::string("Não foi possível inicializar o Kem.") + kQuebraLinha +
                     "Os componentes desta máquina estão pendentes de atualização, mas o usuário atual não pertence "
                     "ao grupo de administradores do Windows." +
                     kQuebraLinha +
                     "Para utilizar o Kem, logue no Windows utilizando usuário com privilégios administrativos.",
                 9070, "", "");
    return false;
  }
  bool emExecucao = false;
  std::string encontrado;
  if (!c_.util.VerificarProcessoInicializado("TAVINT", emExecucao, encontrado)) return false;
  // Without a way to stop it, a running integration program keeps its files: no update.
  if (emExecucao && !(pararServicoResidente_ && pararServicoResidente_(encontrado))) return false;
  const PastasInstalacao& p = c_.pastas;
  return InstalarAtualizarComponentesPastaBibliotecaNet(p.PastaComponentesNet, p.PastaSistema) &&
         InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoes(p.PastaComponentesNet, p.PastaSistema) &&
         InstalarComponentesDotNetCefSharp();
}

// The 32-bit framework folder beside the system folder; the last qualifying version folder
// holding RegAsm, in listing order, wins.
bool clsInstaladorNet::CarregarRegAsm() {
  const std::string sistema = c_.pastas.PastaSistema;
  const auto corte = Maiusculas(sistema).rfind("\\SYS");
  const std::string framework =
      (corte == std::string::npos ? sistema : sistema.substr(0, corte)) + "\\Microsoft.Net\\Framework\\";
  const std::vector<EntradaPasta> entradas = c_.ambiente.arquivos->Listar(framework + "*");
  if (entradas.empty()) return false;
  std::string escolhida;
  for (const EntradaPasta& e : entradas) {
    if (!e.pasta || e.nome.size() < 2 || std::tolower(static_cast<unsigned char>(e.nome[0])) != 'v' ||
        !std::isdigit(static_cast<unsigned char>(e.nome[1])))
      continue;
    for (const EntradaPasta& arquivo : c_.ambiente.arquivos->Listar(framework + e.nome + "\\*"))
      if (!arquivo.pasta && Maiusculas(arquivo.nome) == "REGASM.EXE") escolhida = e.nome;
  }
  if (escolhida.empty()) return false;
  c_.caminhoRegAsm = framework + escolhida + "\\REGASM.EXE";
  c_.versaoFrameworkRegAsm = static_cast<std::int32_t>(std::lround(ValorNumerico(escolhida.substr(1))));
  return c_.versaoFrameworkRegAsm >= 2;
}

bool clsInstaladorNet::InstalarAtualizarComponentesPastaBibliotecaNet(const std::string& v_sPastaOrigem,
                                                                      const std::string& v_sPastaDestino) {
  std::vector<std::string> componentes;
  if (!pasta_.RetornarComponentesPasta(v_sPastaOrigem, componentes)) return false;
  if (!CarregarRegAsm()) return true;
  c_.progresso.ExibirMensagem(std::string("Verificando '") + kTavIntegCnpj + "'");
  if (!InstalarAtualizarTavIntegCnpj(v_sPastaOrigem + "\\" + kTavIntegCnpj, v_sPastaDestino + "\\" + kTavIntegCnpj))
    return false;
  const std::vector<std::string> proprias(std::begin(kProprias), std::end(kProprias));
  for (const std::string& nome : componentes) {
    bool podeInstalar = false;
    if (!VerificarComponenteDotNetPodeSerInstalado(nome, proprias, podeInstalar)) return false;
    if (podeInstalar) {
      c_.progresso.ExibirMensagem("Verificando '" + nome + "'");
      if (!InstalarAtualizarComponenteBibliotecaNet(v_sPastaOrigem + "\\" + nome, v_sPastaDestino + "\\" + nome))
        return false;
    }
    c_.progresso.ExibirMensagem("");
  }
  return true;
}

bool clsInstaladorNet::VerificarComponenteDotNetPodeSerInstalado(const std::string& v_sArquivo,
                                                                 const std::vector<std::string>& v_asProprios,
                                                                 bool& v_bPodeInstalar) {
  v_bPodeInstalar = false;
  if (Maiusculas(v_sArquivo) == "TAVINTEGCNPJANF.DLL") return true;
  bool propria = false;
  if (!VerificarComponenteExisteNoArray(v_sArquivo, v_asProprios, propria)) return false;
  v_bPodeInstalar = !propria || c_.versaoFrameworkRegAsm >= 4;
  return true;
}

bool clsInstaladorNet::VerificarComponenteExisteNoArray(const std::string& v_sNome,
                                                        const std::vector<std::string>& v_asLista,
                                                        bool& v_bEncontrado) {
  const std::string nome = Maiusculas(Aparar(v_sNome));
  v_bEncontrado = false;
  for (const std::string& item : v_asLista)
    if (Maiusculas(Aparar(item)) == nome) v_bEncontrado = true;
  return true;
}

bool clsInstaladorNet::InstalarAtualizarComponenteBibliotecaNet(const std::string& v_sOrigem,
                                                                const std::string& v_sDestino) {
  const std::string nome = c_.util.RetornarNomeArquivo(v_sOrigem, false);
  c_.progresso.ExibirMensagem("Processando '" + nome + "'");
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    if (!op_.InstalarComponenteBiblioteca(v_sOrigem, v_sDestino, true)) return false;
  } else {
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!op_.VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
    bool typeLibExiste = c_.util.ArquivoExiste(TypeLib(v_sDestino));
    // An old assembly under an old framework is left as it is.
    if (versaoMaior < 2 && c_.versaoFrameworkRegAsm < 4) precisa = false, typeLibExiste = true;
    if (precisa || !typeLibExiste) {
      c_.progresso.ExibirMensagem("Atualizando '" + nome + "'");
      if (!AtualizarComponenteBibliotecaNet(v_sOrigem, v_sDestino, false)) return false;
      if (!RegistrarComponenteNetComTentativas(v_sOrigem, v_sDestino))
        return false;
    }
  }
  c_.progresso.AdicionarProgresso();
  return true;
}

bool clsInstaladorNet::AtualizarComponenteBibliotecaNet(const std::string& v_sOrigem, const std::string& v_sDestino,
                                                        bool v_bExcluirTypeLib) {
  const std::string texto = "Atualizar componente de biblioteca '" + v_sDestino + "'.";
  if (!op_.PrepararCopia(v_sOrigem, v_sDestino)) {
    c_.GravarLog(texto, 0, "");
    return true;
  }
  op_.RegistrarComponenteNet(v_sDestino, false);
  // The old type library goes first: when it cannot, the assembly is still there.
  if (v_bExcluirTypeLib) {
    const std::string typeLib = Substituir(Maiusculas(v_sDestino), ".DLL", ".TLB");
    const std::string textoTypeLib = "Atualizar componente de biblioteca '" + typeLib + "'.";
    bool typeLibPropria = false;
    if (!op_.ExcluirComponente(textoTypeLib, typeLib, typeLibPropria)) {
      // The pass stops here; an unlisted file's failure would otherwise stop it without a word.
      op_.DescartarCopia(v_sDestino);
      c_.GravarLog(textoTypeLib, op_.FalhaExclusao().numero, op_.FalhaExclusao().descricao, "");
      return false;
    }
  }
  bool proprio = false;
  if (!op_.ExcluirComponente(texto, v_sDestino, proprio)) {
    op_.DescartarCopia(v_sDestino);
    return !proprio;
  }
  op_.ConcluirCopia(v_sOrigem, v_sDestino);  // RegAsm writes the type library anew
  c_.GravarLog(texto, 0, "");
  return true;
}

// Two RegAsm runs at most, each followed by up to seven looks for the type library, one per
// 500 ms pause of the window; the first look that finds it ends the wait.
bool clsInstaladorNet::RegistrarComponenteNetComTentativas(const std::string& /*v_sPastaOrigem*/,
                                                           const std::string& v_sDestino) {
  const std::string typeLib = TypeLib(v_sDestino);
  for (int tentativa = 0; tentativa < kTentativasRegistro; ++tentativa) {
    op_.RegistrarComponenteNet(v_sDestino, true);
    for (int verificacao = 0; verificacao < kVerificacoesPorTentativa; ++verificacao) {
      c_.progresso.Aguardar();
      const bool existe = c_.util.ArquivoExiste(typeLib);
      if (c_.util.ErroNumero() != 0) return false;
      if (existe) return true;
    }
  }
  const std::string nome = c_.util.RetornarNomeArquivo(v_sDestino, false);
  c_.GravarLog("Atualizando '" + nome + "'", 12345,
               "Não foi possível registrar o componente " + nome +
                   ". Verifique se o .NET Framework 3.5 e 4.5 estão corretamente instalados.",
               "");
  return false;
}

bool clsInstaladorNet::InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoes(
    const std::string& v_sPastaOrigem, const std::string& v_sPastaDestino) {
  std::vector<std::string> versoes;
  if (!pasta_.RetornarPastasKoraComponentesNetVersao(v_sPastaOrigem, versoes)) return false;
  if (!CarregarRegAsm()) return true;
  auto criar = [&](const std::string& pasta) {
    if (c_.util.PastaExiste(pasta)) return;
    const Falha f = c_.ambiente.arquivos->CriarPasta(pasta);
    if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
  };
  const std::string base = v_sPastaDestino + "\\CompDotNetVelmora";
  criar(base);
  for (const std::string& versao : versoes) {
    criar(base + "\\" + versao);
    if (!InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoesArquivos(v_sPastaOrigem + "\\" + versao,
                                                                            base + "\\" + versao))
      return false;
  }
  return true;
}

bool clsInstaladorNet::InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoesArquivos(
    const std::string& v_sPastaOrigem, const std::string& v_sPastaDestino) {
  const std::string final = v_sPastaOrigem.size() >= 2 ? v_sPastaOrigem.substr(v_sPastaOrigem.size() - 2) : "";
  if (ValorNumerico(final) == 45) {
    bool instalado = false;
    if (!RetornarNetFramewor45kInstalado(instalado)) return false;
    if (!instalado) return true;
  }
  return InstalarPasta(v_sPastaOrigem + "\\copiar", v_sPastaDestino, false) &&
         InstalarPasta(v_sPastaOrigem + "\\registrar", v_sPastaDestino, true);
}

bool clsInstaladorNet::InstalarPasta(const std::string& v_sOrigem, const std::string& v_sDestino, bool v_bRegistrar) {
  std::vector<std::string> componentes;
  if (!pasta_.RetornarComponentesPasta(v_sOrigem, componentes)) return false;
  for (const std::string& nome : componentes) {
    c_.progresso.ExibirMensagem("Verificando '" + nome + "'");
    if (!InstalarAtualizarComponenteBibliotecaNetVersao(v_sOrigem + "\\" + nome, v_sDestino + "\\" + nome,
                                                        v_bRegistrar))
      return false;
  }
  return true;
}

bool clsInstaladorNet::InstalarAtualizarComponenteBibliotecaNetVersao(const std::string& v_sOrigem,
                                                                      const std::string& v_sDestino,
                                                                      bool v_bRegistrar) {
  const std::string nome = c_.util.RetornarNomeArquivo(v_sOrigem, false);
  c_.progresso.ExibirMensagem("Processando '" + nome + "'");
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    if (!op_.InstalarComponenteBiblioteca(v_sOrigem, v_sDestino, v_bRegistrar)) return false;
    c_.progresso.AdicionarProgresso();
    return true;
  }
  bool precisa = false;
  std::int32_t versaoMaior = 0;
  if (!op_.VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
  bool typeLibExiste = false;
  if (v_bRegistrar) {
    typeLibExiste = c_.util.ArquivoExiste(TypeLib(v_sDestino));
    if (versaoMaior < 2 && c_.versaoFrameworkRegAsm < 4) precisa = false, typeLibExiste = true;
  }
  if (precisa || (v_bRegistrar && !typeLibExiste)) {
    c_.progresso.ExibirMensagem("Atualizando '" + nome + "'");
    if (!AtualizarComponenteBibliotecaNet(v_sOrigem, v_sDestino, typeLibExiste)) return false;
    if (v_bRegistrar && !RegistrarComponenteNetComTentativas(v_sOrigem, v_sDestino)) return false;
  }
  c_.progresso.AdicionarProgresso();
  return true;
}

bool clsInstaladorNet::RetornarNetFramewor35kInstalado(bool& v_bInstalado) {
  v_bInstalado = c_.util.LerDWordRegistro(RaizRegistro::LocalMachine, kChaveNet35, "Install") == 1;
  return c_.util.ErroNumero() == 0;
}

bool clsInstaladorNet::RetornarNetFramewor45kInstalado(bool& v_bInstalado) {
  v_bInstalado = c_.util.LerDWordRegistro(RaizRegistro::LocalMachine, kChaveNet4, "Release") >= kReleaseNet45;
  return c_.util.ErroNumero() == 0;
}

// A share without the executable has nothing to install here.
bool clsInstaladorNet::InstalarAtualizarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino) {
  if (!c_.util.ArquivoExiste(v_sOrigem)) return true;
  const std::string nome = c_.util.RetornarNomeArquivo(v_sOrigem, false);
  c_.progresso.ExibirMensagem("Processando '" + nome + "'");
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    if (!InstalarTavIntegCnpj(v_sOrigem, v_sDestino)) return false;
  } else {
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!op_.VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
    if (precisa) {
      c_.progresso.ExibirMensagem("Atualizando '" + nome + "'");
      if (!AtualizarTavIntegCnpj(v_sOrigem, v_sDestino)) return false;
      RegistrarTavIntegCnpj(v_sDestino);
    }
  }
  c_.progresso.AdicionarProgresso();
  return true;
}

bool clsInstaladorNet::InstalarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino) {
  op_.CopiarComponente(v_sOrigem, v_sDestino);
  RegistrarTavIntegCnpj(v_sDestino);
  c_.GravarLog("Instalar componente de biblioteca '" + v_sDestino + "'.", 0, "");
  return true;
}

bool clsInstaladorNet::AtualizarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino) {
  return op_.SubstituirArquivo("Atualizar componente de biblioteca '" + v_sDestino + "'.", v_sOrigem, v_sDestino);
}

bool clsInstaladorNet::RegistrarTavIntegCnpj(const std::string& v_sArquivo) {
  if (!c_.regComp.RegistrarComponenteRegServer(v_sArquivo))
    c_.GravarLog("Registrar componente '" + v_sArquivo + "'.", c_.regComp.ErroNumero(), c_.regComp.ErroDescricao(),
                 "");
  return true;
}

bool clsInstaladorNet::ObterArquivosComponentesDotNetCefSharp(std::vector<std::string>& v_asArquivos) {
  v_asArquivos.assign(std::begin(kCefSharp), std::end(kCefSharp));
  return true;
}

std::vector<std::string> clsInstaladorNet::ArquivosPak() {
  std::vector<std::string> nomes;
  for (const EntradaPasta& e : c_.ambiente.arquivos->Listar(c_.pastas.PastaLocales + "\\*.pak"))
    if (!e.pasta) nomes.push_back(e.nome);
  return nomes;
}

std::int32_t clsInstaladorNet::ObterArquivosComponentesDotNetCefSharpQuantidade() {
  std::int32_t quantidade = 0;
  for (const char* nome : kCefSharp)
    if (c_.util.ArquivoExiste(c_.pastas.PastaCefSharp + "\\" + nome)) ++quantidade;
  return quantidade + static_cast<std::int32_t>(ArquivosPak().size());
}

// A d3dcompiler library that cannot be copied does not stop the copy; any other file does.
bool clsInstaladorNet::InstalarComponentesDotNetCefSharp() {
  const PastasInstalacao& p = c_.pastas;
  if (!c_.util.PastaExiste(p.PastaCefSharp)) return true;
  for (const char* nome : kCefSharp) {
    const std::string origem = p.PastaCefSharp + "\\" + nome;
    if (!c_.util.ArquivoExiste(origem)) continue;
    if (!op_.InstalarAtualizarComponenteBiblioteca(origem, p.PastaSistema + "\\" + nome, false) &&
        !IguaisSemCaixa(nome, "d3dcompiler_47.dll") && !IguaisSemCaixa(nome, "d3dcompiler_43.dll"))
      return false;
  }
  const std::string locais = p.PastaSistema + "\\locales";
  if (!c_.util.PastaExiste(locais)) {
    const Falha f = c_.ambiente.arquivos->CriarPasta(locais);
    if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
  }
  for (const std::string& nome : ArquivosPak())
    if (!op_.InstalarAtualizarComponenteBiblioteca(p.PastaLocales + "\\" + nome, locais + "\\" + nome, false))
      return false;
  return true;
}

}  // namespace tavoran
