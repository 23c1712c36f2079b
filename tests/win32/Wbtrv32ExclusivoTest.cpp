// wbtrv32.dll between two Windows processes: the undecorated BTRCALL export, and an
// exclusive open that answers 88 to the other process in both directions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

using Btrcall = short(__stdcall*)(unsigned short, void*, void*, unsigned long*, void*, unsigned char, char);

Btrcall CarregarBtrcall() {
  HMODULE m = LoadLibraryA("wbtrv32.dll");
  if (m == nullptr) return nullptr;
  return reinterpret_cast<Btrcall>(reinterpret_cast<void*>(GetProcAddress(m, "BTRCALL")));
}

std::string Ambiente(const char* nome) {
  char buf[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA(nome, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

struct Aberto {
  unsigned char bloco[128];
  short status;
};

Aberto Abrir(Btrcall b, const std::string& arquivo, int modo) {
  Aberto a{};
  std::memset(a.bloco, ' ', sizeof a.bloco);
  char dados[256];
  std::memset(dados, ' ', sizeof dados);
  dados[255] = '\0';
  unsigned long tam = 255;
  std::string chave = arquivo + '\0';
  a.status = b(0, a.bloco, dados, &tam, chave.data(), static_cast<unsigned char>(arquivo.size()),
               static_cast<char>(modo));
  return a;
}

void Fechar(Btrcall b, Aberto& a) {
  char dados[255], chave[255];
  unsigned long tam = 255;
  b(1, a.bloco, dados, &tam, chave, 255, 0);
}

bool Esperar(const std::string& arquivo, DWORD limiteMs) {
  for (DWORD t = 0; t < limiteMs; t += 20) {
    if (GetFileAttributesA(arquivo.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(20);
  }
  return false;
}

// The other process: this same program, running only the holder case below.
class OutroProcesso {
 public:
  OutroProcesso(const std::string& pasta, const std::string& arquivo, int modo, int n)
      : pronto_(pasta + "\\pronto" + std::to_string(n)), fim_(pasta + "\\fim" + std::to_string(n)) {
    // Wine reuses process ids, so the folder may hold the signals of an earlier run.
    DeleteFileA(pronto_.c_str());
    DeleteFileA(fim_.c_str());
    SetEnvironmentVariableA("TAV_SEGURADOR_ARQUIVO", arquivo.c_str());
    SetEnvironmentVariableA("TAV_SEGURADOR_MODO", std::to_string(modo).c_str());
    SetEnvironmentVariableA("TAV_SEGURADOR_PRONTO", pronto_.c_str());
    SetEnvironmentVariableA("TAV_SEGURADOR_FIM", fim_.c_str());
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string linha = std::string("\"") + exe + "\" --gtest_filter=Wbtrv32Segurador.*";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    criado_ = CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != 0;
    SetEnvironmentVariableA("TAV_SEGURADOR_ARQUIVO", nullptr);
  }
  ~OutroProcesso() {
    if (criado_) {
      TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hThread);
      CloseHandle(pi_.hProcess);
    }
  }
  // The status of the other process's open, once it has opened.
  int Status() {
    if (!criado_ || !Esperar(pronto_, 60000)) return -1;
    std::ifstream f(pronto_);
    int st = -1;
    f >> st;
    return st;
  }
  bool Fechar() {
    std::ofstream(fim_) << "fim";
    return WaitForSingleObject(pi_.hProcess, 60000) == WAIT_OBJECT_0;
  }
  bool Matar() {
    TerminateProcess(pi_.hProcess, 9);
    return WaitForSingleObject(pi_.hProcess, 60000) == WAIT_OBJECT_0;
  }

 private:
  std::string pronto_, fim_;
  PROCESS_INFORMATION pi_{};
  bool criado_ = false;
};

TEST(Wbtrv32Segurador, AbreEEsperaOFim) {
  std::string arquivo = Ambiente("TAV_SEGURADOR_ARQUIVO");
  if (arquivo.empty()) GTEST_SKIP() << "run only as the other process of the exclusive-open test";
  Btrcall b = CarregarBtrcall();
  ASSERT_NE(b, nullptr);
  Aberto a = Abrir(b, arquivo, std::stoi(Ambiente("TAV_SEGURADOR_MODO")));
  std::string pronto = Ambiente("TAV_SEGURADOR_PRONTO");
  std::string tmp = pronto + ".tmp";
  { std::ofstream(tmp) << a.status; }
  MoveFileA(tmp.c_str(), pronto.c_str());
  Esperar(Ambiente("TAV_SEGURADOR_FIM"), 120000);
  if (a.status == 0) Fechar(b, a);
}

TEST(Wbtrv32, ExclusivoENormalEntreDoisProcessos) {
  Btrcall b = CarregarBtrcall();
  ASSERT_NE(b, nullptr) << "wbtrv32.dll must export the undecorated name BTRCALL";
  char tmp[MAX_PATH] = {};
  GetTempPathA(sizeof tmp, tmp);
  std::string pasta = std::string(tmp) + "tavwbtrv" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(pasta.c_str(), nullptr);
  std::string arquivo = pasta + "\\RYXTESTE.BLQ";
  DeleteFileA(arquivo.c_str());  // Wine reuses process ids: a file of an earlier run may be there
  unsigned char espec[32] = {};
  espec[0] = 64;       // record length
  espec[3] = 4;        // page size 1024
  espec[4] = 1;        // one key
  espec[16] = 1;       // position 1
  espec[18] = 10;      // length 10
  unsigned char bloco[128];
  std::memset(bloco, ' ', sizeof bloco);
  unsigned long tam = sizeof espec;
  ASSERT_EQ(b(14, bloco, espec, &tam, arquivo.data(), static_cast<unsigned char>(arquivo.size()), -1), 0);
  tam = sizeof espec;
  EXPECT_EQ(b(14, bloco, espec, &tam, arquivo.data(), static_cast<unsigned char>(arquivo.size()), -1), 59);

  {
    OutroProcesso exclusivo(pasta, arquivo, -4, 1);
    ASSERT_EQ(exclusivo.Status(), 0);
    EXPECT_EQ(Abrir(b, arquivo, 0).status, 88);
    EXPECT_EQ(Abrir(b, arquivo, -4).status, 88);
    ASSERT_TRUE(exclusivo.Fechar());
  }
  Aberto normal = Abrir(b, arquivo, 0);
  ASSERT_EQ(normal.status, 0);
  {
    OutroProcesso outro(pasta, arquivo, -4, 2);
    EXPECT_EQ(outro.Status(), 88);  // a normal open keeps an exclusive one out
    outro.Fechar();
  }
  {
    OutroProcesso outro(pasta, arquivo, 0, 3);
    EXPECT_EQ(outro.Status(), 0);
    outro.Fechar();
  }
  Fechar(b, normal);
  {
    OutroProcesso exclusivo(pasta, arquivo, -4, 4);
    ASSERT_EQ(exclusivo.Status(), 0);
    EXPECT_EQ(Abrir(b, arquivo, 0).status, 88);
    ASSERT_TRUE(exclusivo.Matar());  // a terminated holder's handles close with it
  }
  Aberto depois = Abrir(b, arquivo, -4);
  EXPECT_EQ(depois.status, 0);
  if (depois.status == 0) Fechar(b, depois);
}

}  // namespace
