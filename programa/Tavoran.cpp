// TAVORAN.EXE: the real Windows environment handed to the program entry. A window program
// (linked with -mwindows) whose runtime calls main.
#include "platform/win32/AmbienteWindows.h"
#include "platform/win32/ApartamentoCom.h"
#include "startup/mdlInicial.h"

int main() {
  tavoran::ApartamentoCom com;
  int codigo = 1;
  try {
    auto ambiente = tavoran::CriarAmbienteWindows();
    codigo = tavoran::Main(*ambiente);
  } catch (...) {
    // Main reports its own failures; this only keeps an escaped one from aborting noisily.
  }
  return codigo;
}
