// Writes the format-1 record files of tests/engine/formato1 with the engine and record
// classes of the program as they were before format 2 (gerar.sh builds it against those
// sources; it is no part of the project's build). Usage: gerador <folder>
//
//   SELVCOMP.BTR    status file: 60 stations written, 20 deleted (freed leaves), 5 updated
//   SELVCOMP-SEGUINTE.BTR  the same after stations 61 to 70 were added
//   KEMVERSAO.BTR   version file: 7 keys, 18 segments, written in exclusive mode
//   RYXWS07.BLQ     a workstation's lock file, empty
//   SEGMENTOS.DAT   one key of 40 segments (a header longer than the first read), owner
//                   "DONO" in mode 1 (read-only without the name)
//   ENERGIA.DAT     the layout of the engine's power-loss test, 35 records
//   queda/ANTES.BTR, queda/DEPOIS.BTR   a status file of 15 stations, and after the 16th
//                   (the insert splits the data leaf and adds a root)
//   queda/MORTO-n.BTR  ANTES.BTR with that insert killed at its n-th write
//   queda/recuperacao.txt  for each MORTO-n.BTR, what the same engine recovered it to:
//                   "antes" or "depois"
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/Motor.h"
#include "engine/MotorBtrieve.h"
#include "engine/Paginador.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "records/clsSssVersao.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"

namespace fs = std::filesystem;
namespace Op = tavoran::OperacaoBtrieve;
using tavoran::clsSelVcomp;

namespace {

[[noreturn]] void Falhar(const std::string& onde, std::int32_t erro) {
  std::fprintf(stderr, "gerador: %s: %d\n", onde.c_str(), erro);
  std::exit(1);
}

struct Motor {
  tavoran::tavadmin::CaminhosBtrieve btrieve{std::make_unique<tavoran::MotorBtrieve>()};
  tavoran::tavadmin::ArquivosFerramenta arquivos;
};

// Text and a number after it, built by appending: GCC 12 at -O2 warns wrongly (-Wrestrict)
// on a literal plus std::to_string.
std::string Rotulo(const std::string& texto, long numero) {
  std::string r = texto;
  r.append(std::to_string(numero));
  return r;
}

std::string Estacao(int n) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "WS%03d", n);
  return nome;
}

void GravarEstacao(clsSelVcomp& status, int n, const std::string& data) {
  status.AdicionarNovo();
  status.Maquina(Estacao(n));
  status.Status(n % 3 == 0 ? "0" : "1");
  status.Data(data);
  status.Hora("08:15:00");
  status.Usuario(Rotulo("usuario", n));
  status.ForcarAtualizaComponentes("0");
  if (!status.Gravar()) Falhar("insert " + Estacao(n), status.ErroNumero());
}

// A status file with the stations first..last, in the given folder.
void CriarStatus(Motor& m, const std::string& pasta, int primeira, int ultima) {
  clsSelVcomp status(m.btrieve, m.arquivos);
  status.Diretorio(pasta);
  if (!status.Criar()) Falhar("create SELVCOMP", status.ErroNumero());
  if (!status.Abrir(Op::kModoNormal, "")) Falhar("open SELVCOMP", status.ErroNumero());
  for (int n = primeira; n <= ultima; ++n) GravarEstacao(status, n, "20250110");
  status.Fechar();
}

void Status(Motor& m, const std::string& pasta) {
  CriarStatus(m, pasta, 1, 60);
  clsSelVcomp status(m.btrieve, m.arquivos);
  status.Diretorio(pasta);
  if (!status.Abrir(Op::kModoNormal, "")) Falhar("open SELVCOMP", status.ErroNumero());
  for (int n = 21; n <= 40; ++n) {
    status.MontarChave0(Estacao(n));
    if (!status.Ler(Op::kObterIgual) || !status.Excluir()) Falhar("delete " + Estacao(n), status.ErroNumero());
  }
  for (int n : {2, 9, 17, 44, 58}) {
    status.MontarChave0(Estacao(n));
    if (!status.Ler(Op::kObterIgual)) Falhar("read " + Estacao(n), status.ErroNumero());
    status.ForcarAtualizaComponentes("1");
    status.Data("20250301");
    if (!status.Gravar()) Falhar("update " + Estacao(n), status.ErroNumero());
  }
  status.Fechar();
}

// The status file as another workstation leaves it after adding stations 61 to 70: the
// rightmost data leaf splits under the same root.
void Seguinte(Motor& m, const fs::path& destino) {
  const fs::path trabalho = destino / "seguinte";
  fs::create_directories(trabalho);
  fs::copy_file(destino / "SELVCOMP.BTR", trabalho / "SELVCOMP.BTR");
  clsSelVcomp status(m.btrieve, m.arquivos);
  status.Diretorio(trabalho.string());
  if (!status.Abrir(Op::kModoNormal, "")) Falhar("open SELVCOMP", status.ErroNumero());
  for (int n = 61; n <= 70; ++n) GravarEstacao(status, n, "20250115");
  status.Fechar();
  fs::copy_file(trabalho / "SELVCOMP.BTR", destino / "SELVCOMP-SEGUINTE.BTR");
  fs::remove_all(trabalho);
}

void Versoes(Motor& m, const std::string& pasta) {
  tavoran::clsSssVersao versao(m.btrieve, m.arquivos);
  versao.Diretorio(pasta);
  versao.Sistema("KEM");
  if (!versao.Criar()) Falhar("create KEMVERSAO", versao.ErroNumero());
  if (!versao.Abrir(Op::kModoExclusivo, "")) Falhar("open KEMVERSAO", versao.ErroNumero());
  const char* programas[][3] = {{"TAVORAN.EXE", "8.0.0.1", "0008.0000.0000.0001"},
                                {"TAVORAN.EXE", "8.2.0.0", "0008.0002.0000.0000"},
                                {"KEM.EXE", "8.1.0.0", "0008.0001.0000.0000"},
                                {"KEMREL.DLL", "8.1.0.3", "0008.0001.0000.0003"},
                                {"KEMFIS.DLL", "8.0.9.0", "0008.0000.0009.0000"}};
  int i = 0;
  for (const auto& p : programas) {
    versao.AdicionarNovo();
    versao.VersaoSistema("8.0");
    versao.CaminhoProgramaArquivo("\\KEM");
    versao.NomeProgramaArquivo(p[0]);
    versao.VersaoPrograma(p[1]);
    versao.hash(Rotulo("h", ++i));
    versao.RegDataCriacao(Rotulo("2026010", i));
    versao.RegDataUltAlteracao(Rotulo("2026020", i));
    versao.Observacao(std::string("versão ") + p[1]);
    versao.Funcionando("1");
    versao.Beta("0");
    versao.VersaoOrdenacao(p[2]);
    versao.Boletim(Rotulo("B", i));
    if (!versao.Gravar()) Falhar(std::string("insert ") + p[0], versao.ErroNumero());
  }
  versao.Fechar();
}

void Bloqueio(Motor& m, const std::string& pasta) {
  tavoran::clsRyxMaqBloqueio bloqueio(m.btrieve, m.arquivos);
  bloqueio.Diretorio(pasta);
  bloqueio.MaquinaNome("ws07");
  if (!bloqueio.Criar()) Falhar("create RYXWS07.BLQ", bloqueio.ErroNumero());
}

// A file straight through BTRCALL, for layouts the record classes do not have.
class ArquivoDireto {
 public:
  explicit ArquivoDireto(std::string caminho) : nome_(std::move(caminho)) {}

  // An operation with the key buffer given (the file name for Create and Open).
  int Chamar(std::uint16_t op, void* dados, std::uint32_t tamanho, const std::string& chave = "",
             std::int8_t numero = 0) {
    std::vector<char> buffer(255, '\0');
    std::copy(chave.begin(), chave.end(), buffer.begin());
    return tavoran::motor::Chamar(op, bloco_, dados, &tamanho, buffer.data(), 255, numero);
  }
  // Creates and opens it: record length, page size 4096, and each key's segments as
  // (position, length, flags) with the segmented flag (16) set on all but a key's last.
  void Criar(std::uint16_t registro, const std::vector<std::vector<std::array<std::uint16_t, 3>>>& chaves) {
    std::vector<std::uint8_t> espec(16, 0);
    Grava16(espec, 0, registro);
    Grava16(espec, 2, 4096);
    Grava16(espec, 4, static_cast<std::uint16_t>(chaves.size()));
    for (const auto& segmentos : chaves)
      for (std::size_t i = 0; i < segmentos.size(); ++i) {
        const std::size_t e = espec.size();
        espec.resize(e + 16, 0);
        Grava16(espec, e, segmentos[i][0]);
        Grava16(espec, e + 2, segmentos[i][1]);
        Grava16(espec, e + 4, static_cast<std::uint16_t>(segmentos[i][2] | (i + 1 < segmentos.size() ? 16 : 0)));
      }
    Exigir("create", Chamar(14, espec.data(), static_cast<std::uint32_t>(espec.size()), nome_));
    Exigir("open", Chamar(0, nullptr, 0, nome_));
  }
  void Exigir(const std::string& onde, int status) {
    if (status != 0) Falhar(onde + " " + nome_, status);
  }

 private:
  static void Grava16(std::vector<std::uint8_t>& v, std::size_t pos, std::uint16_t valor) {
    v[pos] = static_cast<std::uint8_t>(valor);
    v[pos + 1] = static_cast<std::uint8_t>(valor >> 8);
  }
  std::uint8_t bloco_[128] = {};
  std::string nome_;
};

// Record of 100 bytes, key 0 of 40 two-byte segments over its first 80 bytes, 30 records,
// then an owner.
void Segmentos(const std::string& pasta) {
  ArquivoDireto a(pasta + "/SEGMENTOS.DAT");
  std::vector<std::array<std::uint16_t, 3>> segmentos;
  for (std::uint16_t s = 0; s < 40; ++s) segmentos.push_back({static_cast<std::uint16_t>(1 + 2 * s), 2, 0});
  a.Criar(100, {segmentos});
  for (int r = 0; r < 30; ++r) {
    char registro[101];
    std::snprintf(registro, sizeof registro, "%-80s%-20s", Rotulo("S", 1000 + r * 7).c_str(),
                  Rotulo("linha ", r).c_str());
    a.Exigir("insert", a.Chamar(2, registro, 100));
  }
  char dono[9] = "DONO";
  a.Exigir("owner", a.Chamar(29, dono, 5, "", 1));
  a.Chamar(1, nullptr, 0);
}

// The layout of the engine's power-loss test: record of 200 bytes, key 0 its first 10
// bytes ("C<n>"), key 1 the next 8 ("G<n>", duplicates, modifiable); 40 records written,
// then 5 updated and 5 deleted.
void Energia(const std::string& pasta) {
  ArquivoDireto a(pasta + "/ENERGIA.DAT");
  a.Criar(200, {{{1, 10, 0}}, {{11, 8, 1 | 2}}});
  auto chave = [](int k) {
    char c[11];
    std::snprintf(c, sizeof c, "%-10s", Rotulo("C", k).c_str());
    return std::string(c, 10);
  };
  auto registro = [&](int k, int grupo, int versao) {
    char r[201];
    std::snprintf(r, sizeof r, "%-8s%-182s", Rotulo("G", grupo).c_str(), Rotulo("versao ", versao).c_str());
    return chave(k) + std::string(r, 190);
  };
  std::string r;
  for (int k = 0; k < 120; k += 3) {
    r = registro(k, k % 7, 1);
    a.Exigir("insert", a.Chamar(2, r.data(), 200, chave(k)));
  }
  for (int k = 6; k < 120; k += 24) {
    r.assign(200, ' ');
    a.Exigir("read", a.Chamar(5, r.data(), 200, chave(k)));
    r = registro(k, (k + 1) % 7, 2);
    a.Exigir("update", a.Chamar(3, r.data(), 200, chave(k)));
    r.assign(200, ' ');
    a.Exigir("read", a.Chamar(5, r.data(), 200, chave(k + 9)));
    a.Exigir("delete", a.Chamar(4, r.data(), 200, chave(k + 9)));
  }
  a.Chamar(1, nullptr, 0);
}

std::set<std::string> Registros(Motor& m, const std::string& pasta) {
  clsSelVcomp status(m.btrieve, m.arquivos);
  status.Diretorio(pasta);
  std::set<std::string> r;
  if (!status.Abrir(Op::kModoNormal, "")) Falhar("open " + pasta, status.ErroNumero());
  status.MontarChave0("");
  for (bool lido = status.Ler(Op::kObterPrimeiro); lido; lido = status.Ler(Op::kObterProximo)) r.insert(status.Imagem());
  if (status.ErroNumero() != 9) Falhar("read " + pasta, status.ErroNumero());
  status.Fechar();
  return r;
}

// Inserts station 16 into the status file of the folder; with falha > 0, the process dies
// at that write of the commit. True when the process ran to the end.
bool InserirEmOutroProcesso(const std::string& pasta, long falha) {
  const pid_t filho = fork();
  if (filho == 0) {
    Motor m;
    clsSelVcomp status(m.btrieve, m.arquivos);
    status.Diretorio(pasta);
    if (!status.Abrir(Op::kModoNormal, "")) _exit(2);
    tavoran::motor::FalharAposGravacoes(falha);
    GravarEstacao(status, 16, "20250401");
    status.Fechar();
    _exit(0);
  }
  int estado = 0;
  waitpid(filho, &estado, 0);
  if (WIFEXITED(estado) && WEXITSTATUS(estado) != 0) Falhar("insert in child", WEXITSTATUS(estado));
  return WIFEXITED(estado);
}

// The insert of station 16 killed at each of its writes in turn, on copies of one file;
// what the same engine then recovers each copy to goes to recuperacao.txt.
void Quedas(Motor& m, const fs::path& destino) {
  const fs::path trabalho = destino / "trabalho";
  const fs::path antes = trabalho / "antes", depois = trabalho / "depois", morto = trabalho / "morto";
  for (const auto& p : {antes, depois, morto}) fs::create_directories(p);
  CriarStatus(m, antes.string(), 1, 15);
  fs::copy_file(antes / "SELVCOMP.BTR", depois / "SELVCOMP.BTR");
  if (!InserirEmOutroProcesso(depois.string(), 0)) Falhar("insert without failure", 0);
  fs::copy_file(antes / "SELVCOMP.BTR", destino / "ANTES.BTR");
  fs::copy_file(depois / "SELVCOMP.BTR", destino / "DEPOIS.BTR");
  const auto registrosAntes = Registros(m, antes.string());
  const auto registrosDepois = Registros(m, depois.string());
  std::ofstream recuperacao(destino / "recuperacao.txt");
  for (long n = 1;; ++n) {
    fs::copy_file(antes / "SELVCOMP.BTR", morto / "SELVCOMP.BTR", fs::copy_options::overwrite_existing);
    if (InserirEmOutroProcesso(morto.string(), n)) break;
    const std::string nome = Rotulo("MORTO-", n) + ".BTR";
    fs::copy_file(morto / "SELVCOMP.BTR", destino / nome);
    const auto recuperados = Registros(m, morto.string());
    if (recuperados != registrosAntes && recuperados != registrosDepois) Falhar(nome + " recovered to neither", 0);
    recuperacao << nome << ' ' << (recuperados == registrosAntes ? "antes" : "depois") << '\n';
  }
  fs::remove_all(trabalho);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const fs::path destino = argv[1];
  fs::create_directories(destino / "queda");
  Motor m;
  Status(m, destino.string());
  Seguinte(m, destino);
  Versoes(m, destino.string());
  Bloqueio(m, destino.string());
  Segmentos(destino.string());
  Energia(destino.string());
  Quedas(m, destino / "queda");
  return 0;
}
