// The daily start without update, natively: builds the version file (20,000 entries) and a
// status file of N workstations with tavadmin's commands, then runs the record calls of
// that start (version check of the four start-up programs, this computer's status record,
// the lock-file test) three times: on a workstation with no copy of the pages yet, the next
// day, and after another workstation recorded its status; prints the bytes and pages each
// step reads from the record files.
// Arguments: the workstation counts (50 and 5000 by default).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/Contadores.h"
#include "engine/MotorBtrieve.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "records/clsSssVersao.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"
#include "tools/tavadmin/ComandosTavadmin.h"

namespace {

using namespace tavoran;

constexpr const char* kComputador = "ESTACAO-BENCH";
constexpr const char* kProgramas[] = {"TAVORAN.EXE", "TAVORAN2.EXE", "KEMCRIAARQ.EXE", "KEMGRAVAARQUIVOWSE.EXE"};

struct Leitura {
  std::uint64_t bytes = 0, paginas = 0, visitadas = 0, leituras = 0;
};

Leitura LerContadores() {
  Leitura l;
  l.leituras = motor::ContadoresMotor().leituras.load();
  TavMotorContadores(&l.bytes, &l.paginas, &l.visitadas, 1);
  return l;
}

void Tavadmin(tavadmin::Contexto& c, const std::vector<std::string>& argumentos) {
  if (tavadmin::Executar(argumentos, c) != tavadmin::kSaidaOk) {
    std::fprintf(stderr, "tavadmin %s failed\n", argumentos[0].c_str());
    std::exit(1);
  }
}

// The same share as bench/dia-a-dia-wine.sh: 5,000 system versions of four programs.
void PrepararCompartilhamento(const std::string& pasta, int estacoes) {
  // Building the share need not survive a power failure: thousands of commits unflushed.
  setenv("TAV_BTRIEVE_SINCRONIZAR", "0", 1);
  const std::string manifesto = pasta + "/grande.csv";
  {
    std::ofstream m(manifesto);
    m << "VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;"
         "RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim\n";
    char ordem[16];
    for (int v = 1; v <= 5000; ++v) {
      std::snprintf(ordem, sizeof ordem, "%09d", v);
      for (const char* p : kProgramas) {
        const char* esperada = std::string(p) == "KEMCRIAARQ.EXE" ? "" : "1.0.0.0";
        m << v << ".0;;" << p << ';' << esperada << ";;20261201;20261201;;1;0;" << ordem << ";\n";
      }
    }
  }
  tavadmin::CaminhosBtrieve btrieve(std::make_unique<MotorBtrieve>());
  tavadmin::ArquivosFerramenta arquivos;
  std::ostringstream saida, erros;
  tavadmin::Contexto c{btrieve, arquivos, saida, erros};
  Tavadmin(c, {"importar", pasta, manifesto});
  Tavadmin(c, {"gravar-estacao", pasta, kComputador, "1", "20261201", "08:00:00", "usuario", "0"});
  char nome[16];
  for (int i = 2; i <= estacoes; ++i) {
    std::snprintf(nome, sizeof nome, "EST%05d", i);
    Tavadmin(c, {"gravar-estacao", pasta, nome, "1", "20261201", "08:00:00", "usuario", "0"});
  }
  unsetenv("TAV_BTRIEVE_SINCRONIZAR");
}

void Passo(const char* nome, bool ok, Leitura* total) {
  Leitura l = LerContadores();
  total->bytes += l.bytes;
  total->paginas += l.paginas;
  total->visitadas += l.visitadas;
  total->leituras += l.leituras;
  std::printf("    %-42s %7llu bytes %3llu reads %3llu pages read %3llu visited%s\n", nome,
              static_cast<unsigned long long>(l.bytes), static_cast<unsigned long long>(l.leituras),
              static_cast<unsigned long long>(l.paginas), static_cast<unsigned long long>(l.visitadas),
              ok ? "" : "  (FAILED)");
}

// Not part of the daily start (its figures stay out of the totals): this computer's record
// looked up again in an open SELVCOMP.BTR after another workstation recorded its status, as
// happens on a share where many start at once; the second lookup reads only what that
// commit can have changed. That commit also leaves the workstation's copy of SELVCOMP.BTR
// behind the file.
void ConsultaAposOutraEstacao(IBtrieve& btrieve, IArquivos& arquivos, const std::string& pasta) {
  clsSelVcomp status(btrieve, arquivos), outra(btrieve, arquivos);
  status.Diretorio(pasta);
  outra.Diretorio(pasta);
  bool ok = status.Abrir(0, "") && outra.Abrir(0, "");
  status.MontarChave0(kComputador);
  ok = ok && status.Ler(OperacaoBtrieve::kObterIgual);
  outra.MontarChave0("EST00002");
  ok = ok && outra.Ler(OperacaoBtrieve::kObterIgual);
  outra.Hora("08:30:00");
  ok = ok && outra.Gravar();
  LerContadores();
  Leitura nada;
  Passo("(again, after another workstation's commit)", ok && status.Ler(OperacaoBtrieve::kObterIgual), &nada);
  status.Fechar();
  outra.Fechar();
}

// The record calls of a daily start, in the order the start makes them.
void DiaADia(const std::string& pasta, const char* titulo) {
  tavadmin::CaminhosBtrieve btrieve(std::make_unique<MotorBtrieve>());
  tavadmin::ArquivosFerramenta arquivos;
  LerContadores();
  Leitura total;
  std::printf("    %s:\n", titulo);
  {
    clsSssVersao versao(btrieve, arquivos);
    versao.Diretorio(pasta);
    versao.Sistema("KEM");
    Passo("open KEMVERSAO.BTR", versao.ArquivoExiste() && versao.Abrir(0, ""), &total);
    versao.MontarChave6("");
    bool ok = versao.Ler(OperacaoBtrieve::kObterUltimo);
    Passo("get last, key 6 (system version)", ok, &total);
    std::string sistema = versao.VersaoSistema();
    while (!sistema.empty() && sistema.back() == ' ') sistema.pop_back();
    for (const char* p : kProgramas) {
      versao.MontarChave1(p, sistema);
      ok = versao.Ler(OperacaoBtrieve::kObterIgual);
      Passo((std::string("get equal, key 1: ") + p).c_str(), ok, &total);
    }
    Passo("close KEMVERSAO.BTR", versao.Fechar(), &total);
  }
  {
    clsRyxMaqBloqueio bloqueio(btrieve, arquivos);
    bloqueio.Diretorio(pasta);
    bloqueio.MaquinaNome(kComputador);
    bool livre = !bloqueio.ArquivoExiste() || bloqueio.Abrir(0, "");
    Passo("lock file test", livre, &total);
  }
  {
    clsSelVcomp status(btrieve, arquivos);
    status.Diretorio(pasta);
    Passo("open SELVCOMP.BTR", status.ArquivoExiste() && status.Abrir(0, ""), &total);
    status.MontarChave0(kComputador);
    Passo("get equal, key 0: this computer", status.Ler(OperacaoBtrieve::kObterIgual), &total);
    Passo("close SELVCOMP.BTR", status.Fechar(), &total);
  }
  std::printf("    %-42s %7llu bytes %3llu reads %3llu pages read %3llu visited  (%.1f KiB)\n", "total",
              static_cast<unsigned long long>(total.bytes), static_cast<unsigned long long>(total.leituras),
              static_cast<unsigned long long>(total.paginas), static_cast<unsigned long long>(total.visitadas),
              total.bytes / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> contagens;
  for (int i = 1; i < argc; ++i) contagens.push_back(std::atoi(argv[i]));
  if (contagens.empty()) contagens = {50, 5000};
  std::printf("Daily start without update, bytes read from the record files (native engine):\n");
  for (int estacoes : contagens) {
    char modelo[] = "/tmp/tav-dia-XXXXXX";
    if (mkdtemp(modelo) == nullptr) return 1;
    const std::string pasta = modelo;
    PrepararCompartilhamento(pasta, estacoes);
    // The workstation's copies of the pages it read live in a folder of its own.
    setenv("TAV_BTRIEVE_COPIAS", (pasta + "/copias").c_str(), 1);
    std::printf("  %d workstations:\n", estacoes);
    DiaADia(pasta, "first start on this workstation (no copy of the pages yet)");
    DiaADia(pasta, "daily start (the record files unchanged since the last start)");
    {
      tavadmin::CaminhosBtrieve btrieve(std::make_unique<MotorBtrieve>());
      tavadmin::ArquivosFerramenta arquivos;
      ConsultaAposOutraEstacao(btrieve, arquivos, pasta);
    }
    DiaADia(pasta, "daily start after another workstation recorded its status");
    unsetenv("TAV_BTRIEVE_COPIAS");
    std::filesystem::remove_all(pasta);
  }
  return 0;
}
