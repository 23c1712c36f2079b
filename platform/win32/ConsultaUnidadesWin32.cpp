#include "platform/win32/ConsultaUnidadesWin32.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "platform/Texto.h"
#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran {

namespace {

class ConsultaUnidadesWin32 : public IConsultaUnidades {
 public:

  TipoUnidade Tipo(char letra) override {
    const char raiz[] = {letra, ':', '\\', '\0'};
    const UINT tipo = GetDriveTypeA(raiz);
    return tipo <= DRIVE_RAMDISK ? static_cast<TipoUnidade>(tipo) : TipoUnidade::Desconhecida;
  }

  bool NomeCompartilhamento(char letra, std::string& compartilhamento) override {
    // The network-provider library is loaded at the first question, not at every start.
    if (!conexao_ && mpr_.CarregarSeAusente("mpr.dll"))
      conexao_ = mpr_.Funcao<decltype(&::WNetGetConnectionA)>("WNetGetConnectionA");
    if (!conexao_) return false;
    const char local[] = {letra, ':', '\0'};
    std::vector<char> buffer(MAX_PATH + 1);
    for (int tentativa = 0; tentativa < 2; ++tentativa) {
      DWORD tamanho = static_cast<DWORD>(buffer.size());
      const DWORD resultado = conexao_(local, buffer.data(), &tamanho);
      if (resultado == NO_ERROR) {
        compartilhamento = DeCp1252(AteNulo(std::string(buffer.data(), buffer.size())));
        return true;
      }
      if (resultado != ERROR_MORE_DATA) return false;
      buffer.assign(tamanho + 1, '\0');
    }
    return false;
  }

 private:
  win32::BibliotecaDinamica mpr_;
  decltype(&::WNetGetConnectionA) conexao_ = nullptr;
};

}  // namespace

std::unique_ptr<IConsultaUnidades> CriarConsultaUnidadesWin32() { return std::make_unique<ConsultaUnidadesWin32>(); }

}  // namespace tavoran
