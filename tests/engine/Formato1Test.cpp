// Files the engine wrote before format 2 (tests/engine/formato1, written by gerar.sh with
// that engine): they open and read as they are, their first write turns them into format 2,
// and a commit that engine left cut short comes back as that engine recovered it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "tests/engine/Auxiliar.h"
#include "tests/engine/DiscoSimulado.h"

namespace tavoran::testes {
namespace {

namespace fs = std::filesystem;
using Registros = std::vector<std::string>;  // sorted

std::uint32_t Versao(const std::string& nome) {
  const auto b = Bytes(nome);
  return b.size() < 12 ? 0 : b[8] | b[9] << 8 | b[10] << 16 | static_cast<std::uint32_t>(b[11]) << 24;
}

// Every record of an open file, by key 0; 9 must end the walk.
Registros Ler(ArquivoTeste& a, std::size_t tamanho) {
  Registros r;
  int st = a.Ler(12);
  for (; st == 0; st = a.Ler(6)) r.push_back(a.Registro(tamanho));
  EXPECT_EQ(st, 9);
  std::sort(r.begin(), r.end());
  return r;
}

// ---- the records gerar.sh wrote ----------------------------------------------------------------

std::string Estacao(int n, const std::string& data, bool forcar) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "WS%03d", n);
  return Campo(Campo(nome, 30) + (n % 3 == 0 ? "0" : "1") + data + "08:15:00" + Campo(Rotulo("usuario", n), 20) +
                   (forcar ? "1" : "0"),
               256);
}

Registros Estacoes(const std::vector<std::pair<int, int>>& faixas, const std::map<int, std::string>& datas,
                   const std::string& data) {
  Registros r;
  for (auto [de, ate] : faixas)
    for (int n = de; n <= ate; ++n)
      r.push_back(Estacao(n, datas.count(n) ? datas.at(n) : data, datas.count(n) && datas.at(n) == "20250301"));
  std::sort(r.begin(), r.end());
  return r;
}

Registros Status() {
  std::map<int, std::string> alteradas;
  for (int n : {2, 9, 17, 44, 58}) alteradas[n] = "20250301";
  return Estacoes({{1, 20}, {41, 60}}, alteradas, "20250110");
}

Registros StatusSeguinte() {
  Registros r = Status();
  for (int n = 61; n <= 70; ++n) r.push_back(Estacao(n, "20250115", false));
  std::sort(r.begin(), r.end());
  return r;
}

Registros Versoes() {
  const char* programas[][3] = {{"TAVORAN.EXE", "8.0.0.1", "0008.0000.0000.0001"},
                                {"TAVORAN.EXE", "8.2.0.0", "0008.0002.0000.0000"},
                                {"KEM.EXE", "8.1.0.0", "0008.0001.0000.0000"},
                                {"KEMREL.DLL", "8.1.0.3", "0008.0001.0000.0003"},
                                {"KEMFIS.DLL", "8.0.9.0", "0008.0000.0009.0000"}};
  Registros r;
  int i = 0;
  for (const auto& p : programas) {
    ++i;
    r.push_back(Campo(Campo("8.0", 14) + Campo("\\KEM", 64) + Campo(p[0], 64) + Campo(p[1], 14) +
                          Campo(Rotulo("h", i), 32) + Rotulo("2026010", i) + Rotulo("2026020", i) +
                          Campo(std::string("vers\xe3o ") + p[1], 255) + "10" + p[2] + Campo(Rotulo("B", i), 8),
                      1024));
  }
  std::sort(r.begin(), r.end());
  return r;
}

Registros Segmentos() {
  Registros r;
  for (int i = 0; i < 30; ++i) r.push_back(Campo(Rotulo("S", 1000 + i * 7), 80) + Campo(Rotulo("linha ", i), 20));
  std::sort(r.begin(), r.end());
  return r;
}

std::string Energia(int k, int grupo, int versao) {
  return Campo(Rotulo("C", k), 10) + Campo(Rotulo("G", grupo), 8) + Campo(Rotulo("versao ", versao), 182);
}

Registros EnergiaGravada() {
  std::map<int, std::string> m;
  for (int k = 0; k < 120; k += 3) m[k] = Energia(k, k % 7, 1);
  for (int k = 6; k < 120; k += 24) {
    m[k] = Energia(k, (k + 1) % 7, 2);
    m.erase(k + 9);
  }
  Registros r;
  for (const auto& [k, v] : m) r.push_back(v);
  std::sort(r.begin(), r.end());
  return r;
}

struct Fixture {
  const char* nome;
  std::size_t tamanho;
  const char* dono;
  Registros registros;
  std::string novo;  // a record the first write adds
};

std::vector<Fixture> Fixtures() {
  return {{"SELVCOMP.BTR", 256, "", Status(), Estacao(99, "20250501", false)},
          {"SELVCOMP-SEGUINTE.BTR", 256, "", StatusSeguinte(), Estacao(99, "20250501", false)},
          {"KEMVERSAO.BTR", 1024, "", Versoes(), Campo(Campo("8.3", 14) + Campo("\\KEM", 64) + "NOVO.EXE", 1024)},
          {"RYXWS07.BLQ", 512, "", {}, Campo("X", 512)},
          {"SEGMENTOS.DAT", 100, "DONO", Segmentos(), Campo("S0999", 80) + Campo("nova", 20)},
          {"ENERGIA.DAT", 200, "", EnergiaGravada(), Energia(1000, 3, 9)},
          {"queda/ANTES.BTR", 256, "", Estacoes({{1, 15}}, {}, "20250110"), Estacao(99, "20250501", false)},
          {"queda/DEPOIS.BTR", 256, "", Estacoes({{1, 16}}, {{16, "20250401"}}, "20250110"),
           Estacao(99, "20250501", false)}};
}

Registros Com(Registros r, const std::string& novo) {
  r.push_back(novo);
  std::sort(r.begin(), r.end());
  return r;
}

class Formato1 : public ::testing::Test {
 protected:
  PastaTemporaria pasta;

  // A copy of a fixture, since opening may write it.
  std::string Copia(const std::string& fixture, const std::string& nome = "") {
    const std::string destino = pasta.Arquivo(nome.empty() ? fs::path(fixture).filename().string() : nome);
    fs::copy_file(fs::path(TAV_DIR_FORMATO1) / fixture, destino, fs::copy_options::overwrite_existing);
    return destino;
  }
};

TEST_F(Formato1, CadaArquivoAbreVerificaELeOsRegistrosGravados) {
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.nome);
    const std::string nome = Copia(f.nome);
    const auto antes = Bytes(nome);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(nome, 0, f.dono), 0);
    EXPECT_EQ(Ler(a, f.tamanho), f.registros);
    EXPECT_EQ(a.Fechar(), 0);
    // Reads leave the file as it was: still format 1, byte for byte.
    EXPECT_EQ(Bytes(nome), antes);
  }
}

TEST_F(Formato1, AbertoSoParaLeituraNaoEGravado) {
  const std::string nome = Copia("SELVCOMP.BTR");
  const auto antes = Bytes(nome);
  ArquivoTeste a;
  ASSERT_EQ(a.Abrir(nome, -2), 0);
  EXPECT_EQ(Ler(a, 256), Status());
  EXPECT_EQ(a.Inserir(Estacao(99, "20250501", false)), 46);
  EXPECT_EQ(a.Fechar(), 0);
  EXPECT_EQ(Bytes(nome), antes);
  // Without its owner's name a file of owner mode 1 is read-only too.
  const std::string segmentos = Copia("SEGMENTOS.DAT");
  const auto antesSegmentos = Bytes(segmentos);
  ASSERT_EQ(a.Abrir(segmentos), 0);
  EXPECT_EQ(Ler(a, 100), Segmentos());
  EXPECT_NE(a.Inserir(Campo("S0999", 100)), 0);
  EXPECT_EQ(a.Fechar(), 0);
  EXPECT_EQ(Bytes(segmentos), antesSegmentos);
}

// The first write commits in format 2; the file then verifies and holds every old record and
// the new one, for the open that wrote it, another open that had read it before, and
// another process.
TEST_F(Formato1, APrimeiraGravacaoPassaOArquivoAoFormato2) {
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.nome);
    const std::string nome = Copia(f.nome);
    ASSERT_EQ(Versao(nome), 1u);
    const Registros depois = Com(f.registros, f.novo);
    ArquivoTeste a, b;
    ASSERT_EQ(a.Abrir(nome, 0, f.dono), 0);
    ASSERT_EQ(b.Abrir(nome, 0, f.dono), 0);
    EXPECT_EQ(Ler(b, f.tamanho), f.registros);
    ASSERT_EQ(a.Inserir(f.novo), 0);
    EXPECT_EQ(Versao(nome), 2u);
    EXPECT_EQ(Ler(b, f.tamanho), depois);
    EXPECT_EQ(Ler(a, f.tamanho), depois);
#ifndef _WIN32
    const int outro = Filho([&] {
      ArquivoTeste c;
      if (c.Abrir(nome, 0, f.dono) != 0) return 1;
      const bool igual = Ler(c, f.tamanho) == depois;
      c.Fechar();
      return igual ? 0 : 2;
    });
    EXPECT_EQ(Esperar(outro), 0);
#endif
    EXPECT_EQ(b.Fechar(), 0);
    EXPECT_EQ(a.Fechar(), 0);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
    ASSERT_EQ(a.Abrir(nome, 0, f.dono), 0);
    EXPECT_EQ(Ler(a, f.tamanho), depois);
    // Later writes go on in format 2.
    ASSERT_EQ(a.Ler(12), 0);
    EXPECT_EQ(a.Excluir(), 0);
    EXPECT_EQ(a.Fechar(), 0);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
    EXPECT_EQ(Versao(nome), 2u);
  }
}

// Each kill of the old engine's insert, at each of its writes, comes back to what that
// engine recovered it to (queda/recuperacao.txt); the file then takes writes.
TEST_F(Formato1, CommitInterrompidoVoltaComoOMotorAntigoORecuperava) {
  const Registros antes = Estacoes({{1, 15}}, {}, "20250110");
  const Registros depois = Estacoes({{1, 16}}, {{16, "20250401"}}, "20250110");
  std::ifstream lista(fs::path(TAV_DIR_FORMATO1) / "queda" / "recuperacao.txt");
  std::string arquivo, estado;
  int casos = 0;
  while (lista >> arquivo >> estado) {
    SCOPED_TRACE(arquivo);
    ++casos;
    ASSERT_TRUE(estado == "antes" || estado == "depois");
    const std::string nome = Copia("queda/" + arquivo, "SELVCOMP.BTR");
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(nome), 0);
    EXPECT_EQ(Ler(a, 256), estado == "antes" ? antes : depois);
    EXPECT_EQ(a.Fechar(), 0);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
    // The recovery is that of format 1: the file stays format 1 until a write.
    EXPECT_EQ(Versao(nome), 1u);
    ASSERT_EQ(a.Abrir(nome), 0);
    ASSERT_EQ(a.Inserir(Estacao(99, "20250501", false)), 0);
    EXPECT_EQ(a.Fechar(), 0);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
    ASSERT_EQ(a.Abrir(nome), 0);
    EXPECT_EQ(Ler(a, 256), Com(estado == "antes" ? antes : depois, Estacao(99, "20250501", false)));
    EXPECT_EQ(a.Fechar(), 0);
  }
  EXPECT_EQ(casos, 8);
}

TEST_F(Formato1, CabecalhoDanificadoResponde2) {
  for (std::size_t pos : {std::size_t{50}, std::size_t{1060}, std::size_t{4093}}) {
    SCOPED_TRACE(pos);
    const std::string nome = Copia("SELVCOMP.BTR");
    auto bytes = Bytes(nome);
    bytes[pos] ^= 0x5A;
    Gravar(nome, bytes);
    ArquivoTeste a;
    EXPECT_EQ(a.Abrir(nome), 2);
    EXPECT_EQ(TavMotorVerificar(nome.c_str()), 2);
  }
}

// The converting commit under the simulated disk: every image a power loss could leave opens,
// verifies, and holds the old records in format 1 or all of them and the new one in format 2;
// once the commit's second flush is done, only the latter.
TEST_F(Formato1, QuedaDeEnergiaNaConversaoDeixaUmFormatoOuOOutro) {
  AmbienteTemporario sincronizar("TAV_BTRIEVE_SINCRONIZAR", "1");
  const std::string nome = Copia("ENERGIA.DAT");
  const std::string imagem = pasta.Arquivo("IMAGEM.DAT");
  const Registros antes = EnergiaGravada(), depois = Com(antes, Energia(1000, 3, 9));
  std::mt19937 rng(1);
  int imagens = 0, viramAntes = 0, viramDepois = 0;
  ArquivoTeste a;
  ASSERT_EQ(a.Abrir(nome), 0);
  {
    DiscoSimulado disco(nome);
    ASSERT_EQ(a.Inserir(Energia(1000, 3, 9)), 0);
    ASSERT_EQ(a.Fechar(), 0);
    for (std::size_t ate = 1; ate <= disco.Eventos(); ++ate)
      for (int vez = 0; vez < 8; ++vez) {
        SCOPED_TRACE(Rotulo("event ", static_cast<long long>(ate)));
        Gravar(imagem, disco.Imagem(ate, rng));
        ++imagens;
        ASSERT_EQ(TavMotorVerificar(imagem.c_str()), 0);
        ArquivoTeste b;
        ASSERT_EQ(b.Abrir(imagem), 0);
        const Registros lidos = Ler(b, 200);
        b.Fechar();
        if (lidos == antes && disco.Descargas(0, ate) < 2) {
          EXPECT_EQ(Versao(imagem), 1u);
          ++viramAntes;
        } else {
          ASSERT_EQ(lidos, depois);
          EXPECT_EQ(Versao(imagem), 2u);
          ++viramDepois;
        }
      }
  }
  EXPECT_GT(viramAntes, 0);
  EXPECT_GT(viramDepois, 0);
  std::printf("%d power-loss images of the converting commit\n", imagens);
}

}  // namespace
}  // namespace tavoran::testes
