#include "platform/win32/BtrieveWin32.h"

#include <windows.h>

#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran {
namespace {

// The published 32-bit signature: __stdcall, data length passed by pointer.
using FuncaoBtrcall = short(__stdcall*)(unsigned short, void*, void*, unsigned long*, void*, unsigned char, char);

class BtrieveWin32 : public IBtrieve {
 public:
  explicit BtrieveWin32(std::string biblioteca) : biblioteca_(std::move(biblioteca)) {}

  std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados, void* chave,
                      std::uint8_t tamanhoChave, std::int8_t numeroChave) override {
    if (!Carregar()) return kStatusMotorInacessivel;
    unsigned long tamanho = *tamanhoDados;
    const short status = btrcall_(operacao, blocoPosicao, dados, &tamanho, chave, tamanhoChave,
                                  static_cast<char>(numeroChave));
    *tamanhoDados = static_cast<std::uint32_t>(tamanho);
    return status;
  }

 private:
  // Tried again at every call until it succeeds: the engine may be installed meanwhile.
  bool Carregar() {
    if (btrcall_ != nullptr) return true;
    if (!modulo_.CarregarSeAusente(biblioteca_)) return false;
    btrcall_ = modulo_.Funcao<FuncaoBtrcall>("BTRCALL");
    return btrcall_ != nullptr;
  }

  std::string biblioteca_;
  win32::BibliotecaDinamica modulo_;
  FuncaoBtrcall btrcall_ = nullptr;
};

}  // namespace

std::unique_ptr<IBtrieve> CriarBtrieveWin32(const std::string& biblioteca) {
  return std::make_unique<BtrieveWin32>(biblioteca);
}

}  // namespace tavoran
