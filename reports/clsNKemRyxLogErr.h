#pragma once
// The inconsistency report: one HTML row per failure the user must act on, with the
// help-article link chosen by the error number and key.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"
#include "reports/DocumentoHtml.h"
#include "reports/LinksAjuda.h"

namespace tavoran {

class clsNKemRyxLogErr {
 public:
  clsNKemRyxLogErr(IArquivos& arquivos, IRelogio& relogio, const LinksAjuda& links);
  ~clsNKemRyxLogErr();  // closes the file, ignoring errors
  clsNKemRyxLogErr(const clsNKemRyxLogErr&) = delete;
  clsNKemRyxLogErr& operator=(const clsNKemRyxLogErr&) = delete;

  std::int32_t ErroNumero() const;
  const std::string& ErroDescricao() const;
  const std::string& Arquivo() const;
  void Arquivo(const std::string& v_sArquivo);
  std::int16_t LogsGravados() const;

  // The link argument is not used: the row's link is always the one the table finds.
  bool GravarLog(const std::string& v_sMensagem, const std::string& v_sLink, std::int32_t v_lErroNumero,
                 const std::string& v_sErroDescricao, const std::string& v_sErroChave,
                 const std::string& v_sSolucao);
  bool TratarErrosComFAQLinks(std::int32_t v_lErroNumero, std::string& v_sLink, const std::string& v_sErroDescricao,
                              const std::string& v_sErroChave);
  bool FecharLog();

 private:
  DocumentoHtml documento_;
  const LinksAjuda& links_;
};

}  // namespace tavoran
