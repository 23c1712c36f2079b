#pragma once
// The update report: one HTML file per run listing every action with its outcome.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"
#include "reports/DocumentoHtml.h"

namespace tavoran {

class clsNKemRyxLog {
 public:
  clsNKemRyxLog(IArquivos& arquivos, IRelogio& relogio);
  ~clsNKemRyxLog();  // closes the file, ignoring errors
  clsNKemRyxLog(const clsNKemRyxLog&) = delete;
  clsNKemRyxLog& operator=(const clsNKemRyxLog&) = delete;

  std::int32_t ErroNumero() const;
  const std::string& ErroDescricao() const;
  const std::string& Arquivo() const;
  void Arquivo(const std::string& v_sArquivo);  // does not open the file
  std::int16_t LogsGravados() const;

  bool GravarLog(const std::string& v_sAcao, std::int32_t v_lErroNumero, const std::string& v_sErroDescricao);
  bool GravarAlerta(const std::string& v_sAlerta);
  bool FecharLog();

 private:
  DocumentoHtml documento_;
};

}  // namespace tavoran
