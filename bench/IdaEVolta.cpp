// make bench-dia: what one wake-up round trip between two processes costs on this machine,
// with both on one processor and with each on a processor of its own. Wine pays one for each
// request a program makes to its server, so this figure scales the daily start's times.
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>

namespace {

constexpr int kRodadas = 5000;

bool Fixar(int processador) {
  cpu_set_t conjunto;
  CPU_ZERO(&conjunto);
  CPU_SET(processador, &conjunto);
  return sched_setaffinity(0, sizeof conjunto, &conjunto) == 0;
}

// Microseconds per round trip of one byte through two pipes, the echo running on the
// processor given and this process on processor 0; nothing when the machine refuses.
std::optional<double> IdaEVolta(int processadorDoEco) {
  int ida[2], volta[2];
  if (pipe(ida) != 0) return std::nullopt;
  if (pipe(volta) != 0) {
    close(ida[0]);
    close(ida[1]);
    return std::nullopt;
  }
  const pid_t eco = fork();
  if (eco == 0) {
    close(ida[1]);  // so that the end of the parent's writes ends the echo
    close(volta[0]);
    char c;
    if (!Fixar(processadorDoEco)) _exit(1);
    while (read(ida[0], &c, 1) == 1 && write(volta[1], &c, 1) == 1) {
    }
    _exit(0);
  }
  std::optional<double> micros;
  char c = 0;
  if (eco > 0 && Fixar(0) && write(ida[1], &c, 1) == 1 && read(volta[0], &c, 1) == 1) {
    const auto inicio = std::chrono::steady_clock::now();
    int i = 0;
    while (i < kRodadas && write(ida[1], &c, 1) == 1 && read(volta[0], &c, 1) == 1) ++i;
    const std::chrono::duration<double, std::micro> gasto = std::chrono::steady_clock::now() - inicio;
    if (i == kRodadas) micros = gasto.count() / kRodadas;
  }
  for (int fim : {ida[0], ida[1], volta[0], volta[1]}) close(fim);  // the echo reads the end and ends
  if (eco > 0) waitpid(eco, nullptr, 0);
  return micros;
}

}  // namespace

int main() {
  signal(SIGPIPE, SIG_IGN);  // an echo that could not take its processor ends early: a failed write
  const std::optional<double> um = IdaEVolta(0), dois = IdaEVolta(1);
  std::printf("Wake-up round trip between two processes: ");
  if (um) std::printf("%.0f us on one processor", *um);
  if (um && dois) std::printf(", ");
  if (dois) std::printf("%.0f us on two", *dois);
  if (!um && !dois) std::printf("not measured");
  std::printf("\n");
  return 0;
}
