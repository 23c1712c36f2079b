// tavadmin: administration of the share's record files (status file, version file).
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Texto.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"
#include "tools/tavadmin/ComandosTavadmin.h"

#if defined(TAV_MOTOR_EMBUTIDO)
#include "engine/Motor.h"
#include "engine/MotorBtrieve.h"
#elif defined(_WIN32)
#include "platform/win32/BtrieveWin32.h"
#endif

namespace {

// The in-process engine when the build has one, else the installed wbtrv32.dll.
std::unique_ptr<tavoran::IBtrieve> CriarMotor() {
#if defined(TAV_MOTOR_EMBUTIDO)
  return std::make_unique<tavoran::MotorBtrieve>();
#else
  return tavoran::CriarBtrieveWin32();
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> argumentos;
  for (int i = 1; i < argc; ++i) {
#ifdef _WIN32
    argumentos.push_back(tavoran::DeCp1252(argv[i]));  // the ANSI code page of the command line
#else
    argumentos.push_back(argv[i]);
#endif
  }
  tavoran::tavadmin::CaminhosBtrieve btrieve(CriarMotor());
  tavoran::tavadmin::ArquivosFerramenta arquivos;
  tavoran::tavadmin::Contexto contexto{btrieve, arquivos, std::cout, std::cerr};
#if defined(TAV_MOTOR_EMBUTIDO)
  contexto.verificarEstrutura = [](const std::string& arquivo) {
    return TavMotorVerificar(tavoran::ParaCp1252(tavoran::tavadmin::ArquivosFerramenta::CaminhoLocal(arquivo)).c_str());
  };
#endif
  return tavoran::tavadmin::Executar(argumentos, contexto);
}
