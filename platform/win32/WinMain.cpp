// TAVORAN.EXE: the real Windows environment handed to the program entry.
#include <windows.h>
#include <objbase.h>

#include "platform/win32/AmbienteWindows.h"
#include "startup/mdlInicial.h"

namespace {

// The user-interface thread is a single-threaded COM apartment for the whole run.
class ApartamentoCom {
 public:
  ApartamentoCom() : iniciado_(SUCCEEDED(CoInitialize(nullptr))) {}
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;
  ~ApartamentoCom() {
    if (iniciado_) CoUninitialize();
  }

 private:
  bool iniciado_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ApartamentoCom com;
  int codigo = 1;
  try {
    auto ambiente = tavoran::CriarAmbienteWindows();
    codigo = tavoran::Main(*ambiente);
  } catch (...) {
    // Main reports its own failures; this only keeps an escaped one from aborting noisily.
  }
  return codigo;
}
