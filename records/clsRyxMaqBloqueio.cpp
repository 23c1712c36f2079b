#include "records/clsRyxMaqBloqueio.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr CodigosRegistro kCodigos{106515, 106516, 106517, "Caminho e/ou nome do arquivo não informados."};
constexpr std::int16_t kTamanhoPagina = 1024;
constexpr std::uint8_t kNumeroChaves = 1;

}  // namespace

clsRyxMaqBloqueio::clsRyxMaqBloqueio(IBtrieve& btrieve, IArquivos& arquivos)
    : registro_(btrieve, arquivos, kTamanhoRegistro, kCodigos) {}

void clsRyxMaqBloqueio::AtualizarArquivo() { arquivo_ = diretorio_ + "\\RYX" + Maiusculas(maquinaNome_) + ".BLQ"; }

void clsRyxMaqBloqueio::Diretorio(const std::string& v_sDiretorio) {
  diretorio_ = v_sDiretorio;
  AtualizarArquivo();
}

void clsRyxMaqBloqueio::MaquinaNome(const std::string& v_sMaquinaNome) {
  maquinaNome_ = v_sMaquinaNome;
  AtualizarArquivo();
}

bool clsRyxMaqBloqueio::Criar() {
  return registro_.Criar(arquivo_, kTamanhoPagina, kNumeroChaves, kDefinicaoChaves);
}

bool clsRyxMaqBloqueio::Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario) {
  return registro_.Abrir(arquivo_, v_eModoAbertura, v_sNomeProprietario);
}

}  // namespace tavoran
