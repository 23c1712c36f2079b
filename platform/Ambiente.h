#pragma once
// Every Windows facility the logic uses, bundled in one object that Main creates and
// hands down. The Windows build fills it with the real facilities, tests with fakes.
#include <memory>

#include "platform/Arquivos.h"
#include "platform/Bibliotecas.h"
#include "platform/Btrieve.h"
#include "platform/Com.h"
#include "platform/Janelas.h"
#include "platform/PastasEspeciais.h"
#include "platform/Processos.h"
#include "platform/Rede.h"
#include "platform/Seguranca.h"
#include "platform/Regional.h"
#include "platform/Registro.h"
#include "platform/Relogio.h"
#include "platform/SessaoTerminal.h"
#include "platform/Shell.h"
#include "platform/Sistema.h"
#include "platform/Unidades.h"
#include "platform/Visao.h"
#include "platform/Xml.h"

namespace tavoran {

struct Ambiente {
  std::unique_ptr<IRegistro> registro;
  std::unique_ptr<IArquivos> arquivos;
  std::unique_ptr<IShell> shell;
  std::unique_ptr<IJanelas> janelas;
  std::unique_ptr<IRegional> regional;
  std::unique_ptr<IPastasEspeciais> pastasEspeciais;
  std::unique_ptr<ISistema> sistema;
  std::unique_ptr<IProcessos> processos;
  std::unique_ptr<IUnidades> unidades;
  std::unique_ptr<IXml> xml;
  std::unique_ptr<IVisao> visao;
  std::unique_ptr<IRelogio> relogio;
  std::unique_ptr<IBtrieve> btrieve;
  std::unique_ptr<ISessaoTerminal> sessaoTerminal;
  std::unique_ptr<IRede> rede;
  std::unique_ptr<IConsultaUnidades> consultaUnidades;
  std::unique_ptr<IBibliotecas> bibliotecas;
  std::unique_ptr<ICom> com;
  std::unique_ptr<ISeguranca> seguranca;
};

}  // namespace tavoran
