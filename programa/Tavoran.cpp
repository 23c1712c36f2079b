// TAVORAN.EXE: the real Windows environment handed to the program entry. A window program
// (linked with -mwindows) whose runtime calls main.
#include "platform/win32/AmbienteWindows.h"
#include "platform/win32/ApartamentoCom.h"
#include "platform/win32/PastasEspeciaisWin32.h"
#include "startup/mdlInicial.h"

int main() {
  // The shell's folder table is read on a second thread while the apartment and the window start.
  auto pastasEspeciais = std::make_unique<tavoran::win32::PastasEspeciaisWin32>();
  tavoran::ApartamentoCom com;
  int codigo = 1;
  try {
    auto ambiente = tavoran::CriarAmbienteWindows(std::move(pastasEspeciais));
    codigo = tavoran::Main(*ambiente);
  } catch (...) {
    // Main reports its own failures; this only keeps an escaped one from aborting noisily.
  }
  return codigo;
}
