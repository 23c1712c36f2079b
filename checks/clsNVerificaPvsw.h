#pragma once
// Database engine and server checks for the connection diagnosis: which server holds a
// path, whether it answers an ICMP echo, and whether the engine's TCP ports accept a
// connection. Shows nothing; failures travel through the error state.
#include <cstdint>
#include <string>

#include "platform/Ambiente.h"
#include "platform/Erro.h"

namespace tavoran {

class clsNVerificaPvsw {
 public:
  // Engine ports, in the order they are tried.
  static constexpr std::uint16_t kPortas[] = {3351, 1583};
  // Each connection attempt ends after this long, so a silent host cannot hold the start.
  static constexpr std::uint32_t kTempoLimiteConexaoMs = 3000;
  static constexpr std::uint32_t kTempoLimitePingMs = 2000;

  explicit clsNVerificaPvsw(Ambiente& ambiente) : ambiente_(ambiente) {}

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }

  // v_sPortasFalhas: the ports that refused or did not answer, "3351, 1583"; empty when both accepted.
  bool VerificarPortasPervasive(const std::string& v_sServidor, std::string& v_sPortasFalhas);
  // v_bComunicacao: the server (name or address) answered an ICMP echo.
  bool VerificarComunicacaoServidor(const std::string& v_sServidor, bool& v_bComunicacao);
  // Replaces a name by its dotted address; an address, or a name that does not resolve, stays.
  bool TrocarNomePorIp(std::string& v_sServidor);
  // The server of the drive that holds the path (this computer for a local drive);
  // false without an error number when the drive does not exist.
  bool RetornarNomeServidor(const std::string& v_sCaminho, std::string& v_sServidor);

 private:
  bool SocketsInitialize();
  bool EfetuarPing(const std::string& v_sEndereco, bool& v_bComunicacao);
  bool ValidarIpServidor(const std::string& v_sServidor);
  std::string ServidorDoCompartilhamento(const std::string& v_sCompartilhamento);
  std::string NomeDestaMaquina();

  Ambiente& ambiente_;
  EstadoErro erro_;
};

}  // namespace tavoran
