#pragma once
// Benchmarks: a stand-in or the trivial program appends "<its file name> <moment> <creation>"
// and CR LF to the file that TAV_REGISTRO_TEMPOS names: the moment it records (a stand-in's
// start, the end of the trivial program's work) and when its process was created (when its
// parent asked for it), in nanoseconds since 1970 from the system clock. Wine takes that
// clock from the host's real-time clock, so a script compares them with `date +%s%N` taken
// before it started a program.
#include <windows.h>

#include <cstdint>
#include <string>

namespace tavoran::testes {

inline std::int64_t UnixNs(const FILETIME& ft) {
  const std::uint64_t v = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return (static_cast<std::int64_t>(v) - 116444736000000000LL) * 100;
}

// The time now, in nanoseconds since 1970 (the precise clock where Windows has it).
inline std::int64_t AgoraUnixNs() {
  using Precisa = void(WINAPI*)(LPFILETIME);
  static const auto precisa = reinterpret_cast<Precisa>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME ft{};
  if (precisa != nullptr) precisa(&ft);
  else GetSystemTimeAsFileTime(&ft);
  return UnixNs(ft);
}

inline std::int64_t CriacaoDoProcessoUnixNs() {
  FILETIME criacao{}, fim{}, nucleo{}, usuario{};
  if (!GetProcessTimes(GetCurrentProcess(), &criacao, &fim, &nucleo, &usuario)) return 0;
  return UnixNs(criacao);
}

// This program's file name, without its folder.
inline std::string NomeDoProprioPrograma() {
  char proprio[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, proprio, MAX_PATH);
  const std::string caminho = proprio;
  return caminho.substr(caminho.rfind('\\') + 1);
}

// Appends a line; several programs may write at once, so it retries while another holds
// the file. False when it never got the file.
inline bool AcrescentarLinha(const std::string& arquivo, const std::string& linha) {
  for (int tentativa = 0; tentativa < 200; ++tentativa) {
    HANDLE h = CreateFileA(arquivo.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD escritos = 0;
      WriteFile(h, linha.data(), static_cast<DWORD>(linha.size()), &escritos, nullptr);
      CloseHandle(h);
      return true;
    }
    Sleep(20);
  }
  return false;
}

// Appends the line for a time taken earlier; nothing when the variable is not set.
inline void GravarMarcaTempo(std::int64_t unixNs) {
  std::string arquivo(MAX_PATH, '\0');
  const DWORD n = GetEnvironmentVariableA("TAV_REGISTRO_TEMPOS", arquivo.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  arquivo.resize(n);
  AcrescentarLinha(arquivo, NomeDoProprioPrograma() + " " + std::to_string(unixNs) + " " +
                                std::to_string(CriacaoDoProcessoUnixNs()) + "\r\n");
}

}  // namespace tavoran::testes
