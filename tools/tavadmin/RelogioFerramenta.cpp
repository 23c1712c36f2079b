#include "tools/tavadmin/RelogioFerramenta.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace tavoran::tavadmin {

DataHora RelogioFerramenta::Agora() {
  const std::time_t agora = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &agora);
#else
  localtime_r(&agora, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

long long RelogioFerramenta::Milissegundos() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void RelogioFerramenta::Dormir(unsigned milissegundos) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milissegundos));
}

}  // namespace tavoran::tavadmin
