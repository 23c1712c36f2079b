#pragma once
// Network facility: name resolution, ICMP echo and a bounded TCP connection test.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavoran {

// inet_addr's answer for a text that is no address.
constexpr std::uint32_t kEnderecoInvalido = 0xFFFFFFFFu;

class IRede {
 public:
  virtual ~IRede() = default;
  // WSAStartup asking for version 1.1: true when it answers 0. Each success is paired
  // with one FinalizarSockets (WSACleanup).
  virtual bool IniciarSockets() = 0;
  virtual void FinalizarSockets() = 0;
  // gethostbyname: true and the bytes of the answer's first address (as many as its
  // address length); false when the name does not resolve.
  virtual bool ResolverNome(const std::string& nome, std::vector<std::uint8_t>& endereco) = 0;
  // inet_addr: the address in network byte order, kEnderecoInvalido when the text is none.
  virtual std::uint32_t ConverterEndereco(const std::string& texto) = 0;
  // One ICMP echo request (IcmpCreateFile, IcmpSendEcho, IcmpCloseHandle) carrying dados
  // with the time to live given: true when a reply with status 0 came within the time
  // limit; false also when no ICMP handle could be opened.
  virtual bool EnviarEco(std::uint32_t endereco, const std::string& dados, std::uint8_t tempoDeVida,
                         std::uint32_t tempoLimiteMs) = 0;
  // Opens a TCP connection to servidor (name or address) and porta, waiting at most
  // tempoLimiteMs and calling aoAguardar (when set) between short waits, then closes it.
  // True when the connection was accepted; never waits past the limit.
  virtual bool TestarConexao(const std::string& servidor, std::uint16_t porta, std::uint32_t tempoLimiteMs,
                             const std::function<void()>& aoAguardar) = 0;
};

}  // namespace tavoran
