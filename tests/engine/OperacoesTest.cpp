// Record operations through BTRCALL on real files: keys, positioning, statuses, Stat.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "engine/Contadores.h"
#include "tests/engine/Auxiliar.h"

namespace tavoran::testes {
namespace {

std::uint16_t L16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t L32(const std::uint8_t* p) { return L16(p) | (static_cast<std::uint32_t>(L16(p + 2)) << 16); }

class Operacoes : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("TESTE.DAT");
  ArquivoTeste a;

  // 64-byte records; key 0: unique 10 bytes at 1; key 1: duplicates + modifiable, 2 segments.
  void CriarPadrao() {
    auto e = Especificacao(64, 1024, 2,
                           {{1, 10, 0}, {11, 5, 1 | 2 | 16}, {16, 5, 1 | 2}});
    ASSERT_EQ(ArquivoTeste::Criar(nome, e), 0);
    ASSERT_EQ(a.Abrir(nome), 0);
  }
  static std::string Reg(const std::string& k0, const std::string& a1, const std::string& b1,
                         const std::string& resto = "") {
    return Campo(k0, 10) + Campo(a1, 5) + Campo(b1, 5) + Campo(resto, 44);
  }
};

TEST_F(Operacoes, CriarAbrirEstatisticaDescrevemOArquivoComoCriado) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("A", "x", "y")), 0);
  a.tamanho = 1920;
  ASSERT_EQ(a.Chamar(15), 0);
  const std::uint8_t* d = a.dados.data();
  EXPECT_EQ(L16(d), 64);
  EXPECT_EQ(L16(d + 2), 1024);
  EXPECT_EQ(L16(d + 4), 2);
  EXPECT_EQ(L32(d + 6), 1u);
  // Every final segment carries the extended-type flag with at most D and M.
  EXPECT_EQ(L16(d + 16 + 4), 256);
  EXPECT_EQ(L16(d + 32 + 4), 256 + 16 + 3);
  EXPECT_EQ(L16(d + 48 + 4), 256 + 3);
  EXPECT_EQ(L16(d + 48), 16);
  EXPECT_EQ(L16(d + 48 + 2), 5);
  EXPECT_EQ(a.tamanho, 16u + 3 * 16);
  a.tamanho = 20;
  EXPECT_EQ(a.Chamar(15), 22);
  EXPECT_EQ(a.Fechar(), 0);
  EXPECT_EQ(a.Chamar(15), 3);
}

TEST_F(Operacoes, CriarComChaveMenosUmRecusaArquivoExistenteEZeroSubstitui) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("A", "", "")), 0);
  ASSERT_EQ(a.Fechar(), 0);
  auto e = Especificacao(64, 1024, 1, {{1, 10, 0}});
  EXPECT_EQ(ArquivoTeste::Criar(nome, e, -1), 59);
  ASSERT_EQ(a.Abrir(nome), 0);
  EXPECT_EQ(a.Ler(12), 0);  // the record survived the refused create
  ASSERT_EQ(a.Fechar(), 0);
  EXPECT_EQ(ArquivoTeste::Criar(nome, e, 0), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  EXPECT_EQ(a.Ler(12), 9);
}

TEST_F(Operacoes, CriarRecusaEspecificacoesInvalidas) {
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1000, 1, {{1, 10, 0}})), 24);
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 1, {{60, 10, 0}})), 27);
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 1, {{1, 0, 0}})), 29);
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(5000, 4096, 1, {{1, 10, 0}})), 28);
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 2, {{1, 10, 0}})), 22);
  EXPECT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 1, {{1, 10, 16}, {20, 4, 1}})), 45);
  EXPECT_FALSE(std::filesystem::exists(nome));
}

TEST_F(Operacoes, LeiturasPorChavePosicionamEAvancam) {
  CriarPadrao();
  for (const char* k : {"C", "A", "E", "B", "D"}) ASSERT_EQ(a.Inserir(Reg(k, "g", k)), 0);
  ASSERT_EQ(a.Ler(5, "C"), 0);
  EXPECT_EQ(a.Registro(10), Campo("C", 10));
  EXPECT_EQ(a.Chave(10), Campo("C", 10));
  EXPECT_EQ(a.tamanho, 64u);
  ASSERT_EQ(a.Ler(6), 0);
  EXPECT_EQ(a.Chave(1), "D");
  ASSERT_EQ(a.Ler(7), 0);
  EXPECT_EQ(a.Chave(1), "C");
  EXPECT_EQ(a.Ler(5, "CC"), 4);
  ASSERT_EQ(a.Ler(8, "C"), 0);
  EXPECT_EQ(a.Chave(1), "D");
  ASSERT_EQ(a.Ler(9, "C"), 0);
  EXPECT_EQ(a.Chave(1), "C");
  ASSERT_EQ(a.Ler(10, "C"), 0);
  EXPECT_EQ(a.Chave(1), "B");
  ASSERT_EQ(a.Ler(11, "CA"), 0);
  EXPECT_EQ(a.Chave(1), "C");
  ASSERT_EQ(a.Ler(12), 0);
  EXPECT_EQ(a.Chave(1), "A");
  EXPECT_EQ(a.Ler(7), 9);
  ASSERT_EQ(a.Ler(13), 0);
  EXPECT_EQ(a.Chave(1), "E");
  EXPECT_EQ(a.Ler(6), 9);
  EXPECT_EQ(a.Ler(8, "E"), 9);
  EXPECT_EQ(a.Ler(10, "A"), 9);
  // Get Next on another key than the position's.
  EXPECT_EQ(a.Ler(6, "", 1), 7);
  EXPECT_EQ(a.Ler(5, "A", 5), 6);
}

TEST_F(Operacoes, ChaveDuplicadaSegueAOrdemDeInsercaoEChaveUnicaRecusa) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("1", "g", "z")), 0);
  ASSERT_EQ(a.Inserir(Reg("2", "g", "z")), 0);
  ASSERT_EQ(a.Inserir(Reg("3", "g", "a")), 0);
  EXPECT_EQ(a.Inserir(Reg("2", "h", "h")), 5);
  ASSERT_EQ(a.Ler(5, Campo("g", 5) + Campo("z", 5), 1), 0);
  EXPECT_EQ(a.Registro(1), "1");
  ASSERT_EQ(a.Ler(6, "", 1), 0);
  EXPECT_EQ(a.Registro(1), "2");
  ASSERT_EQ(a.Ler(12, "", 1), 0);
  EXPECT_EQ(a.Registro(1), "3");
  a.tamanho = 1920;
  ASSERT_EQ(a.Chamar(15), 0);
  EXPECT_EQ(L32(a.dados.data() + 6), 3u);
}

TEST_F(Operacoes, AlterarRespeitaChavesModificaveisEUnicas) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("A", "g", "1")), 0);
  ASSERT_EQ(a.Inserir(Reg("B", "g", "2")), 0);
  EXPECT_EQ(a.Alterar(Reg("B", "g", "2", "novo")), 0);  // position is the inserted record
  ASSERT_EQ(a.Ler(5, "A"), 0);
  EXPECT_EQ(a.Alterar(Reg("Z", "g", "1")), 10);         // key 0 is not modifiable
  EXPECT_EQ(a.Alterar(Reg("A", "k", "9", "x")), 0);      // key 1 is
  ASSERT_EQ(a.Ler(5, Campo("k", 5) + Campo("9", 5), 1), 0);
  EXPECT_EQ(a.Registro(10), Campo("A", 10));
  EXPECT_EQ(a.Registro(64).substr(20, 1), "x");
  ASSERT_EQ(a.Ler(5, "B"), 0);
  EXPECT_EQ(a.Registro(64).substr(20, 4), "novo");
  a.tamanho = 10;
  EXPECT_EQ(a.Chamar(3), 22);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(nome), 0);
  EXPECT_EQ(b.Alterar(Reg("A", "", "")), 8);
  EXPECT_EQ(b.Excluir(), 8);
}

TEST_F(Operacoes, AlterarRecusaQuandoOutroMudouORegistroDepoisDaLeitura) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("A", "g", "1")), 0);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(nome), 0);
  ASSERT_EQ(a.Ler(5, "A"), 0);
  ASSERT_EQ(b.Ler(5, "A"), 0);
  ASSERT_EQ(b.Alterar(Reg("A", "g", "1", "de b")), 0);
  EXPECT_EQ(a.Alterar(Reg("A", "g", "1", "de a")), 80);
  ASSERT_EQ(a.Ler(5, "A"), 0);
  EXPECT_EQ(a.Registro(64).substr(20, 4), "de b");
  EXPECT_EQ(a.Alterar(Reg("A", "g", "1", "de a")), 0);
}

TEST_F(Operacoes, ExcluirMantemAPosicaoEntreOsVizinhos) {
  CriarPadrao();
  for (const char* k : {"A", "B", "C"}) ASSERT_EQ(a.Inserir(Reg(k, "", "")), 0);
  ASSERT_EQ(a.Ler(5, "B"), 0);
  ASSERT_EQ(a.Excluir(), 0);
  EXPECT_EQ(a.Excluir(), 8);
  ASSERT_EQ(a.Ler(6), 0);
  EXPECT_EQ(a.Chave(1), "C");
  EXPECT_EQ(a.Ler(5, "B"), 4);
  ASSERT_EQ(a.Ler(12), 0);
  ASSERT_EQ(a.Ler(6), 0);
  EXPECT_EQ(a.Chave(1), "C");
}

TEST_F(Operacoes, TamanhosDeBufferCurtosAnswerStatusDoTamanho) {
  CriarPadrao();
  a.dados.assign(4096, ' ');
  a.tamanho = 63;
  EXPECT_EQ(a.Chamar(2), 22);
  ASSERT_EQ(a.Inserir(Reg("A", "", "")), 0);
  std::uint32_t t = 64;
  std::uint8_t k[5];
  EXPECT_EQ(motor::Chamar(12, a.bloco, a.dados.data(), &t, k, 5, 0), 21);
  t = 10;
  EXPECT_EQ(a.Ler(12), 0);
  a.tamanho = 10;
  EXPECT_EQ(a.Chamar(12), 22);
  EXPECT_EQ(a.Inserir(Reg("B", "", ""), 7), 6);
}

TEST_F(Operacoes, AutoIncrementoAtribuiOMaiorMaisUmAoValorZero) {
  auto e = Especificacao(16, 512, 1, {{1, 4, 256, 15}});
  ASSERT_EQ(ArquivoTeste::Criar(nome, e), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  std::string zero(4, '\0');
  ASSERT_EQ(a.Inserir(zero + Campo("um", 12)), 0);
  EXPECT_EQ(L32(a.dados.data()), 1u);
  std::string dez = std::string("\x0a\0\0\0", 4);
  ASSERT_EQ(a.Inserir(dez + Campo("dez", 12)), 0);
  ASSERT_EQ(a.Inserir(zero + Campo("onze", 12)), 0);
  EXPECT_EQ(L32(a.dados.data()), 11u);
  EXPECT_EQ(L32(a.chave), 11u);
  EXPECT_EQ(a.Inserir(dez + Campo("outro", 12)), 5);
  ASSERT_EQ(a.Ler(13), 0);
  EXPECT_EQ(a.Registro(8).substr(4), "onze");
}

TEST_F(Operacoes, ChavesInteirasEDescendentesOrdenamPeloValor) {
  auto e = Especificacao(8, 512, 2, {{1, 2, 256, 1}, {3, 2, 256 | 64 | 1, 0}});
  ASSERT_EQ(ArquivoTeste::Criar(nome, e), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  for (int v : {300, -5, 2}) {
    std::string r(8, ' ');
    r[0] = static_cast<char>(v & 0xFF);
    r[1] = static_cast<char>((v >> 8) & 0xFF);
    r[2] = static_cast<char>('a' + (v & 7));
    r[3] = 'x';
    ASSERT_EQ(a.Inserir(r), 0);
  }
  ASSERT_EQ(a.Ler(12), 0);
  EXPECT_EQ(static_cast<std::int16_t>(L16(a.dados.data())), -5);
  ASSERT_EQ(a.Ler(13), 0);
  EXPECT_EQ(L16(a.dados.data()), 300);
  ASSERT_EQ(a.Ler(12, "", 1), 0);  // descending: the greatest text first
  EXPECT_EQ(a.Registro(3)[2], 'e');  // 300 & 7 = 4
}

TEST_F(Operacoes, TransacaoAbortadaDesfazEFinalizadaConfirma) {
  CriarPadrao();
  std::uint8_t bloco[128];
  std::memset(bloco, ' ', sizeof bloco);
  std::uint32_t t = 0;
  auto trans = [&](int op) { return motor::Chamar(static_cast<std::uint16_t>(op), bloco, nullptr, &t, nullptr, 0, 0); };
  EXPECT_EQ(trans(20), 39);
  ASSERT_EQ(trans(19), 0);
  EXPECT_EQ(trans(1019), 37);
  ASSERT_EQ(a.Inserir(Reg("A", "", "")), 0);
  ASSERT_EQ(a.Ler(5, "A"), 0);  // the transaction sees its own insert
  ArquivoTeste outro;
  ASSERT_EQ(outro.Abrir(nome), 0);
  EXPECT_EQ(outro.Ler(5, "A"), 4);  // others do not, until the end
  EXPECT_EQ(outro.Inserir(Reg("Z", "", "")), 40);  // the transaction writes through one open only
  EXPECT_EQ(a.Fechar(), 41);
  ASSERT_EQ(trans(21), 0);
  EXPECT_EQ(a.Ler(5, "A"), 4);
  ASSERT_EQ(trans(1019), 0);
  ASSERT_EQ(a.Inserir(Reg("B", "", "")), 0);
  ASSERT_EQ(a.Inserir(Reg("C", "", "")), 0);
  ASSERT_EQ(trans(20), 0);
  EXPECT_EQ(outro.Ler(5, "B"), 0);
  EXPECT_EQ(outro.Ler(5, "C"), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

TEST_F(Operacoes, ProprietarioExigeONomeOuDaSomenteLeitura) {
  CriarPadrao();
  ASSERT_EQ(a.Inserir(Reg("A", "", "")), 0);
  std::string dono = "SEGREDO";
  auto definir = [&](int modo) {
    std::fill(a.dados.begin(), a.dados.end(), ' ');
    std::memcpy(a.dados.data(), dono.c_str(), dono.size() + 1);
    std::memcpy(a.chave, dono.c_str(), dono.size() + 1);
    a.tamanho = static_cast<std::uint32_t>(dono.size() + 1);
    return motor::Chamar(29, a.bloco, a.dados.data(), &a.tamanho, a.chave, 0, static_cast<std::int8_t>(modo));
  };
  ASSERT_EQ(definir(1), 0);
  EXPECT_EQ(definir(0), 50);
  ASSERT_EQ(a.Fechar(), 0);
  ASSERT_EQ(a.Abrir(nome), 0);  // mode 1: read-only without the name
  EXPECT_EQ(a.Ler(5, "A"), 0);
  EXPECT_EQ(a.Inserir(Reg("B", "", "")), 46);
  EXPECT_EQ(a.Chamar(30), 51);
  ASSERT_EQ(a.Fechar(), 0);
  ASSERT_EQ(a.Abrir(nome, 0, "SEGREDO"), 0);
  EXPECT_EQ(a.Inserir(Reg("B", "", "")), 0);
  EXPECT_EQ(a.Chamar(30), 0);
  ASSERT_EQ(a.Fechar(), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  EXPECT_EQ(a.Inserir(Reg("C", "", "")), 0);
  ASSERT_EQ(definir(0), 0);
  ASSERT_EQ(a.Fechar(), 0);
  EXPECT_EQ(a.Abrir(nome), 51);
  EXPECT_EQ(a.Abrir(nome, 0, "OUTRO"), 51);
}

TEST_F(Operacoes, IndiceSuplementarEConstruidoDosRegistrosEExcluido) {
  CriarPadrao();
  for (const char* k : {"A", "B", "C"}) ASSERT_EQ(a.Inserir(Reg(k, "", "", std::string("z") + k)), 0);
  std::vector<std::uint8_t> espec(1904, ' ');
  auto seg = Especificacao(64, 512, 1, {{21, 2, 0}});
  std::memcpy(espec.data(), seg.data() + 16, 16);
  std::uint32_t t = 1904;
  std::uint8_t k = 2 + 128;
  ASSERT_EQ(motor::Chamar(31, a.bloco, espec.data(), &t, &k, 1, 2), 0);
  ASSERT_EQ(a.Ler(13, "", 2), 0);
  EXPECT_EQ(a.Chave(2), "zC");
  a.tamanho = 1920;
  ASSERT_EQ(a.Chamar(15), 0);
  EXPECT_EQ(L16(a.dados.data() + 4), 3);
  // A unique index over repeated values is refused and leaves the file as it was.
  auto repetida = Especificacao(64, 512, 1, {{11, 5, 0}});
  std::memcpy(espec.data(), repetida.data() + 16, 16);
  k = 3 + 128;
  t = 1904;
  EXPECT_EQ(motor::Chamar(31, a.bloco, espec.data(), &t, &k, 1, 3), 5);
  t = 1904;
  ASSERT_EQ(motor::Chamar(32, a.bloco, espec.data(), &t, a.chave, 255, 2), 0);
  EXPECT_EQ(a.Ler(12, "", 2), 6);
  EXPECT_EQ(a.Ler(12, "", 1), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

TEST_F(Operacoes, VersaoPadraoEConfiguravel) {
  std::uint8_t v[5];
  std::uint32_t t = 5;
  std::uint8_t bloco[128];
  std::memset(bloco, ' ', sizeof bloco);
#ifdef _WIN32
  _putenv_s("TAV_BTRIEVE_VERSAO", "");
#else
  unsetenv("TAV_BTRIEVE_VERSAO");
#endif
  ASSERT_EQ(motor::Chamar(26, bloco, v, &t, nullptr, 0, 0), 0);
  EXPECT_EQ(L16(v), 7);
  EXPECT_EQ(L16(v + 2), 90);
#ifdef _WIN32
  _putenv_s("TAV_BTRIEVE_VERSAO", "8.60");
#else
  setenv("TAV_BTRIEVE_VERSAO", "8.60", 1);
#endif
  ASSERT_EQ(motor::Chamar(26, bloco, v, &t, nullptr, 0, 0), 0);
  EXPECT_EQ(L16(v), 8);
  EXPECT_EQ(L16(v + 2), 60);
  t = 4;
  EXPECT_EQ(motor::Chamar(26, bloco, v, &t, nullptr, 0, 0), 22);
#ifdef _WIN32
  _putenv_s("TAV_BTRIEVE_VERSAO", "");
#else
  unsetenv("TAV_BTRIEVE_VERSAO");
#endif
}

TEST_F(Operacoes, BlocoSemArquivoEOperacaoDesconhecida) {
  EXPECT_EQ(a.Ler(12), 3);
  EXPECT_EQ(a.Inserir("x"), 3);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("NADA.DAT")), 12);
  EXPECT_EQ(a.Abrir(""), 11);
  CriarPadrao();
  EXPECT_EQ(a.Chamar(99), 1);
  EXPECT_EQ(a.Chamar(2 + 500), 1);
}

TEST_F(Operacoes, ArquivosDanificadosOuEstranhosRespondemDoisOuTrinta) {
  CriarPadrao();
  for (int i = 0; i < 300; ++i) ASSERT_EQ(a.Inserir(Reg(std::to_string(i), "", "")), 0);
  ASSERT_EQ(a.Fechar(), 0);
  auto bytes = [&] {
    std::ifstream f(nome, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
  }();
  auto gravar = [&](const std::string& nomeArq, const std::string& conteudo) {
    std::ofstream f(pasta.Arquivo(nomeArq), std::ios::binary);
    f << conteudo;
  };
  gravar("VAZIO.DAT", "");
  gravar("TEXTO.DAT", "isto nao e um arquivo de registros\r\n");
  gravar("CURTO.DAT", bytes.substr(0, 5000));
  std::string cab = bytes;
  cab[70] ^= 0x55;
  gravar("CAB.DAT", cab);
  std::string soma = bytes;  // the header's checksum, just after the three segments
  soma[1056 + 8 * 3 + 1] ^= 0x01;
  gravar("SOMA.DAT", soma);
  std::string pag = bytes;
  for (std::size_t i = 4096 + 16; i < pag.size(); i += 97) pag[i] = static_cast<char>(0xFF);
  gravar("PAGINAS.DAT", pag);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("VAZIO.DAT")), 30);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("TEXTO.DAT")), 30);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("CURTO.DAT")), 2);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("CAB.DAT")), 2);
  EXPECT_EQ(a.Abrir(pasta.Arquivo("SOMA.DAT")), 2);
  ASSERT_EQ(a.Abrir(pasta.Arquivo("PAGINAS.DAT")), 0);  // opening reads the header only
  int st = 0;
  for (int i = 0; i < 300 && st == 0; ++i) st = a.Ler(i == 0 ? 12 : 6);
  EXPECT_EQ(st, 2);
  EXPECT_EQ(TavMotorVerificar(pasta.Arquivo("PAGINAS.DAT").c_str()), 2);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

TEST_F(Operacoes, AberturaLeSoOCabecalhoEBuscaTocaPoucasPaginas) {
  auto e = Especificacao(256, 4096, 1, {{1, 30, 0}});
  ASSERT_EQ(ArquivoTeste::Criar(nome, e), 0);
  ASSERT_EQ(a.Abrir(nome, -4), 0);
  std::uint8_t bloco[128];
  std::memset(bloco, ' ', sizeof bloco);
  std::uint32_t t = 0;
  ASSERT_EQ(motor::Chamar(19, bloco, nullptr, &t, nullptr, 0, 0), 0);
  const int n = 20000;
  for (int i = 0; i < n; ++i) ASSERT_EQ(a.Inserir(Campo(std::to_string(i * 7919 % n), 30) + Campo("", 226)), 0);
  ASSERT_EQ(motor::Chamar(20, bloco, nullptr, &t, nullptr, 0, 0), 0);
  ASSERT_EQ(a.Fechar(), 0);
  std::uint64_t bytes = 0, lidas = 0, visitadas = 0;
  TavMotorContadores(nullptr, nullptr, nullptr, 1);
  ASSERT_EQ(a.Abrir(nome), 0);
  TavMotorContadores(&bytes, &lidas, &visitadas, 1);
  EXPECT_LE(bytes, 2048u);  // the header's used part and its checksum
  ASSERT_EQ(a.Ler(5, Campo("12345", 30)), 0);
  TavMotorContadores(&bytes, &lidas, &visitadas, 1);
  EXPECT_LE(visitadas, 17u);  // log2(20000) + 2
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// 1 KiB records, three to a 4 KiB page: a keyed read fetches the blocks its searches
// touch, well under the pages it visits.
TEST_F(Operacoes, LeituraPorChaveBuscaSoOsBlocosQueAsBuscasTocam) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(1024, 1024, 1, {{1, 20, 0}})), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  auto chave = [](int i) { return Campo(std::string(1, 'R').append(std::to_string(i * 7 % 3000)), 20); };
  auto registro = [&](int i) { return chave(i) + Campo(std::to_string(i), 1004); };
  ASSERT_EQ(a.Chamar(19), 0);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(a.Inserir(registro(i)), 0);
  ASSERT_EQ(a.Chamar(20), 0);
  ASSERT_EQ(a.Fechar(), 0);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(nome), 0);
  std::uint64_t bytes = 0, lidas = 0, totalBytes = 0, totalLidas = 0;
  for (int i : {0, 1234, 2999, 1235}) {
    TavMotorContadores(nullptr, nullptr, nullptr, 1);
    ASSERT_EQ(b.Ler(5, chave(i)), 0);
    TavMotorContadores(&bytes, &lidas, nullptr, 1);
    EXPECT_EQ(b.Registro(1024), registro(i));
    totalBytes += bytes;
    totalLidas += lidas;
  }
  // Whole pages would be 4096 bytes for each page read, and more for the blocks added to
  // pages already present.
  EXPECT_GE(totalLidas, 8u);
  EXPECT_LT(totalBytes, 4096u * totalLidas * 3 / 4);
  // A key of the same leaf, read again from blocks already present and new ones.
  ASSERT_EQ(b.Ler(6), 0);
  EXPECT_EQ(b.Registro(20), Campo("R2646", 20));  // key 1235 is "R2645"
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// Searches that go through pages of which only some blocks are in memory (a fresh open now
// and then, so that each starts from other blocks) find what a sorted model finds.
TEST_F(Operacoes, BuscasEmPaginasLidasEmPartesConferemComUmModelo) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(100, 1024, 1, {{1, 10, 0}})), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  auto chave = [](int v) {
    std::string s = std::to_string(v);
    return std::string(10 - s.size(), '0') + s;
  };
  std::set<int> modelo;
  std::mt19937 rng(11);
  ASSERT_EQ(a.Chamar(19), 0);
  for (int i = 0; i < 6000; ++i) {
    const int v = 2 * static_cast<int>(rng() % 20000);  // even values: odd probes fall between
    if (!modelo.insert(v).second) continue;
    ASSERT_EQ(a.Inserir(Campo(chave(v), 100)), 0);
  }
  ASSERT_EQ(a.Chamar(20), 0);
  ASSERT_EQ(a.Fechar(), 0);
  ArquivoTeste b;
  for (int passo = 0; passo < 3000; ++passo) {
    if (passo % 7 == 0) {
      b.Fechar();
      ASSERT_EQ(b.Abrir(nome), 0);
    }
    const int sonda = static_cast<int>(rng() % 40002);
    const int op = 5 + static_cast<int>(rng() % 7);  // 5 equal, 6 next, 7 previous, 8-11 greater/less
    std::set<int>::iterator esperado;
    if (op == 5) esperado = modelo.find(sonda);
    else if (op == 8) esperado = modelo.upper_bound(sonda);
    else if (op == 9) esperado = modelo.lower_bound(sonda);
    else if (op == 10 || op == 11) {
      esperado = op == 10 ? modelo.lower_bound(sonda) : modelo.upper_bound(sonda);
      esperado = esperado == modelo.begin() ? modelo.end() : std::prev(esperado);
    } else {
      // Next or previous from an entry reached by Get Equal in this open.
      const int inicio = *std::next(modelo.begin(), static_cast<long>(rng() % modelo.size()));
      ASSERT_EQ(b.Ler(5, chave(inicio)), 0);
      esperado = modelo.find(inicio);
      esperado = op == 6 ? std::next(esperado) : (esperado == modelo.begin() ? modelo.end() : std::prev(esperado));
    }
    const int st = op == 6 || op == 7 ? b.Ler(op) : b.Ler(op, chave(sonda));
    if (esperado == modelo.end()) {
      EXPECT_EQ(st, op == 5 ? 4 : 9) << "op " << op << " sonda " << sonda;
    } else {
      ASSERT_EQ(st, 0) << "op " << op << " sonda " << sonda;
      EXPECT_EQ(b.Chave(10), chave(*esperado)) << "op " << op << " sonda " << sonda;
    }
  }
}

// Blocks read by one open before another open's commit are not mixed with what came after.
TEST_F(Operacoes, BlocosLidosAntesDeUmaConfirmacaoDeOutraAberturaSaoDescartados) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(1024, 1024, 1, {{1, 10, 0}})), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  auto registro = [](const std::string& k, const std::string& v) { return Campo(k, 10) + Campo(v, 1014); };
  for (const char* k : {"A", "B", "C"}) ASSERT_EQ(a.Inserir(registro(k, "velho")), 0);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(nome), 0);
  ASSERT_EQ(b.Ler(5, Campo("A", 10)), 0);  // b holds blocks of the only leaf
  ASSERT_EQ(a.Ler(5, Campo("C", 10)), 0);
  ASSERT_EQ(a.Alterar(registro("C", "novo C")), 0);
  ASSERT_EQ(a.Ler(5, Campo("B", 10)), 0);
  ASSERT_EQ(a.Alterar(registro("B", "novo B")), 0);
  ASSERT_EQ(b.Ler(6), 0);
  EXPECT_EQ(b.Registro(1024), registro("B", "novo B"));
  ASSERT_EQ(b.Ler(5, Campo("C", 10)), 0);
  EXPECT_EQ(b.Registro(1024), registro("C", "novo C"));
  ASSERT_EQ(b.Ler(5, Campo("A", 10)), 0);
  ASSERT_EQ(b.Alterar(registro("A", "novo A")), 0);
  ASSERT_EQ(a.Ler(12), 0);
  EXPECT_EQ(a.Registro(1024), registro("A", "novo A"));
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// Another open's commits that change only leaves leave the internal pages in the reader's
// cache: its next lookup reads fewer pages than a new open does; a commit that splits pages
// drops them.
TEST_F(Operacoes, PaginasInternasFicamQuandoOutraAberturaSoMudaFolhas) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(100, 1024, 1, {{1, 10, 0}})), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  auto chave = [](int i) { return Campo(Rotulo("R", i), 10); };
  ASSERT_EQ(a.Chamar(19), 0);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(a.Inserir(chave(i * 7 % 3000) + Campo("v0", 90)), 0);
  ASSERT_EQ(a.Chamar(20), 0);
  ArquivoTeste leitor;
  ASSERT_EQ(leitor.Abrir(nome), 0);
  ASSERT_EQ(leitor.Ler(5, chave(10)), 0);
  auto paginasLidas = [&](ArquivoTeste& quem, int i) {
    std::uint64_t lidas = 0;
    TavMotorContadores(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(quem.Ler(5, chave(i)), 0);
    TavMotorContadores(nullptr, &lidas, nullptr, 1);
    return lidas;
  };
  ASSERT_EQ(a.Ler(5, chave(20)), 0);
  ASSERT_EQ(a.Alterar(chave(20) + Campo("v1", 90)), 0);  // one leaf
  leitor.tamanho = 1920;
  ASSERT_EQ(leitor.Chamar(15), 0);  // a call that meets the commit
  auto numaAberturaNova = [&](int i) {
    ArquivoTeste novo;
    EXPECT_EQ(novo.Abrir(nome), 0);
    const std::uint64_t lidas = paginasLidas(novo, i);
    novo.Fechar();
    return lidas;
  };
  const std::uint64_t depoisDeFolha = paginasLidas(leitor, 2990);
  EXPECT_LT(depoisDeFolha, numaAberturaNova(2990));
  for (int i = 3000; i < 3100; ++i) ASSERT_EQ(a.Inserir(chave(i) + Campo("v0", 90)), 0);  // splits
  leitor.tamanho = 1920;
  ASSERT_EQ(leitor.Chamar(15), 0);
  EXPECT_EQ(paginasLidas(leitor, 1500), numaAberturaNova(1500));
}

// A reader keeps internal pages across another open's commits; whatever those commits do,
// its lookups find what an ordered model holds.
TEST_F(Operacoes, LeitorComPaginasRetidasConfereComUmModeloEnquantoOutroGrava) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(100, 1024, 1, {{1, 10, 0}})), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  ArquivoTeste leitor;
  ASSERT_EQ(leitor.Abrir(nome), 0);
  std::map<std::string, std::string> modelo;
  std::mt19937 rng(5);
  for (int passo = 0; passo < 4000; ++passo) {
    const std::string k = Campo(std::to_string(rng() % 2000), 10);
    const std::string reg = k + Campo(std::to_string(passo), 90);
    if (rng() % 3 != 0 || modelo.empty()) {
      if (modelo.count(k)) {
        ASSERT_EQ(a.Ler(5, k), 0);
        ASSERT_EQ(rng() % 4 == 0 ? a.Excluir() : a.Alterar(reg), 0);
        if (a.Ler(5, k) == 0) modelo[k] = a.Registro(100);
        else modelo.erase(k);
      } else {
        ASSERT_EQ(a.Inserir(reg), 0);
        modelo[k] = reg;
      }
    }
    const std::string sonda = Campo(std::to_string(rng() % 2000), 10);
    auto esperado = modelo.lower_bound(sonda);
    const int st = leitor.Ler(9, sonda);
    if (esperado == modelo.end()) {
      ASSERT_EQ(st, 9) << passo;
      continue;
    }
    ASSERT_EQ(st, 0) << passo;
    ASSERT_EQ(leitor.Registro(100), esperado->second) << passo;
    if (std::next(esperado) != modelo.end()) {
      ASSERT_EQ(leitor.Ler(6), 0) << passo;
      ASSERT_EQ(leitor.Registro(100), std::next(esperado)->second) << passo;
    }
  }
}

// Thirty keys: the header's used part goes past its first read.
TEST_F(Operacoes, CabecalhoComMuitosSegmentosELidoInteiroEConferido) {
  std::vector<SegmentoTeste> segs;
  for (std::uint16_t k = 0; k < 30; ++k) segs.push_back({static_cast<std::uint16_t>(1 + 2 * k), 2, 1});
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 30, segs)), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  std::string r;
  for (int k = 0; k < 30; ++k) r += static_cast<char>('a' + k % 26), r += static_cast<char>('0' + k / 26);
  ASSERT_EQ(a.Inserir(Campo(r, 64)), 0);
  ASSERT_EQ(a.Fechar(), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  ASSERT_EQ(a.Ler(5, r.substr(58, 2), 29), 0);
  EXPECT_EQ(a.Registro(64), Campo(r, 64));
  ASSERT_EQ(a.Fechar(), 0);
  std::string bytes;
  {
    std::ifstream f(nome, std::ios::binary);
    bytes.assign((std::istreambuf_iterator<char>(f)), {});
  }
  bytes[1056 + 8 * 29 + 2] ^= 0x01;  // the last segment's length, beyond the first read
  std::ofstream(nome, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_EQ(a.Abrir(nome), 2);
}

TEST_F(Operacoes, PaginasEsvaziadasVoltamParaUsoEOArquivoNaoCresce) {
  CriarPadrao();
  auto ciclo = [&](int base) {
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(a.Inserir(Reg(std::to_string(base + i), std::to_string(i % 13), "")), 0);
    for (int i = 0; i < 3000; ++i) {
      ASSERT_EQ(a.Ler(12), 0);
      ASSERT_EQ(a.Excluir(), 0);
    }
    EXPECT_EQ(a.Ler(12), 9);
    EXPECT_EQ(a.Ler(13, "", 1), 9);
  };
  ciclo(100000);
  auto depoisDoPrimeiro = std::filesystem::file_size(nome);
  ciclo(200000);
  ciclo(300000);
  EXPECT_LE(std::filesystem::file_size(nome), depoisDoPrimeiro + 16384);
  ASSERT_EQ(a.Inserir(Reg("fim", "", "")), 0);
  EXPECT_EQ(a.Ler(12), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// Random inserts, updates and deletes against an ordered map of what the file must hold.
TEST_F(Operacoes, SequenciaAleatoriaConfereComUmModelo) {
  auto e = Especificacao(40, 512, 2, {{1, 8, 0}, {9, 6, 1 | 2}});
  ASSERT_EQ(ArquivoTeste::Criar(nome, e), 0);
  ASSERT_EQ(a.Abrir(nome), 0);
  std::mt19937 rng(7);
  std::map<std::string, std::string> modelo;
  for (int passo = 0; passo < 6000; ++passo) {
    std::string k = Campo(std::to_string(rng() % 1500), 8);
    std::string reg = k + Campo(std::to_string(rng() % 50), 6) + Campo(std::to_string(passo), 26);
    int acao = static_cast<int>(rng() % (passo < 4000 ? 3 : 4));  // more deletes at the end
    if (acao == 3) acao = 2;
    if (acao == 0) {
      int st = a.Inserir(reg);
      ASSERT_EQ(st, modelo.count(k) ? 5 : 0);
      if (st == 0) modelo[k] = reg;
    } else if (modelo.count(k)) {
      ASSERT_EQ(a.Ler(5, k), 0);
      if (acao == 1) {
        ASSERT_EQ(a.Alterar(reg), 0);
        modelo[k] = reg;
      } else {
        ASSERT_EQ(a.Excluir(), 0);
        modelo.erase(k);
      }
    } else {
      ASSERT_EQ(a.Ler(5, k), 4);
    }
  }
  auto it = modelo.begin();
  for (int st = a.Ler(12); st == 0; st = a.Ler(6), ++it) {
    ASSERT_NE(it, modelo.end());
    EXPECT_EQ(a.Registro(40), it->second);
  }
  EXPECT_EQ(it, modelo.end());
  auto rit = modelo.rbegin();
  for (int st = a.Ler(13); st == 0; st = a.Ler(7), ++rit) EXPECT_EQ(a.Registro(40), rit->second);
  EXPECT_EQ(rit, modelo.rend());
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

}  // namespace
}  // namespace tavoran::testes
