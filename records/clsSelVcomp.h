#pragma once
// The component-update status file DirT\SELVCOMP.BTR: one 256-byte record per
// workstation (machine, status, date, time, user, force flag), key 0 the machine.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsSelVcomp : public RegistroBtrieve {
 public:
  static constexpr const char* kDefinicaoChaves = "/1/30/F/";
  static constexpr std::size_t kTamanhoRegistro = 256;

  clsSelVcomp(IBtrieve& btrieve, IArquivos& arquivos);

  using RegistroBtrieve::Diretorio;
  void Diretorio(const std::string& v_sDiretorio);

  std::string Maquina() const { return Campo(kMaquina); }
  void Maquina(const std::string& v) { Campo(kMaquina, v); }
  std::string Status() const { return Campo(kStatus); }
  void Status(const std::string& v) { Campo(kStatus, v); }
  std::string Data() const { return Campo(kData); }
  void Data(const std::string& v) { Campo(kData, v); }
  std::string Hora() const { return Campo(kHora); }
  void Hora(const std::string& v) { Campo(kHora, v); }
  std::string Usuario() const { return Campo(kUsuario); }
  void Usuario(const std::string& v) { Campo(kUsuario, v); }
  std::string ForcarAtualizaComponentes() const { return Campo(kForcarAtualizaComponentes); }
  void ForcarAtualizaComponentes(const std::string& v) { Campo(kForcarAtualizaComponentes, v); }

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  using RegistroBtrieve::AdicionarNovo;
  using RegistroBtrieve::Excluir;
  using RegistroBtrieve::Fechar;
  using RegistroBtrieve::Ler;
  bool Gravar();  // validates first
  void MontarChave0(const std::string& v_sMaquina);

  static constexpr CampoRegistro kMaquina{1, 30}, kStatus{31, 1}, kData{32, 8}, kHora{40, 8}, kUsuario{48, 20},
      kForcarAtualizaComponentes{68, 1};

 private:
  bool Validar();
};

// "YYYYMMDD" forming a real calendar date (NUL characters ignored).
bool DataRegistroValida(const std::string& v_sData);
// "hh:mm:ss": ":" at characters 3 and 6, digits in the other six.
bool HoraRegistroValida(const std::string& v_sHora);

}  // namespace tavoran
