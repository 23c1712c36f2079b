#include "platform/win32/ApartamentoCom.h"

#include <windows.h>
#include <objbase.h>

namespace tavoran {

ApartamentoCom::ApartamentoCom() : iniciado_(SUCCEEDED(CoInitialize(nullptr))) {}

ApartamentoCom::~ApartamentoCom() {
  if (iniciado_) CoUninitialize();
}

}  // namespace tavoran
