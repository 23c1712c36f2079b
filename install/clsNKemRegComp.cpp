#include "install/clsNKemRegComp.h"

#include "platform/ArquivoListado.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr std::uint32_t kLimiteRegistroMs = 20000;
constexpr const char* kRegistrar = "DllRegisterServer";
constexpr const char* kDesregistrar = "DllUnregisterServer";

}  // namespace

// Empty name: 106579; a file the directory lookup does not find: 106580.
bool clsNKemRegComp::VerificarArquivo(const std::string& v_sArquivo) {
  if (v_sArquivo.empty()) {
    erro_.Definir(106579, "O parâmetro v_sArquivo não foi informado.");
    return false;
  }
  if (ArquivoListado(*ambiente_.arquivos, v_sArquivo)) return true;
  erro_.Definir(106580, "O arquivo '" + v_sArquivo + "' não foi encontrado.");
  return false;
}

void clsNKemRegComp::IniciarOculto(const std::string& linha) {
  std::uint32_t id = 0;
  const Falha f = ambiente_.shell->IniciarPrograma(linha, EstiloJanela::Oculta, id);
  if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
}

// The entry point runs on a worker thread waited for at most 20 s; its own result is not
// examined. A worker that outlives the wait, or faults, counts as done and the run goes on.
bool clsNKemRegComp::RegistrarComponente(const std::string& v_sArquivo, bool v_bRegistrar) {
  erro_.Limpar();
  return Protegido(erro_, "RegistrarComponente", false, [&] {
    if (!VerificarArquivo(v_sArquivo)) return false;
    std::unique_ptr<IBiblioteca> biblioteca;
    if (ambiente_.bibliotecas->Carregar(v_sArquivo, biblioteca).Ocorreu() || !biblioteca) {
      erro_.Definir(kErroCarregarBiblioteca, "Falha ao carregar biblioteca do componente.");
      return false;
    }
    const std::string entrada = v_bRegistrar ? kRegistrar : kDesregistrar;
    if (!biblioteca->TemFuncao(entrada)) {
      // That library is installed by copying alone.
      if (TerminaComSemCaixa(v_sArquivo, "GDPDFPLUG.DLL")) return true;
      erro_.Definir(106582, "Falha ao retornar endereço da função " + entrada +
                                " - O componente não expõe interface OLE.");
      return false;
    }
    FimExecucao fim = FimExecucao::Retornou;
    if (biblioteca->ExecutarEmLinha(entrada, kLimiteRegistroMs, fim).Ocorreu()) {
      erro_.Definir(106583, "Falha ao criar thread para a função " + entrada + ".");
      return false;
    }
    if (fim != FimExecucao::Retornou) ++abandonadas_;
    return true;
  });
}

// RegAsm's exit code is not examined: the caller looks for the type library it writes.
bool clsNKemRegComp::RegistrarComponenteNet(const std::string& v_sArquivo, bool v_bRegistrar) {
  erro_.Limpar();
  return Protegido(erro_, "RegistrarComponenteNet", false, [&] {
    if (!VerificarArquivo(v_sArquivo)) return false;
    const std::string base = v_sArquivo.size() >= 4 ? v_sArquivo.substr(0, v_sArquivo.size() - 4) : std::string();
    std::string argumentos =
        v_bRegistrar ? " /tlb:@TLB.tlb @DLL /codebase" : " /u /tlb:@TLB.tlb @DLL /codebase";
    argumentos = Substituir(Substituir(argumentos, "@DLL", v_sArquivo), "@TLB", base);
    if (!shell_.ShellExecutarEAguardarTermino(regAsm_ + argumentos, EstiloJanela::Oculta)) {
      erro_.Definir(shell_.ErroNumero(), shell_.ErroDescricao(), "RegistrarComponenteNet");
      return false;
    }
    return true;
  });
}

bool clsNKemRegComp::RegistrarComponenteRegServer(const std::string& v_sArquivo) {
  erro_.Limpar();
  return Protegido(erro_, "RegistrarComponenteRegServer", false, [&] {
    if (!VerificarArquivo(v_sArquivo)) return false;
    IniciarOculto(v_sArquivo + " /unregserver");
    IniciarOculto(v_sArquivo + " /regserver");
    return true;
  });
}

bool clsNKemRegComp::VerificarPossuiApiRegistro(const std::string& v_sArquivo, bool& v_bPossuiApi) {
  v_bPossuiApi = false;
  erro_.Limpar();
  return Protegido(erro_, "VerificarPossuiApiRegistro", false, [&] {
    // Read from the export table: a library of the wrong kind, or cut short, is refused as
    // loading it would be, and no component's code runs just to be asked.
    if (ambiente_.bibliotecas->Exporta(v_sArquivo, kRegistrar, v_bPossuiApi).Ocorreu()) {
      v_bPossuiApi = false;
      erro_.Definir(kErroCarregarBiblioteca, "Falha ao carregar biblioteca do componente: " + Aparar(v_sArquivo));
      return false;
    }
    return true;
  });
}

// A type library that is not registered answers "not registered"; a file whose type library
// cannot be read answers the number that means "cannot be used".
bool clsNKemRegComp::VerificarComponenteRegistrado(const std::string& v_sArquivo, bool& v_bRegistrado) {
  v_bRegistrado = false;
  erro_.Limpar();
  return Protegido(erro_, "VerificarComponenteRegistrado", false, [&] {
    IdTypeLib id;
    const Falha lida = ambiente_.com->LerTypeLib(v_sArquivo, id);
    if (lida.Ocorreu()) {
      erro_.Definir(kErroTypeLibInutilizavel, "Não foi possível ler a biblioteca de tipos do arquivo: " + lida.descricao,
                    "RetornarTypeLibArquivo");
      return false;
    }
    const Falha consulta = ambiente_.com->TypeLibRegistrada(id, v_bRegistrado);
    if (consulta.Ocorreu()) {
      erro_.Definir(consulta.numero, consulta.descricao, "VerificarComponenteRegistrado");
      return false;
    }
    return true;
  });
}

}  // namespace tavoran
