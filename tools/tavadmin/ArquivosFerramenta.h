#pragma once
// The few file facilities tavadmin needs (existence, folder listings, reading a manifest,
// writing a page, removing a file it created), on std::filesystem so that the same code
// serves Windows and Linux. On Linux a Windows-style path ("dir\\FILE.BTR") is read with
// "/" separators.
#include "platform/Arquivos.h"

namespace tavoran::tavadmin {

class ArquivosFerramenta : public IArquivos {
 public:
  // The path as the host file system names it.
  static std::string CaminhoLocal(const std::string& caminho);

  std::vector<EntradaPasta> Listar(const std::string& padrao) override;  // * and ? in the last name only
  Falha CriarPasta(const std::string& pasta) override;
  Falha Copiar(const std::string& origem, const std::string& destino) override;
  Falha Excluir(const std::string& arquivo) override;
  Falha Mover(const std::string& origem, const std::string& destino) override;
  bool LerVersao(const std::string& arquivo, VersaoFixa& versao) override;
  bool LerDataModificacao(const std::string& arquivo, DataHora& data) override;
  Falha AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) override;
  Falha LerTudo(const std::string& arquivo, std::string& bytes) override;
};

}  // namespace tavoran::tavadmin
