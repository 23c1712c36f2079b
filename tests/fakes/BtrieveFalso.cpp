#include "tests/fakes/BtrieveFalso.h"

#include <algorithm>
#include <cstring>

namespace tavoran::testes {

std::int16_t BtrieveFalso::Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                                  void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) {
  ChamadaBtrieve c;
  c.operacao = operacao;
  c.bloco.assign(static_cast<const char*>(blocoPosicao), 128);
  c.tamanhoDados = *tamanhoDados;
  c.dados.assign(static_cast<const char*>(dados), *tamanhoDados);
  c.tamanhoChave = tamanhoChave;
  c.chave.assign(static_cast<const char*>(chave), tamanhoChave);
  c.numeroChave = numeroChave;
  chamadas.push_back(c);
  if (lancar.Ocorreu()) throw ErroRuntime(lancar.numero, lancar.descricao);
  std::int16_t s = 0;
  if (!status.empty()) {
    s = status.front();
    status.pop_front();
  }
  if (s == 0) {
    if (operacao == 0) std::memcpy(blocoPosicao, "ABERTO", 6);
    if (!dadosResposta.empty())
      std::memcpy(dados, dadosResposta.data(), std::min<std::size_t>(dadosResposta.size(), *tamanhoDados));
    if (!chaveResposta.empty()) std::memcpy(chave, chaveResposta.data(), chaveResposta.size());
  }
  if (aoChamar) aoChamar(chamadas.back(), dados, chave, s);
  return s;
}

int BtrieveFalso::Quantas(std::uint16_t operacao) const {
  return static_cast<int>(std::count_if(chamadas.begin(), chamadas.end(),
                                        [&](const ChamadaBtrieve& c) { return c.operacao == operacao; }));
}

}  // namespace tavoran::testes
