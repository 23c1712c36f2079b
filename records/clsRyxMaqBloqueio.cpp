#include "records/clsRyxMaqBloqueio.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr CodigosRegistro kCodigos{106515, 106516, 106517, "Caminho e/ou nome do arquivo não informados."};
constexpr std::int16_t kTamanhoPagina = 1024;
constexpr std::uint8_t kNumeroChaves = 1;

}  // namespace

clsRyxMaqBloqueio::clsRyxMaqBloqueio(IBtrieve& btrieve, IArquivos& arquivos)
    : RegistroBtrieve(btrieve, arquivos, kTamanhoRegistro, kCodigos) {}

void clsRyxMaqBloqueio::AtualizarArquivo(const std::string& v_sDiretorio) {
  DefinirCaminho(v_sDiretorio, v_sDiretorio + "\\RYX" + Maiusculas(maquinaNome_) + ".BLQ");
}

void clsRyxMaqBloqueio::Diretorio(const std::string& v_sDiretorio) { AtualizarArquivo(v_sDiretorio); }

void clsRyxMaqBloqueio::MaquinaNome(const std::string& v_sMaquinaNome) {
  maquinaNome_ = v_sMaquinaNome;
  AtualizarArquivo(Diretorio());
}

bool clsRyxMaqBloqueio::Criar() { return RegistroBtrieve::Criar(kTamanhoPagina, kNumeroChaves, kDefinicaoChaves); }

bool clsRyxMaqBloqueio::Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario) {
  return RegistroBtrieve::Abrir(v_eModoAbertura, v_sNomeProprietario);
}

}  // namespace tavoran
