#pragma once
// The registration engine: registers COM libraries through their own entry points on a
// worker thread, .NET assemblies through RegAsm and COM executables through their switches;
// tells whether a file exports the entry point and whether its type library is registered.
#include <cstdint>
#include <string>

#include "install/clsNShellExecWait.h"
#include "platform/Ambiente.h"
#include "platform/Erro.h"

namespace tavoran {

// Number a registration check answers when the file's type library cannot be used.
constexpr std::int32_t kErroTypeLibInutilizavel = -2147220990;
constexpr std::int32_t kErroCarregarBiblioteca = 106581;

class clsNKemRegComp {
 public:
  explicit clsNKemRegComp(Ambiente& ambiente) : ambiente_(ambiente), shell_(ambiente) {}

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }
  void RegAsm(const std::string& v_sRegAsm) { regAsm_ = v_sRegAsm; }

  bool RegistrarComponente(const std::string& v_sArquivo, bool v_bRegistrar);
  bool RegistrarComponenteNet(const std::string& v_sArquivo, bool v_bRegistrar);
  bool RegistrarComponenteRegServer(const std::string& v_sArquivo);
  bool VerificarPossuiApiRegistro(const std::string& v_sArquivo, bool& v_bPossuiApi);
  bool VerificarComponenteRegistrado(const std::string& v_sArquivo, bool& v_bRegistrado);

  // How many self-registration workers were left running or ended by a fault (all runs).
  int LinhasAbandonadas() const { return abandonadas_; }

 private:
  bool VerificarArquivo(const std::string& v_sArquivo);
  void IniciarOculto(const std::string& linha);

  Ambiente& ambiente_;
  clsNShellExecWait shell_;
  EstadoErro erro_;
  std::string regAsm_;
  int abandonadas_ = 0;
};

}  // namespace tavoran
