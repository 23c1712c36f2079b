// Start-up time of TAVORAN.EXE against a trivial MinGW program, started the same way in
// the same run: from CreateProcess to the first visible top-level window of the process.
// Arguments: <runs> <TAVORAN.EXE> <trivial program>. Prints the figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Busca {
  DWORD id;
  bool achou;
};

BOOL CALLBACK VerJanela(HWND h, LPARAM l) {
  auto* b = reinterpret_cast<Busca*>(l);
  DWORD dono = 0;
  GetWindowThreadProcessId(h, &dono);
  if (dono == b->id && IsWindowVisible(h)) {
    b->achou = true;
    return FALSE;
  }
  return TRUE;
}

double AgoraMs() {
  static LARGE_INTEGER frequencia = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(frequencia.QuadPart);
}

// Milliseconds to the first visible window, or a negative value when none came.
double MedirUma(const std::string& programa) {
  std::string linha = "\"" + programa + "\"";
  const std::string pasta = programa.substr(0, programa.rfind('\\'));
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double inicio = AgoraMs();
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, pasta.c_str(), &si, &pi)) return -1;
  double tempo = -1;
  while (AgoraMs() - inicio < 20000) {
    Busca b{pi.dwProcessId, false};
    EnumWindows(VerJanela, reinterpret_cast<LPARAM>(&b));
    if (b.achou) {
      tempo = AgoraMs() - inicio;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  // The next run must not meet this one (a second copy would end without a window).
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return tempo;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "uso: MedirInicio <vezes> <TAVORAN.EXE> <programa trivial>\n");
    return 2;
  }
  const int vezes = std::max(1, std::atoi(argv[1]));
  std::vector<double> tavoran, trivial;
  int falhas = 0;
  MedirUma(argv[3]);  // warm-up: the first start of any program loads Wine's libraries
  for (int i = 0; i < vezes; ++i) {
    const double a = MedirUma(argv[2]), b = MedirUma(argv[3]);
    if (a < 0 || b < 0) {
      ++falhas;
      continue;
    }
    tavoran.push_back(a);
    trivial.push_back(b);
    std::printf("run %2d: TAVORAN.EXE %7.1f ms   trivial %7.1f ms\n", i + 1, a, b);
  }
  if (tavoran.empty()) {
    std::printf("no run showed a window (%d failures)\n", falhas);
    return 1;
  }
  const double mt = Mediana(tavoran), mv = Mediana(trivial);
  std::printf("\nprocess start to window shown, median of %zu runs (%d without a window):\n", tavoran.size(), falhas);
  std::printf("  TAVORAN.EXE      %7.1f ms  (min %.1f, max %.1f)\n", mt, *std::min_element(tavoran.begin(), tavoran.end()),
              *std::max_element(tavoran.begin(), tavoran.end()));
  std::printf("  trivial program  %7.1f ms  (min %.1f, max %.1f)\n", mv, *std::min_element(trivial.begin(), trivial.end()),
              *std::max_element(trivial.begin(), trivial.end()));
  std::printf("  ratio %.2f, difference %+.1f ms (target: at most +100 ms)\n", mt / mv, mt - mv);
  return 0;
}
