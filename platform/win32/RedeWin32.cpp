#include "platform/win32/RedeWin32.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <algorithm>
#include <vector>

#include "platform/Texto.h"
#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran {

namespace {

constexpr DWORD kTamanhoRespostaEco = 297;
constexpr ULONGLONG kIntervaloEsperaMs = 50;

struct Winsock {
  explicit Winsock(const win32::BibliotecaDinamica& b)
      : iniciar(b.Funcao<decltype(&::WSAStartup)>("WSAStartup")),
        finalizar(b.Funcao<decltype(&::WSACleanup)>("WSACleanup")),
        resolver(b.Funcao<decltype(&::gethostbyname)>("gethostbyname")),
        converter(b.Funcao<decltype(&::inet_addr)>("inet_addr")),
        criar(b.Funcao<decltype(&::socket)>("socket")),
        controlar(b.Funcao<decltype(&::ioctlsocket)>("ioctlsocket")),
        conectar(b.Funcao<decltype(&::connect)>("connect")),
        selecionar(b.Funcao<decltype(&::select)>("select")),
        opcao(b.Funcao<decltype(&::getsockopt)>("getsockopt")),
        fechar(b.Funcao<decltype(&::closesocket)>("closesocket")),
        ultimoErro(b.Funcao<decltype(&::WSAGetLastError)>("WSAGetLastError")) {}

  bool Completo() const {
    return iniciar && finalizar && resolver && converter && criar && controlar && conectar && selecionar && opcao &&
           fechar && ultimoErro;
  }

  decltype(&::WSAStartup) iniciar;
  decltype(&::WSACleanup) finalizar;
  decltype(&::gethostbyname) resolver;
  decltype(&::inet_addr) converter;
  decltype(&::socket) criar;
  decltype(&::ioctlsocket) controlar;
  decltype(&::connect) conectar;
  decltype(&::select) selecionar;
  decltype(&::getsockopt) opcao;
  decltype(&::closesocket) fechar;
  decltype(&::WSAGetLastError) ultimoErro;
};

// One WSAStartup and its WSACleanup.
class SessaoWinsock {
 public:
  SessaoWinsock(const Winsock& ws, WORD versao) : ws_(ws) {
    WSADATA dados;
    iniciada_ = ws_.iniciar(versao, &dados) == 0;
  }
  ~SessaoWinsock() {
    if (iniciada_) ws_.finalizar();
  }
  SessaoWinsock(const SessaoWinsock&) = delete;
  SessaoWinsock& operator=(const SessaoWinsock&) = delete;
  bool Iniciada() const { return iniciada_; }

 private:
  const Winsock& ws_;
  bool iniciada_;
};

// A socket or an ICMP handle, closed by the function that the library gives for it.
template <class H, class F>
class Alca {
 public:
  Alca(H h, H invalido, F fechar) : h_(h), invalido_(invalido), fechar_(fechar) {}
  ~Alca() {
    if (h_ != invalido_) fechar_(h_);
  }
  Alca(const Alca&) = delete;
  Alca& operator=(const Alca&) = delete;
  H Valor() const { return h_; }
  bool Valida() const { return h_ != invalido_; }

 private:
  H h_, invalido_;
  F fechar_;
};

fd_set ConjuntoDe(SOCKET s) {
  fd_set conjunto;
  conjunto.fd_count = 1;
  conjunto.fd_array[0] = s;
  return conjunto;
}

class RedeWin32 : public IRede {
 public:
  RedeWin32()
      : ws2_("ws2_32.dll"), iphlpapi_("iphlpapi.dll"), icmpAntigo_("icmp.dll"), ws_(ws2_) {
    const win32::BibliotecaDinamica& icmp =
        iphlpapi_.Funcao<decltype(&::IcmpSendEcho)>("IcmpSendEcho") ? iphlpapi_ : icmpAntigo_;
    icmpCriar_ = icmp.Funcao<decltype(&::IcmpCreateFile)>("IcmpCreateFile");
    icmpEnviar_ = icmp.Funcao<decltype(&::IcmpSendEcho)>("IcmpSendEcho");
    icmpFechar_ = icmp.Funcao<decltype(&::IcmpCloseHandle)>("IcmpCloseHandle");
  }

  bool IniciarSockets() override {
    if (!ws_.Completo()) return false;
    WSADATA dados;
    return ws_.iniciar(MAKEWORD(1, 1), &dados) == 0;
  }

  void FinalizarSockets() override {
    if (ws_.Completo()) ws_.finalizar();
  }

  bool ResolverNome(const std::string& nome, std::vector<std::uint8_t>& endereco) override {
    if (!ws_.Completo()) return false;
    SessaoWinsock sessao(ws_, MAKEWORD(1, 1));
    if (!sessao.Iniciada()) return false;
    const hostent* h = ws_.resolver(ParaCp1252(nome).c_str());
    if (!h || !h->h_addr_list || !h->h_addr_list[0] || h->h_length <= 0) return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(h->h_addr_list[0]);
    endereco.assign(bytes, bytes + h->h_length);
    return true;
  }

  std::uint32_t ConverterEndereco(const std::string& texto) override {
    if (!ws_.Completo()) return kEnderecoInvalido;
    return ws_.converter(ParaCp1252(texto).c_str());
  }

  bool EnviarEco(std::uint32_t endereco, const std::string& dados, std::uint8_t tempoDeVida,
                 std::uint32_t tempoLimiteMs) override {
    if (!icmpCriar_ || !icmpEnviar_ || !icmpFechar_) return false;
    Alca icmp(icmpCriar_(), INVALID_HANDLE_VALUE, icmpFechar_);
    if (!icmp.Valida()) return false;
    IP_OPTION_INFORMATION opcoes{};
    opcoes.Ttl = tempoDeVida;
    std::string pedido = dados;
    const DWORD necessario = static_cast<DWORD>(sizeof(ICMP_ECHO_REPLY) + pedido.size() + 8);
    std::vector<std::uint64_t> resposta((std::max(kTamanhoRespostaEco, necessario) + 7) / 8);
    const DWORD respostas =
        icmpEnviar_(icmp.Valor(), endereco, pedido.data(), static_cast<WORD>(pedido.size()), &opcoes,
                    resposta.data(), static_cast<DWORD>(resposta.size() * 8), tempoLimiteMs);
    return respostas > 0 && reinterpret_cast<const ICMP_ECHO_REPLY*>(resposta.data())->Status == 0;
  }

  bool TestarConexao(const std::string& servidor, std::uint16_t porta, std::uint32_t tempoLimiteMs,
                     const std::function<void()>& aoAguardar) override {
    if (!ws_.Completo()) return false;
    SessaoWinsock sessao(ws_, MAKEWORD(2, 2));
    if (!sessao.Iniciada()) return false;
    std::uint32_t endereco = 0;
    if (!Endereco(servidor, endereco)) return false;
    Alca s(ws_.criar(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET, ws_.fechar);
    if (!s.Valida()) return false;
    u_long naoBloqueante = 1;
    if (ws_.controlar(s.Valor(), FIONBIO, &naoBloqueante) != 0) return false;
    sockaddr_in destino{};
    destino.sin_family = AF_INET;
    destino.sin_port = static_cast<u_short>((porta >> 8) | ((porta & 0xFF) << 8));
    destino.sin_addr.s_addr = endereco;
    if (ws_.conectar(s.Valor(), reinterpret_cast<const sockaddr*>(&destino), sizeof destino) == 0) return true;
    if (ws_.ultimoErro() != WSAEWOULDBLOCK) return false;
    return AguardarConexao(s.Valor(), tempoLimiteMs, aoAguardar);
  }

 private:
  // A dotted address as it is, or the first address of the name.
  bool Endereco(const std::string& servidor, std::uint32_t& endereco) {
    const std::string ansi = ParaCp1252(servidor);
    endereco = ws_.converter(ansi.c_str());
    if (endereco != INADDR_NONE) return true;
    const hostent* h = ws_.resolver(ansi.c_str());
    if (!h || h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0]) return false;
    std::copy_n(h->h_addr_list[0], sizeof endereco, reinterpret_cast<char*>(&endereco));
    return true;
  }

  // Waits in short slices, letting the caller run between them, until the connection is
  // accepted, refused or the time limit passes.
  bool AguardarConexao(SOCKET s, std::uint32_t tempoLimiteMs, const std::function<void()>& aoAguardar) {
    const ULONGLONG fim = GetTickCount64() + tempoLimiteMs;
    for (;;) {
      const ULONGLONG agora = GetTickCount64();
      if (agora >= fim) return false;
      const ULONGLONG fatia = std::min(kIntervaloEsperaMs, fim - agora);
      fd_set escrita = ConjuntoDe(s), excecao = ConjuntoDe(s);
      timeval espera{0, static_cast<long>(fatia * 1000)};
      const int prontos = ws_.selecionar(0, nullptr, &escrita, &excecao, &espera);
      if (prontos == SOCKET_ERROR) return false;
      if (prontos > 0) {
        if (excecao.fd_count > 0) return false;
        int erro = 0;
        int tamanho = sizeof erro;
        if (ws_.opcao(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&erro), &tamanho) != 0) return false;
        return erro == 0;
      }
      if (aoAguardar) aoAguardar();
    }
  }

  win32::BibliotecaDinamica ws2_, iphlpapi_, icmpAntigo_;
  Winsock ws_;
  decltype(&::IcmpCreateFile) icmpCriar_ = nullptr;
  decltype(&::IcmpSendEcho) icmpEnviar_ = nullptr;
  decltype(&::IcmpCloseHandle) icmpFechar_ = nullptr;
};

// Only the connection diagnosis uses the network: the sockets and ICMP libraries are
// loaded at its first call, not at every start.
class RedeSobDemanda : public IRede {
 public:
  bool IniciarSockets() override { return Real().IniciarSockets(); }
  void FinalizarSockets() override {
    if (real_) real_->FinalizarSockets();
  }
  bool ResolverNome(const std::string& nome, std::vector<std::uint8_t>& endereco) override {
    return Real().ResolverNome(nome, endereco);
  }
  std::uint32_t ConverterEndereco(const std::string& texto) override { return Real().ConverterEndereco(texto); }
  bool EnviarEco(std::uint32_t endereco, const std::string& dados, std::uint8_t tempoDeVida,
                 std::uint32_t tempoLimiteMs) override {
    return Real().EnviarEco(endereco, dados, tempoDeVida, tempoLimiteMs);
  }
  bool TestarConexao(const std::string& servidor, std::uint16_t porta, std::uint32_t tempoLimiteMs,
                     const std::function<void()>& aoAguardar) override {
    return Real().TestarConexao(servidor, porta, tempoLimiteMs, aoAguardar);
  }

 private:
  RedeWin32& Real() {
    if (!real_) real_ = std::make_unique<RedeWin32>();
    return *real_;
  }
  std::unique_ptr<RedeWin32> real_;
};

}  // namespace

std::unique_ptr<IRede> CriarRedeWin32() { return std::make_unique<RedeSobDemanda>(); }

}  // namespace tavoran
