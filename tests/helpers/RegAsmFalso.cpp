// Stand-in for RegAsm: records its command line as the other stand-ins do, and for a
// registration writes the type library that "/tlb:<file>" names. TAV_REGASM_ATRASO_MS makes a
// helper copy of itself write it that long after this process ended (the framework writes it
// late); TAV_REGASM_SEM_TLB makes it write none (a registration that never takes).
#include <windows.h>

#include <string>

#include "tests/helpers/MarcaTempo.h"

namespace {

std::string Variavel(const char* nome) {
  char valor[64] = {};
  const DWORD n = GetEnvironmentVariableA(nome, valor, sizeof valor);
  return n > 0 && n < sizeof valor ? std::string(valor, n) : std::string();
}

// The path after "/tlb:", up to the next blank.
std::string TypeLib(const std::string& linha) {
  const auto p = linha.find("/tlb:");
  if (p == std::string::npos) return {};
  const auto fim = linha.find(' ', p);
  return linha.substr(p + 5, fim == std::string::npos ? std::string::npos : fim - p - 5);
}

void Escrever(const std::string& arquivo) {
  HANDLE h = CreateFileA(arquivo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD escritos = 0;
  WriteFile(h, "MSFT", 4, &escritos, nullptr);
  CloseHandle(h);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string linha = GetCommandLineA();
  const std::string marca = " --escrever-depois ";
  if (const auto p = linha.find(marca); p != std::string::npos) {
    Sleep(static_cast<DWORD>(std::stoul(Variavel("TAV_REGASM_ATRASO_MS"))));
    Escrever(linha.substr(p + marca.size()));
    return 0;
  }
  std::string registro = Variavel("TAV_REGISTRO_COMANDOS");
  if (registro.empty()) registro = "regasm.txt";
  tavoran::testes::AcrescentarLinha(registro, tavoran::testes::NomeDoProprioPrograma() + "|" + linha + "\r\n");
  const std::string typeLib = TypeLib(linha);
  if (typeLib.empty() || linha.find(" /u ") != std::string::npos || !Variavel("TAV_REGASM_SEM_TLB").empty()) return 0;
  if (Variavel("TAV_REGASM_ATRASO_MS").empty()) {
    Escrever(typeLib);
    return 0;
  }
  char proprio[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, proprio, MAX_PATH);
  std::string filho(1, '"');
  filho.append(proprio).append(1, '"').append(marca).append(typeLib);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, filho.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return 0;
}
