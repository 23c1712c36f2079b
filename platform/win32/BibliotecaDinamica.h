#pragma once
// A system library loaded at run time and its functions looked up by name, so that the
// program needs no import of libraries that a workstation (or Wine) may lack.
#include <windows.h>

#include <string>

namespace tavoran::win32 {

class BibliotecaDinamica {
 public:
  explicit BibliotecaDinamica(const char* nome) : modulo_(LoadLibraryA(nome)) {}
  ~BibliotecaDinamica() {
    if (modulo_) FreeLibrary(modulo_);
  }
  BibliotecaDinamica(const BibliotecaDinamica&) = delete;
  BibliotecaDinamica& operator=(const BibliotecaDinamica&) = delete;

  bool Carregada() const { return modulo_ != nullptr; }

  // The export named, typed as the declaration F; nullptr when missing.
  template <class F>
  F Funcao(const char* nome) const {
    if (!modulo_) return nullptr;
    FARPROC p = GetProcAddress(modulo_, nome);
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
  }

 private:
  HMODULE modulo_;
};

}  // namespace tavoran::win32
