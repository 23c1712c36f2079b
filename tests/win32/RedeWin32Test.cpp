// The real network facility under Wine, against listeners of its own on loopback.
#include "platform/win32/RedeWin32.h"

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran {
namespace {

// A TCP socket bound to 127.0.0.1 on a port of the system's choice, listening or not.
class SoqueteLocal {
 public:
  explicit SoqueteLocal(bool escutar, int fila = 4) : ws2_("ws2_32.dll") {
    WSADATA dados;
    iniciado_ = ws2_.Funcao<decltype(&::WSAStartup)>("WSAStartup")(MAKEWORD(2, 2), &dados) == 0;
    s_ = ws2_.Funcao<decltype(&::socket)>("socket")(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = ws2_.Funcao<decltype(&::inet_addr)>("inet_addr")("127.0.0.1");
    ws2_.Funcao<decltype(&::bind)>("bind")(s_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    if (escutar) ws2_.Funcao<decltype(&::listen)>("listen")(s_, fila);
    int tamanho = sizeof a;
    ws2_.Funcao<decltype(&::getsockname)>("getsockname")(s_, reinterpret_cast<sockaddr*>(&a), &tamanho);
    porta_ = static_cast<std::uint16_t>(((a.sin_port & 0xFF) << 8) | (a.sin_port >> 8));
  }
  ~SoqueteLocal() {
    ws2_.Funcao<decltype(&::closesocket)>("closesocket")(s_);
    if (iniciado_) ws2_.Funcao<decltype(&::WSACleanup)>("WSACleanup")();
  }
  std::uint16_t Porta() const { return porta_; }

 private:
  win32::BibliotecaDinamica ws2_;
  bool iniciado_ = false;
  SOCKET s_ = INVALID_SOCKET;
  std::uint16_t porta_ = 0;
};

struct RedeWin32Test : ::testing::Test {
  std::unique_ptr<IRede> rede = CriarRedeWin32();
};

TEST_F(RedeWin32Test, WinsockStartsAndLocalhostResolvesToLoopback) {
  ASSERT_TRUE(rede->IniciarSockets());
  std::vector<std::uint8_t> endereco;
  ASSERT_TRUE(rede->ResolverNome("localhost", endereco));
  ASSERT_EQ(endereco.size(), 4u);
  EXPECT_EQ(endereco[0], 127);
  EXPECT_FALSE(rede->ResolverNome("nome-que-nao-existe.invalid", endereco));
  rede->FinalizarSockets();
}

TEST_F(RedeWin32Test, AddressConversionFollowsInetAddr) {
  EXPECT_EQ(rede->ConverterEndereco("127.0.0.1"), 0x0100007Fu);  // network byte order
  EXPECT_EQ(rede->ConverterEndereco("SRV01"), kEnderecoInvalido);
}

TEST_F(RedeWin32Test, LoopbackAnswersAnEcho) {
  EXPECT_TRUE(rede->EnviarEco(rede->ConverterEndereco("127.0.0.1"), std::string(32, 'A'), 255, 2000));
}

TEST_F(RedeWin32Test, ListenerAcceptsAndAClosedPortRefuses) {
  SoqueteLocal ouvinte(true);
  EXPECT_TRUE(rede->TestarConexao("127.0.0.1", ouvinte.Porta(), 3000, nullptr));
  EXPECT_TRUE(rede->TestarConexao("localhost", ouvinte.Porta(), 3000, nullptr));

  SoqueteLocal fechado(false);
  int esperas = 0;
  EXPECT_FALSE(rede->TestarConexao("127.0.0.1", fechado.Porta(), 3000, [&] { ++esperas; }));
}

TEST_F(RedeWin32Test, SilentOrUnroutableHostEndsWithinTheLimit) {
  // 192.0.2.1 is reserved for documentation: nothing answers there.
  EXPECT_FALSE(rede->TestarConexao("192.0.2.1", 3351, 500, nullptr));
  EXPECT_FALSE(rede->TestarConexao("nome-que-nao-existe.invalid", 3351, 500, nullptr));
}

// A listener that never accepts, with a full queue, drops further connection requests:
// the attempt has to end by its own time limit, letting the caller run meanwhile.
TEST_F(RedeWin32Test, HostThatNeverAnswersEndsByTheTimeLimit) {
  SoqueteLocal cheio(true, 0);
  int esperas = 0;
  bool algumaSemResposta = false;
  for (int i = 0; i < 6 && !algumaSemResposta; ++i) {
    esperas = 0;
    algumaSemResposta = !rede->TestarConexao("127.0.0.1", cheio.Porta(), 400, [&] { ++esperas; });
  }
  ASSERT_TRUE(algumaSemResposta);
  EXPECT_GT(esperas, 1);
}

}  // namespace
}  // namespace tavoran
