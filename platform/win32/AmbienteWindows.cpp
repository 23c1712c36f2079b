#include "platform/win32/AmbienteWindows.h"

#include "platform/LeitorXml.h"
#include "platform/win32/ArquivosWin32.h"
#include "platform/win32/BibliotecasWin32.h"
#include "platform/win32/BtrieveWin32.h"
#include "platform/win32/ComWin32.h"
#include "platform/win32/ConsultaUnidadesWin32.h"
#include "platform/win32/JanelasWin32.h"
#include "platform/win32/PastasEspeciaisWin32.h"
#include "platform/win32/ProcessosWin32.h"
#include "platform/win32/RedeWin32.h"
#include "platform/win32/RegionalWin32.h"
#include "platform/win32/RegistroWin32.h"
#include "platform/win32/RelogioWin32.h"
#include "platform/win32/SegurancaWin32.h"
#include "platform/win32/SessaoTerminalWin32.h"
#include "platform/win32/ShellWin32.h"
#include "platform/win32/SistemaWin32.h"
#include "platform/win32/UnidadesWin32.h"
#include "platform/win32/VisaoWin32.h"

namespace tavoran {

std::unique_ptr<Ambiente> CriarAmbienteWindows(std::unique_ptr<IPastasEspeciais> pastasEspeciais) {
  auto a = std::make_unique<Ambiente>();
  // The files facility, the libraries and COM read the same component files.
  auto imagens = std::make_shared<win32::ImagensLidas>(win32::ImagensLidas::ArquivoPadrao());
  a->registro = std::make_unique<win32::RegistroWin32>();
  a->arquivos = std::make_unique<win32::ArquivosWin32>(imagens);
  a->shell = std::make_unique<win32::ShellWin32>();
  a->janelas = std::make_unique<win32::JanelasWin32>();
  a->regional = std::make_unique<win32::RegionalWin32>();
  a->pastasEspeciais = pastasEspeciais ? std::move(pastasEspeciais) : std::make_unique<win32::PastasEspeciaisWin32>();
  a->sistema = std::make_unique<win32::SistemaWin32>();
  a->processos = std::make_unique<win32::ProcessosWin32>();
  a->unidades = std::make_unique<win32::UnidadesWin32>();
  a->xml = std::make_unique<LeitorXml>(*a->arquivos);
  a->visao = std::make_unique<win32::VisaoWin32>();
  a->relogio = std::make_unique<win32::RelogioWin32>();
  a->btrieve = CriarBtrieveWin32();
  a->sessaoTerminal = CriarSessaoTerminalWin32();
  a->rede = CriarRedeWin32();
  a->consultaUnidades = CriarConsultaUnidadesWin32();
  a->bibliotecas = std::make_unique<win32::BibliotecasWin32>(imagens);
  a->com = std::make_unique<win32::ComWin32>(std::move(imagens));
  a->seguranca = std::make_unique<win32::SegurancaWin32>();
  return a;
}

}  // namespace tavoran
