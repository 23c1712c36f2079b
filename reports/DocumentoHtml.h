#pragma once
// The part both HTML reports share: the file opened for appending, the head with its
// style block, the row count and the error state of the writer.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"

namespace tavoran {

class DocumentoHtml {
 public:
  DocumentoHtml(IArquivos& arquivos, IRelogio& relogio, std::string titulo);

  EstadoErro& Erro() { return erro_; }
  const EstadoErro& Erro() const { return erro_; }
  const std::string& Arquivo() const { return arquivo_; }
  void Arquivo(const std::string& v_sArquivo) { arquivo_ = v_sArquivo; }
  bool Aberto() const { return aberto_ != nullptr; }
  bool TabelaIniciada() const { return tabelaIniciada_; }
  void MarcarTabelaIniciada() { tabelaIniciada_ = true; }
  // Rows written since the object was created, read as a 16-bit value (saturated).
  std::int16_t LogsGravados() const;

  // Opens the file when none is open and writes the head; false with the error set.
  bool AbrirComInicio();
  // One whole line in Windows-1252 followed by CR LF; a failed write raises ErroRuntime.
  void Escrever(const std::string& linha);
  // Adds one row to the count; past the 32-bit maximum raises the overflow error.
  void ContarLinha();
  // The local time of now, as the reports write it.
  std::string DataHoraAtual();
  // Writes the closing tags when rows were written and closes the file.
  bool FecharLog();

 private:
  bool AbrirLog();
  bool GravarInicioHtml();

  IArquivos& arquivos_;
  IRelogio& relogio_;
  std::string titulo_;
  EstadoErro erro_;
  std::string arquivo_;
  std::unique_ptr<IArquivoAberto> aberto_;
  bool tabelaIniciada_ = false;
  std::int32_t linhas_ = 0;
};

}  // namespace tavoran
