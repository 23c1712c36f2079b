#include "tools/tavadmin/LeitorFrota.h"

#include <algorithm>
#include <utility>

#include "btrieve/clsTavBtr20.h"
#include "platform/Texto.h"
#include "records/clsRyxMaqBloqueio.h"

namespace tavoran::tavadmin {
namespace {

constexpr std::string_view kFimRelatorio = ").HTML";
constexpr std::string_view kModeloCarimbo = "0000-00-00_00-00-00";  // 0: a digit

bool CarimboValido(std::string_view carimbo) {
  for (std::size_t i = 0; i < kModeloCarimbo.size(); ++i) {
    const bool digito = carimbo[i] >= '0' && carimbo[i] <= '9';
    if (kModeloCarimbo[i] == '0' ? !digito : carimbo[i] != kModeloCarimbo[i]) return false;
  }
  return true;
}

// The stamp of a name LerNomeRelatorio accepted.
std::string_view CarimboDe(std::string_view nome) {
  return nome.substr(nome.size() - kFimRelatorio.size() - kModeloCarimbo.size(), kModeloCarimbo.size());
}

// Keeps the report in the computer's entry when it is newer than the one there; the stamp
// of an accepted name, or empty.
std::string Considerar(Frota& frota, const std::string& nome, std::string RelatoriosComputador::*campo) {
  std::string computador, carimbo;
  if (!LerNomeRelatorio(nome, computador, carimbo)) return {};
  RelatoriosComputador& r = frota.relatorios[Maiusculas(computador)];
  if (r.nome.empty()) r.nome = computador;
  std::string& atual = r.*campo;
  if (atual.empty() || CarimboDe(atual) < carimbo) atual = nome;
  return carimbo;
}

}  // namespace

bool LerNomeRelatorio(const std::string& nome, std::string& computador, std::string& carimbo) {
  const std::size_t sufixo = kModeloCarimbo.size() + kFimRelatorio.size();
  if (nome.size() < sufixo + 3 ||
      !IguaisSemCaixa(std::string_view(nome).substr(nome.size() - kFimRelatorio.size()), kFimRelatorio))
    return false;
  const std::size_t inicio = nome.size() - sufixo;
  if (nome.compare(inicio - 2, 2, " (") != 0 || !CarimboValido(CarimboDe(nome))) return false;
  computador = nome.substr(0, inicio - 2);
  carimbo = CarimboDe(nome);
  return !Aparar(computador).empty();
}

LeitorFrota::LeitorFrota(IBtrieve& btrieve, IArquivos& arquivos, std::string dirT)
    : btrieve_(btrieve), arquivos_(arquivos), dirT_(std::move(dirT)) {}

void LeitorFrota::LerRelatorios(Frota& frota) {
  const std::string pasta = dirT_ + "\\Logs\\RYX";
  for (const EntradaPasta& e : arquivos_.Listar(pasta + "\\*.HTML")) {
    if (e.pasta) continue;
    const std::string carimbo = Considerar(frota, e.nome, &RelatoriosComputador::atualizacao);
    if (!carimbo.empty()) ++frota.atualizacoesPorDia[carimbo.substr(0, 10)];
  }
  for (const EntradaPasta& e : arquivos_.Listar(pasta + "\\Erros\\*.HTML"))
    if (!e.pasta) Considerar(frota, e.nome, &RelatoriosComputador::inconsistencia);
}

void LeitorFrota::LerBloqueios(Frota& frota) {
  constexpr std::size_t kPrefixoSufixo = 7;  // "RYX" and ".BLQ"
  for (const EntradaPasta& e : arquivos_.Listar(dirT_ + "\\RYX*.BLQ")) {
    if (e.pasta || e.nome.size() <= kPrefixoSufixo) continue;
    BloqueioFrota b;
    b.arquivo = e.nome;
    b.maquina = e.nome.substr(3, e.nome.size() - kPrefixoSufixo);
    clsRyxMaqBloqueio bloqueio(btrieve_, arquivos_);
    bloqueio.Diretorio(dirT_);
    bloqueio.MaquinaNome(b.maquina);
    if (bloqueio.Abrir(OperacaoBtrieve::kModoExclusivo, "")) {
      b.situacao = SituacaoBloqueio::kAbandonado;
      bloqueio.Fechar();
    } else if (bloqueio.ErroNumero() == StatusBtrieve::kModoIncompativel) {
      b.situacao = SituacaoBloqueio::kEmUso;
    } else {
      b.falha = std::to_string(bloqueio.ErroNumero()) + " - " + bloqueio.ErroDescricao();
    }
    frota.bloqueios.push_back(std::move(b));
  }
  std::sort(frota.bloqueios.begin(), frota.bloqueios.end(),
            [](const BloqueioFrota& a, const BloqueioFrota& b) { return a.arquivo < b.arquivo; });
}

}  // namespace tavoran::tavadmin
