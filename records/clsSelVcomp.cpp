#include "records/clsSelVcomp.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr CodigosRegistro kCodigos{103976, 103977, 103978, "Caminho e/ou nome do arquivo não informado(s)."};
constexpr std::int16_t kTamanhoPagina = 4096;
constexpr std::uint8_t kNumeroChaves = 1;

bool Digitos(const std::string& texto, std::size_t inicio, std::size_t tamanho) {
  if (texto.size() < inicio + tamanho) return false;
  for (std::size_t i = inicio; i < inicio + tamanho; ++i)
    if (texto[i] < '0' || texto[i] > '9') return false;
  return true;
}

int Numero(const std::string& texto, std::size_t inicio, std::size_t tamanho) {
  return std::stoi(texto.substr(inicio, tamanho));
}

}  // namespace

bool DataRegistroValida(const std::string& v_sData) {
  const std::string data = SemNulos(v_sData);
  if (data.size() != 8 || !Digitos(data, 0, 8)) return false;
  const int ano = Numero(data, 0, 4), mes = Numero(data, 4, 2), dia = Numero(data, 6, 2);
  if (mes < 1 || mes > 12 || dia < 1 || dia > 31) return false;
  static constexpr int kDias[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
  return dia <= kDias[mes - 1] && !(mes == 2 && dia == 29 && !bissexto);
}

bool HoraRegistroValida(const std::string& v_sHora) {
  return v_sHora.size() == 8 && v_sHora[2] == ':' && v_sHora[5] == ':' && Digitos(v_sHora, 0, 2) &&
         Digitos(v_sHora, 3, 2) && Digitos(v_sHora, 6, 2);
}

clsSelVcomp::clsSelVcomp(IBtrieve& btrieve, IArquivos& arquivos)
    : RegistroBtrieve(btrieve, arquivos, kTamanhoRegistro, kCodigos) {}

void clsSelVcomp::Diretorio(const std::string& v_sDiretorio) {
  DefinirCaminho(v_sDiretorio, v_sDiretorio + "\\SELVCOMP.BTR");
}

bool clsSelVcomp::Criar() { return RegistroBtrieve::Criar(kTamanhoPagina, kNumeroChaves, kDefinicaoChaves); }

bool clsSelVcomp::Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario) {
  return RegistroBtrieve::Abrir(v_eModoAbertura, v_sNomeProprietario);
}

void clsSelVcomp::MontarChave0(const std::string& v_sMaquina) {
  MontarChave(0, {{v_sMaquina, kMaquina.tamanho}});
}

bool clsSelVcomp::Validar() {
  if (Aparar(Maquina()).empty()) {
    DefinirErro(103979, "O campo 'Maquina', não pode ser deixado em branco.");
    return false;
  }
  if (!Aparar(Data()).empty() && !DataRegistroValida(Data())) {
    DefinirErro(103995, "A data do campo 'Data', é inválida.");
    return false;
  }
  if (!Aparar(Hora()).empty() && !HoraRegistroValida(Hora())) {
    DefinirErro(103996, "O conteúdo do campo 'Hora', é inválido.");
    return false;
  }
  return true;
}

bool clsSelVcomp::Gravar() {
  LimparErro();
  return Validar() && RegistroBtrieve::Gravar();
}

}  // namespace tavoran
