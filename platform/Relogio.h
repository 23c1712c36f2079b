#pragma once
// Clock facility: local time of the workstation.
#include <string>

namespace tavoran {

struct DataHora {
  int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
  bool Vazia() const { return ano == 0; }
  bool operator==(const DataHora&) const = default;
};

// "YYYY-MM-DD hh:mm:ss", the date format of the reports.
std::string FormatarDataHoraRelatorio(const DataHora& d);
// "YYYY-MM-DD_hh-mm-ss", the stamp in report file names.
std::string FormatarCarimboArquivo(const DataHora& d);

class IRelogio {
 public:
  virtual ~IRelogio() = default;
  virtual DataHora Agora() = 0;
  // Milliseconds of a monotonic clock, for time limits.
  virtual long long Milissegundos() = 0;
  // Suspends the calling thread (Sleep).
  virtual void Dormir(unsigned milissegundos) = 0;
};

}  // namespace tavoran
