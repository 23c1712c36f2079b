#pragma once
// Files and folders through the ...A file functions; every Windows error becomes the
// run-time number of platform/ErrosWindows.
#include <memory>

#include "platform/Arquivos.h"
#include "platform/win32/ImagensLidas.h"

namespace tavoran::win32 {

class ArquivosWin32 : public IArquivos {
 public:
  // The files read without loading them are kept in imagens, which other facilities may share.
  explicit ArquivosWin32(std::shared_ptr<ImagensLidas> imagens = std::make_shared<ImagensLidas>())
      : imagens_(std::move(imagens)) {}
  std::vector<EntradaPasta> Listar(const std::string& padrao) override;
  bool ListaArquivo(const std::string& caminho) override;
  Falha CriarPasta(const std::string& pasta) override;
  Falha Copiar(const std::string& origem, const std::string& destino) override;
  Falha Excluir(const std::string& arquivo) override;
  Falha Mover(const std::string& origem, const std::string& destino) override;
  bool LerVersao(const std::string& arquivo, VersaoFixa& versao) override;
  bool LerDataModificacao(const std::string& arquivo, DataHora& data) override;
  Falha AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) override;
  Falha LerTudo(const std::string& arquivo, std::string& bytes) override;

 private:
  std::shared_ptr<ImagensLidas> imagens_;
};

}  // namespace tavoran::win32
