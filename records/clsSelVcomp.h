#pragma once
// The component-update status file DirT\SELVCOMP.BTR: one 256-byte record per
// workstation (machine, status, date, time, user, force flag), key 0 the machine.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsSelVcomp {
 public:
  static constexpr const char* kDefinicaoChaves = "/1/30/F/";
  static constexpr std::size_t kTamanhoRegistro = 256;

  clsSelVcomp(IBtrieve& btrieve, IArquivos& arquivos);

  std::int32_t ErroNumero() const { return registro_.ErroNumero(); }
  const std::string& ErroDescricao() const { return registro_.ErroDescricao(); }
  clsComplArq& Complementos() { return registro_.Complementos(); }
  const std::string& Chave() const { return registro_.Chave(); }
  std::uint8_t ChaveNumero() const { return registro_.ChaveNumero(); }
  void ChaveNumero(std::uint8_t v_bChaveNumero) { registro_.ChaveNumero(v_bChaveNumero); }
  bool ArquivoExiste() { return registro_.ArquivoExiste(arquivo_); }
  const std::string& Arquivo() const { return arquivo_; }
  const std::string& Diretorio() const { return diretorio_; }
  void Diretorio(const std::string& v_sDiretorio);

  std::string Maquina() const { return registro_.Campo(kMaquina); }
  void Maquina(const std::string& v) { registro_.Campo(kMaquina, v); }
  std::string Status() const { return registro_.Campo(kStatus); }
  void Status(const std::string& v) { registro_.Campo(kStatus, v); }
  std::string Data() const { return registro_.Campo(kData); }
  void Data(const std::string& v) { registro_.Campo(kData, v); }
  std::string Hora() const { return registro_.Campo(kHora); }
  void Hora(const std::string& v) { registro_.Campo(kHora, v); }
  std::string Usuario() const { return registro_.Campo(kUsuario); }
  void Usuario(const std::string& v) { registro_.Campo(kUsuario, v); }
  std::string ForcarAtualizaComponentes() const { return registro_.Campo(kForcarAtualizaComponentes); }
  void ForcarAtualizaComponentes(const std::string& v) { registro_.Campo(kForcarAtualizaComponentes, v); }

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  bool Ler(std::int32_t v_eOperacao) { return registro_.Ler(v_eOperacao); }
  void AdicionarNovo() { registro_.AdicionarNovo(); }
  bool Gravar();
  bool Excluir() { return registro_.Excluir(); }
  bool Fechar() { return registro_.Fechar(); }
  void MontarChave0(const std::string& v_sMaquina);

  const std::string& Imagem() const { return registro_.Imagem(); }

  static constexpr CampoRegistro kMaquina{1, 30}, kStatus{31, 1}, kData{32, 8}, kHora{40, 8}, kUsuario{48, 20},
      kForcarAtualizaComponentes{68, 1};

 private:
  bool Validar();

  RegistroBtrieve registro_;
  std::string diretorio_, arquivo_;
};

// "YYYYMMDD" forming a real calendar date (NUL characters ignored).
bool DataRegistroValida(const std::string& v_sData);
// "hh:mm:ss": ":" at characters 3 and 6, digits in the other six.
bool HoraRegistroValida(const std::string& v_sHora);

}  // namespace tavoran
