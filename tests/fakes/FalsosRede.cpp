#include "tests/fakes/FalsosRede.h"

#include <memory>

#include "platform/Texto.h"

namespace tavoran::testes {

namespace {

std::string Pontuado(std::uint32_t endereco) {
  std::string texto;
  for (int i = 0; i < 4; ++i) {
    if (i) texto += '.';
    texto += std::to_string((endereco >> (8 * i)) & 0xFF);  // network order in memory
  }
  return texto;
}

char Letra(char letra) { return Maiusculas(std::string(1, letra))[0]; }

}  // namespace

bool SessaoTerminalFalsa::NomeClienteSessao(std::string& nome) {
  ++consultas;
  if (!sucesso) return false;
  nome = nomeCliente;
  return true;
}

bool RedeFalsa::IniciarSockets() {
  if (falhaSockets) return false;
  ++socketsAbertos;
  return true;
}

bool RedeFalsa::ResolverNome(const std::string& nome, std::vector<std::uint8_t>& endereco) {
  resolucoes.push_back(nome);
  auto it = nomes.find(Maiusculas(nome));
  if (it == nomes.end()) return false;
  endereco = it->second;
  return true;
}

// Plain dotted decimal only, which is all the tests give.
std::uint32_t RedeFalsa::ConverterEndereco(const std::string& texto) {
  std::uint32_t endereco = 0;
  int campos = 0;
  std::size_t inicio = 0;
  while (inicio <= texto.size()) {
    std::size_t fim = texto.find('.', inicio);
    if (fim == std::string::npos) fim = texto.size();
    std::string campo = texto.substr(inicio, fim - inicio);
    if (campo.empty() || campo.size() > 3 || campo.find_first_not_of("0123456789") != std::string::npos) {
      return kEnderecoInvalido;
    }
    int valor = std::stoi(campo);
    if (valor > 255 || campos == 4) return kEnderecoInvalido;
    endereco |= static_cast<std::uint32_t>(valor) << (8 * campos++);
    inicio = fim + 1;
  }
  return campos == 4 ? endereco : kEnderecoInvalido;
}

bool RedeFalsa::EnviarEco(std::uint32_t endereco, const std::string& dados, std::uint8_t tempoDeVida,
                          std::uint32_t tempoLimiteMs) {
  std::string pontuado = Pontuado(endereco);
  ecos.push_back({pontuado, dados, tempoDeVida, tempoLimiteMs});
  return respondemEco.count(pontuado) > 0;
}

bool RedeFalsa::TestarConexao(const std::string& servidor, std::uint16_t porta, std::uint32_t tempoLimiteMs,
                              const std::function<void()>& aoAguardar) {
  conexoes.push_back({servidor, porta, tempoLimiteMs});
  if (aoAguardar) aoAguardar();
  auto it = portasAbertas.find(Maiusculas(servidor));
  return it != portasAbertas.end() && it->second.count(porta) > 0;
}

TipoUnidade ConsultaUnidadesFalsa::Tipo(char letra) {
  auto it = tipos.find(Letra(letra));
  return it == tipos.end() ? TipoUnidade::Inexistente : it->second;
}

bool ConsultaUnidadesFalsa::NomeCompartilhamento(char letra, std::string& compartilhamento) {
  auto it = compartilhamentos.find(Letra(letra));
  if (it == compartilhamentos.end()) return false;
  compartilhamento = it->second;
  return true;
}

FalsosRede::FalsosRede(Ambiente& ambiente) {
  auto s = std::make_unique<SessaoTerminalFalsa>();
  auto r = std::make_unique<RedeFalsa>();
  auto u = std::make_unique<ConsultaUnidadesFalsa>();
  sessaoTerminal = s.get();
  rede = r.get();
  consultaUnidades = u.get();
  ambiente.sessaoTerminal = std::move(s);
  ambiente.rede = std::move(r);
  ambiente.consultaUnidades = std::move(u);
}

}  // namespace tavoran::testes
