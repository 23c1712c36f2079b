// The fleet page of a large share, natively: a status file of 5,000 workstations,
// 25,000 report files under Logs\RYX (four update reports of each computer over the last
// 40 days, one inconsistency report) and 50 lock files, half of them held. Times
// `tavadmin painel` from the first read to the written page and prints the median.
// Argument: the workstation count (5000 by default).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/MotorBtrieve.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"
#include "tools/tavadmin/ComandosTavadmin.h"
#include "tools/tavadmin/GraficoAtualizacoes.h"
#include "tools/tavadmin/RelogioFerramenta.h"

namespace {

using namespace tavoran;
namespace fs = std::filesystem;

constexpr int kRelatoriosPorEstacao = 4, kBloqueios = 50, kRodadas = 7;

std::string NomeEstacao(int i) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "EST%05d", i);
  return nome;
}

void Abortar(const std::string& motivo) {
  std::fprintf(stderr, "bench-painel: %s\n", motivo.c_str());
  std::exit(1);
}

void GravarEstacoes(IBtrieve& btrieve, IArquivos& arquivos, const std::string& pasta, int estacoes) {
  clsSelVcomp status(btrieve, arquivos);
  status.Diretorio(pasta);
  if (!status.Criar() || !status.Abrir(OperacaoBtrieve::kModoNormal, "")) Abortar(status.ErroDescricao());
  for (int i = 1; i <= estacoes; ++i) {
    status.AdicionarNovo();
    status.Maquina(NomeEstacao(i));
    status.Status("1");
    status.Data("20261201");
    status.Hora("08:00:00");
    status.Usuario("usuario");
    status.ForcarAtualizaComponentes(i % 10 == 0 ? "1" : "0");
    if (!status.Gravar()) Abortar(status.ErroDescricao());
  }
}

// Report files spread over the last 40 days; returns how many were written.
int CriarRelatorios(const std::string& pasta, int estacoes) {
  const std::vector<std::string> dias = tavadmin::UltimosDias(tavadmin::RelogioFerramenta().Agora(), 40);
  fs::create_directories(pasta + "/Logs/RYX/Erros");
  int criados = 0;
  for (int i = 1; i <= estacoes; ++i) {
    for (int r = 0; r <= kRelatoriosPorEstacao; ++r) {
      const std::string& dia = dias[static_cast<std::size_t>((i * 7 + r * 11) % 40)];
      const std::string pastaRelatorio = r == kRelatoriosPorEstacao ? "/Logs/RYX/Erros/" : "/Logs/RYX/";
      std::ofstream(pasta + pastaRelatorio + NomeEstacao(i) + " (" + dia + "_08-0" + std::to_string(r) + "-00).HTML")
          << "<html></html>\r\n";
      ++criados;
    }
  }
  return criados;
}

// Lock files of the first computers; the even ones stay held by the returned objects.
std::vector<std::unique_ptr<clsRyxMaqBloqueio>> CriarBloqueios(IBtrieve& btrieve, IArquivos& arquivos,
                                                               const std::string& pasta) {
  std::vector<std::unique_ptr<clsRyxMaqBloqueio>> mantidos;
  for (int i = 1; i <= kBloqueios; ++i) {
    auto b = std::make_unique<clsRyxMaqBloqueio>(btrieve, arquivos);
    b->Diretorio(pasta);
    b->MaquinaNome(NomeEstacao(i));
    if (!b->Criar()) Abortar(b->ErroDescricao());
    if (i % 2 == 0) {
      if (!b->Abrir(OperacaoBtrieve::kModoExclusivo, "")) Abortar(b->ErroDescricao());
      mantidos.push_back(std::move(b));
    }
  }
  return mantidos;
}

}  // namespace

int main(int argc, char** argv) {
  const int estacoes = argc > 1 ? std::atoi(argv[1]) : 5000;
  char modelo[] = "/tmp/tav-bench-painel-XXXXXX";
  const std::string pasta = mkdtemp(modelo);
  tavadmin::CaminhosBtrieve btrieve(std::make_unique<MotorBtrieve>());
  tavadmin::ArquivosFerramenta arquivos;
  GravarEstacoes(btrieve, arquivos, pasta, estacoes);
  const int relatorios = CriarRelatorios(pasta, estacoes);
  const auto mantidos = CriarBloqueios(btrieve, arquivos, pasta);

  const std::string pagina = pasta + "/painel.html";
  std::vector<double> ms;
  for (int rodada = 0; rodada < kRodadas; ++rodada) {
    std::ostringstream saida, erros;
    tavadmin::Contexto c{btrieve, arquivos, saida, erros};
    const auto inicio = std::chrono::steady_clock::now();
    if (tavadmin::Executar({"painel", pasta, pagina}, c) != tavadmin::kSaidaOk) Abortar(erros.str());
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("tavadmin painel: %d workstations, %d report files, %d lock files (%zu held)\n", estacoes, relatorios,
              kBloqueios, mantidos.size());
  std::printf("  page %.0f KiB, %d runs: min %.1f ms, median %.1f ms, max %.1f ms (target: under 1000 ms)\n",
              static_cast<double>(fs::file_size(pagina)) / 1024.0, kRodadas, ms.front(), ms[ms.size() / 2], ms.back());
  fs::remove_all(pasta);
  return 0;
}
