#pragma once
// The fleet page: one self-contained HTML document (style and chart inline, nothing
// fetched) with the workstations, the pending forced updates, the lock files, the
// updates per day and links to each computer's newest reports.
#include <string>

#include "platform/Relogio.h"
#include "tools/tavadmin/LeitorFrota.h"

namespace tavoran::tavadmin {

struct DadosPagina {
  std::string dirT;          // shown as read
  DataHora agora;            // the generation time; the chart ends on its day
  std::string enderecoDirT;  // the main directory as the page's links reach it, "" or ending in "/"
};

class PaginaPainel {
 public:
  PaginaPainel(const Frota& frota, DadosPagina dados);
  // The document in UTF-8, lines ended by CR LF; the page declares Windows-1252, the
  // encoding it is written in.
  std::string Montar();

 private:
  void Cabecalho();
  void Resumo();
  void Grafico();
  void Pendentes();
  void Bloqueios();
  void Estacoes();
  void SemRegistro();
  void Linha(const std::string& texto);
  // The cells of a computer's newest update and inconsistency reports.
  std::string CelulasRelatorios(const std::string& maquina) const;
  std::string Link(const std::string& pasta, const std::string& nome) const;

  const Frota& frota_;
  DadosPagina dados_;
  std::string html_;
};

// Text with & < > " ' written as character references.
std::string EscaparHtml(const std::string& texto);

}  // namespace tavoran::tavadmin
