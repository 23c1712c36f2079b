#pragma once
// Fakes of the terminal-session, network and drive-query facilities, and a helper that
// puts them into an environment. Tests keep the raw pointers to steer them.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Ambiente.h"

namespace tavoran::testes {

class SessaoTerminalFalsa : public ISessaoTerminal {
 public:
  bool sucesso = true;
  std::string nomeCliente;  // empty: console session
  int consultas = 0;
  bool NomeClienteSessao(std::string& nome) override;
};

// Hosts are known by name (resolution) and by dotted address (echo, connections).
class RedeFalsa : public IRede {
 public:
  struct Eco {
    std::string endereco, dados;
    std::uint8_t tempoDeVida;
    std::uint32_t tempoLimiteMs;
  };
  struct Conexao {
    std::string servidor;
    std::uint16_t porta;
    std::uint32_t tempoLimiteMs;
  };
  bool falhaSockets = false;
  int socketsAbertos = 0;                                  // startups not yet cleaned up
  std::map<std::string, std::vector<std::uint8_t>> nomes;  // upper-case name -> address bytes
  std::set<std::string> respondemEco;                      // dotted addresses
  std::map<std::string, std::set<std::uint16_t>> portasAbertas;  // upper-case host -> ports
  std::vector<std::string> resolucoes;                     // every name asked
  std::vector<Eco> ecos;
  std::vector<Conexao> conexoes;

  bool IniciarSockets() override;
  void FinalizarSockets() override { --socketsAbertos; }
  bool ResolverNome(const std::string& nome, std::vector<std::uint8_t>& endereco) override;
  std::uint32_t ConverterEndereco(const std::string& texto) override;
  bool EnviarEco(std::uint32_t endereco, const std::string& dados, std::uint8_t tempoDeVida,
                 std::uint32_t tempoLimiteMs) override;
  bool TestarConexao(const std::string& servidor, std::uint16_t porta, std::uint32_t tempoLimiteMs,
                     const std::function<void()>& aoAguardar) override;
};

// A letter missing from tipos does not exist.
class ConsultaUnidadesFalsa : public IConsultaUnidades {
 public:
  std::map<char, TipoUnidade> tipos;               // upper-case letter -> type
  std::map<char, std::string> compartilhamentos;  // upper-case letter -> \\SERVER\SHARE
  TipoUnidade Tipo(char letra) override;
  bool NomeCompartilhamento(char letra, std::string& compartilhamento) override;
};

// Installs the three fakes into an environment; the pointers live as long as it does.
struct FalsosRede {
  explicit FalsosRede(Ambiente& ambiente);
  SessaoTerminalFalsa* sessaoTerminal;
  RedeFalsa* rede;
  ConsultaUnidadesFalsa* consultaUnidades;
};

}  // namespace tavoran::testes
