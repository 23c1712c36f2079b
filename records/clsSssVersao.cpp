#include "records/clsSssVersao.h"

namespace tavoran {
namespace {

constexpr CodigosRegistro kCodigos{100089, 100087, 100088, "Caminho e/ou nome do arquivo não informados."};
constexpr std::int16_t kTamanhoPagina = 1024;
constexpr std::uint8_t kNumeroChaves = 7;

}  // namespace

clsSssVersao::clsSssVersao(IBtrieve& btrieve, IArquivos& arquivos)
    : RegistroBtrieve(btrieve, arquivos, kTamanhoRegistro, kCodigos) {}

void clsSssVersao::AtualizarArquivo(const std::string& v_sDiretorio) {
  DefinirCaminho(v_sDiretorio, v_sDiretorio + "\\" + sistema_ + "VERSAO.BTR");
}

void clsSssVersao::Diretorio(const std::string& v_sDiretorio) { AtualizarArquivo(v_sDiretorio); }

void clsSssVersao::Sistema(const std::string& v_sSistema) {
  sistema_ = v_sSistema;
  AtualizarArquivo(Diretorio());
}

bool clsSssVersao::Criar() { return RegistroBtrieve::Criar(kTamanhoPagina, kNumeroChaves, kDefinicaoChaves); }

bool clsSssVersao::Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario) {
  return RegistroBtrieve::Abrir(v_eModoAbertura, v_sNomeProprietario);
}

void clsSssVersao::MontarChave0(const std::string& v_sVersaoSistema) {
  MontarChave(0, {{v_sVersaoSistema, kVersaoSistema.tamanho}});
}

void clsSssVersao::MontarChave1(const std::string& v_sNomeArquivo, const std::string& v_sVersaoSistema) {
  MontarChave(1, {{v_sNomeArquivo, kNomeProgramaArquivo.tamanho}, {v_sVersaoSistema, kVersaoSistema.tamanho}});
}

void clsSssVersao::MontarChave2(const std::string& v_sVersaoPrograma, const std::string& v_sNomeArquivo,
                                const std::string& v_sVersaoSistema) {
  MontarChave(2, {{v_sVersaoPrograma, kVersaoPrograma.tamanho},
                            {v_sNomeArquivo, kNomeProgramaArquivo.tamanho},
                            {v_sVersaoSistema, kVersaoSistema.tamanho}});
}

void clsSssVersao::MontarChave3(const std::string& v_sDataCriacaoRegistro, const std::string& v_sNomeArquivo,
                                const std::string& v_sVersaoSistema) {
  MontarChave(3, {{v_sDataCriacaoRegistro, kRegDataCriacao.tamanho},
                            {v_sNomeArquivo, kNomeProgramaArquivo.tamanho},
                            {v_sVersaoSistema, kVersaoSistema.tamanho}});
}

void clsSssVersao::MontarChave4(const std::string& v_sDataUltAlteracaoRegistro, const std::string& v_sNomeArquivo,
                                const std::string& v_sVersaoSistema) {
  MontarChave(4, {{v_sDataUltAlteracaoRegistro, kRegDataUltAlteracao.tamanho},
                            {v_sNomeArquivo, kNomeProgramaArquivo.tamanho},
                            {v_sVersaoSistema, kVersaoSistema.tamanho}});
}

void clsSssVersao::MontarChave5(const std::string& v_sNomeArquivo, const std::string& v_sVersaoPrograma,
                                const std::string& v_sHash, const std::string& v_sDataCriacaoRegistro,
                                const std::string& v_sDataUltAlteracaoRegistro) {
  MontarChave(5, {{v_sNomeArquivo, kNomeProgramaArquivo.tamanho},
                            {v_sVersaoPrograma, kVersaoPrograma.tamanho},
                            {v_sHash, kHash.tamanho},
                            {v_sDataCriacaoRegistro, kRegDataCriacao.tamanho},
                            {v_sDataUltAlteracaoRegistro, kRegDataUltAlteracao.tamanho}});
}

void clsSssVersao::MontarChave6(const std::string& v_sVersaoOrdenacao) {
  MontarChave(6, {{v_sVersaoOrdenacao, kVersaoOrdenacao.tamanho}});
}

}  // namespace tavoran
