#include "checks/clsNVerificaPvsw.h"

#include <vector>

#include "platform/Texto.h"

namespace tavoran {

namespace {

// A facility the environment lacks is an object that cannot be created.
template <class T>
T& Facilidade(const std::unique_ptr<T>& facilidade) {
  if (!facilidade) throw ErroRuntime(429, "O componente ActiveX não pode criar o objeto");
  return *facilidade;
}

// Pairs a successful Winsock start-up with its clean-up.
class SocketsIniciados {
 public:
  explicit SocketsIniciados(IRede& rede) : rede_(rede) {}
  ~SocketsIniciados() { rede_.FinalizarSockets(); }
  SocketsIniciados(const SocketsIniciados&) = delete;
  SocketsIniciados& operator=(const SocketsIniciados&) = delete;

 private:
  IRede& rede_;
};

std::vector<std::string> Dividir(const std::string& texto, char separador) {
  std::vector<std::string> partes;
  std::size_t inicio = 0;
  for (;;) {
    std::size_t fim = texto.find(separador, inicio);
    partes.push_back(texto.substr(inicio, fim == std::string::npos ? std::string::npos : fim - inicio));
    if (fim == std::string::npos) return partes;
    inicio = fim + 1;
  }
}

bool SoDigitos(const std::string& texto) {
  return !texto.empty() && texto.size() <= 3 && texto.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool clsNVerificaPvsw::VerificarPortasPervasive(const std::string& v_sServidor, std::string& v_sPortasFalhas) {
  erro_.Limpar();
  return Protegido(erro_, "VerificarPortasPervasive", false, [&] {
    if (!ambiente_.rede) return false;
    v_sPortasFalhas.clear();
    auto deixarJanelaResponder = [this] {
      if (ambiente_.visao) ambiente_.visao->ProcessarEventos();
    };
    for (std::uint16_t porta : kPortas) {
      if (!ambiente_.rede->TestarConexao(v_sServidor, porta, kTempoLimiteConexaoMs, deixarJanelaResponder)) {
        if (!v_sPortasFalhas.empty()) v_sPortasFalhas += ", ";
        v_sPortasFalhas += std::to_string(porta);
      }
    }
    return true;
  });
}

bool clsNVerificaPvsw::VerificarComunicacaoServidor(const std::string& v_sServidor, bool& v_bComunicacao) {
  erro_.Limpar();
  v_bComunicacao = false;
  return Protegido(erro_, "VerificarComunicacaoServidor", false, [&] {
    if (!SocketsInitialize()) return false;
    SocketsIniciados sockets(*ambiente_.rede);
    std::string endereco = v_sServidor;
    if (!TrocarNomePorIp(endereco)) return false;
    return EfetuarPing(endereco, v_bComunicacao);
  });
}

bool clsNVerificaPvsw::TrocarNomePorIp(std::string& v_sServidor) {
  erro_.Limpar();
  return Protegido(erro_, "TrocarNomePorIp", false, [&] {
    if (ValidarIpServidor(v_sServidor)) return true;
    std::vector<std::uint8_t> bytes;
    if (!Facilidade(ambiente_.rede).ResolverNome(v_sServidor, bytes) || bytes.empty()) return true;
    std::string endereco;
    for (std::uint8_t b : bytes) {
      if (!endereco.empty()) endereco += '.';
      endereco += std::to_string(b);
    }
    v_sServidor = endereco;
    return true;
  });
}

bool clsNVerificaPvsw::RetornarNomeServidor(const std::string& v_sCaminho, std::string& v_sServidor) {
  erro_.Limpar();
  return Protegido(erro_, "RetornarNomeServidor", false, [&] {
    // A UNC path names its server itself.
    if (v_sCaminho.rfind("\\\\", 0) == 0) {
      v_sServidor = ServidorDoCompartilhamento(v_sCaminho);
      return true;
    }
    if (v_sCaminho.empty()) return false;
    const char letra = Maiusculas(v_sCaminho.substr(0, 1))[0];
    if (letra < 'A' || letra > 'Z') return false;
    IConsultaUnidades& unidades = Facilidade(ambiente_.consultaUnidades);
    const TipoUnidade tipo = unidades.Tipo(letra);
    if (tipo == TipoUnidade::Inexistente) return false;
    if (tipo == TipoUnidade::Remota) {
      std::string compartilhamento;
      if (!unidades.NomeCompartilhamento(letra, compartilhamento)) compartilhamento.clear();
      v_sServidor = ServidorDoCompartilhamento(compartilhamento);
    } else {
      v_sServidor = NomeDestaMaquina();
    }
    return true;
  });
}

bool clsNVerificaPvsw::SocketsInitialize() {
  return Protegido(erro_, "SocketsInitialize", false, [&] { return Facilidade(ambiente_.rede).IniciarSockets(); });
}

bool clsNVerificaPvsw::EfetuarPing(const std::string& v_sEndereco, bool& v_bComunicacao) {
  return Protegido(erro_, "EfetuarPing", false, [&] {
    v_bComunicacao = false;
    IRede& rede = Facilidade(ambiente_.rede);
    const std::uint32_t endereco = rede.ConverterEndereco(v_sEndereco);
    if (endereco == kEnderecoInvalido || endereco == 0) return true;
    v_bComunicacao = rede.EnviarEco(endereco, std::string(32, 'A'), 255, kTempoLimitePingMs);
    return true;
  });
}

// Four decimal fields of 0 to 255, the last without leading zeros or blanks, and not the
// broadcast address.
bool clsNVerificaPvsw::ValidarIpServidor(const std::string& v_sServidor) {
  return Protegido(erro_, "ValidarIpServidor", false, [&] {
    const std::vector<std::string> campos = Dividir(v_sServidor, '.');
    if (campos.size() != 4) return false;
    for (const std::string& campo : campos) {
      if (!SoDigitos(campo) || std::stoi(campo) > 255) return false;
    }
    if (campos.back() != std::to_string(std::stoi(campos.back()))) return false;
    return v_sServidor != "255.255.255.255";
  });
}

// \\SERVIDOR\DADOS gives SERVIDOR; anything shorter gives an empty name.
std::string clsNVerificaPvsw::ServidorDoCompartilhamento(const std::string& v_sCompartilhamento) {
  const std::vector<std::string> partes = Dividir(v_sCompartilhamento, '\\');
  return partes.size() >= 3 ? Aparar(partes[2]) : std::string();
}

std::string clsNVerificaPvsw::NomeDestaMaquina() {
  std::string buffer(256, ' ');
  if (!ambiente_.sistema || !ambiente_.sistema->NomeComputador(buffer)) return "";
  return Aparar(AteNulo(buffer));
}

}  // namespace tavoran
