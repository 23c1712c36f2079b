#include "reports/DocumentoHtml.h"

#include <limits>
#include <utility>

#include "platform/Texto.h"

namespace tavoran {
namespace {

// The six border and font properties shared by the td and table rules.
constexpr const char* kPropriedadesCelula[] = {
    "            border-color:#666666;",
    "            border-width:1;",
    "            border-collapse:collapse;",
    "            border-style:solid;",
    "            font-family: Arial, Helvetica, sans-serif;",
    "            font-size:10pt;",
};

constexpr const char* kEstilosFinais[] = {
    "        .TituloRelatorio {",
    "           text-align:center;",
    "           font-size:10pt;",
    "           font-weight:bold;",
    "           font-family:tahoma; ",
    "           border-style:none; ",
    "           border-width:1; ",
    "           border-color:black;",
    "        }",
    "        .Alerta {",
    "           text-align:center;",
    "           font-size:9pt;",
    "           font-weight:bold;",
    "           font-family:tahoma; ",
    "           border-style:solid; ",
    "           border-width:1; ",
    "           border-color:#D6D6FA;",
    "           background-color:#E6E6FA;",
    "        }",
    "        .tdTitulo {",
    "           font-family: Arial, Helvetica, sans-serif;",
    "           text-align:center;",
    "           background-color:#B2B2B2;",
    "           color:#FFFFFF;",
    "           font-weight:bold;",
    "           font-size:9pt",
    "        }",
    "        .tdOK {",
    "           font-family: Arial, Helvetica, sans-serif;",
    "           background-color:#F4F4F4;",
    "           color:#000000;",
    "           font-size:9pt",
    "        }",
    "        .tdErro {",
    "           font-family: Arial, Helvetica, sans-serif;",
    "           background-color:#F4F4F4;",
    "           color:#FF0000;",
    "           font-size:9pt",
    "        }",
    "    </style>",
    "</head>",
    "<body>",
};

}  // namespace

DocumentoHtml::DocumentoHtml(IArquivos& arquivos, IRelogio& relogio, std::string titulo)
    : arquivos_(arquivos), relogio_(relogio), titulo_(std::move(titulo)) {}

std::int16_t DocumentoHtml::LogsGravados() const {
  return static_cast<std::int16_t>(
      linhas_ > std::numeric_limits<std::int16_t>::max() ? std::numeric_limits<std::int16_t>::max() : linhas_);
}

bool DocumentoHtml::AbrirComInicio() {
  if (Aberto()) return true;
  return AbrirLog() && GravarInicioHtml();
}

bool DocumentoHtml::AbrirLog() {
  return Protegido(erro_, "AbrirLog", false, [&] {
    erro_.Limpar();
    if (Aberto()) FecharLog();
    std::unique_ptr<IArquivoAberto> novo;
    const Falha f = arquivos_.AbrirParaAcrescentar(arquivo_, novo);
    if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
    aberto_ = std::move(novo);
    tabelaIniciada_ = false;
    return true;
  });
}

bool DocumentoHtml::GravarInicioHtml() {
  return Protegido(erro_, "GravarInicioHtml", false, [&] {
    Escrever("<html>");
    Escrever("<head>");
    Escrever("    <title>" + titulo_ + "</title>");
    Escrever("    <style type='text/css'>");
    Escrever("        td {");
    for (const char* p : kPropriedadesCelula) Escrever(p);
    Escrever("        }");
    Escrever("        tr {");
    // The tr rule has the same properties with one blank less.
    for (const char* p : kPropriedadesCelula) Escrever(std::string(p).substr(1));
    Escrever("        }");
    Escrever("        table {");
    for (const char* p : kPropriedadesCelula) Escrever(p);
    Escrever("        }");
    for (const char* l : kEstilosFinais) Escrever(l);
    Escrever("<p class='TituloRelatorio'>" + titulo_ + "</p>");
    return true;
  });
}

void DocumentoHtml::Escrever(const std::string& linha) {
  if (!aberto_) throw ErroRuntime(52, "Nome ou número de arquivo inválido");
  const Falha f = aberto_->Escrever(ParaCp1252(linha) + "\r\n");
  if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
}

void DocumentoHtml::ContarLinha() {
  if (linhas_ == std::numeric_limits<std::int32_t>::max()) throw ErroRuntime(6, "Estouro");
  ++linhas_;
}

std::string DocumentoHtml::DataHoraAtual() { return FormatarDataHoraRelatorio(relogio_.Agora()); }

bool DocumentoHtml::FecharLog() {
  return Protegido(erro_, "FecharLog", false, [&] {
    erro_.Limpar();
    // Closing twice (explicitly, then on destruction) writes the closing tags once.
    if (!Aberto()) return true;
    // The file is closed even when a closing tag cannot be written.
    struct Fechamento {
      DocumentoHtml& d;
      ~Fechamento() {
        d.aberto_.reset();
        d.tabelaIniciada_ = false;
      }
    } fechamento{*this};
    if (linhas_ > 0) {
      Escrever("</table>");
      Escrever("</body>");
      Escrever("</html>");
    }
    return true;
  });
}

}  // namespace tavoran
