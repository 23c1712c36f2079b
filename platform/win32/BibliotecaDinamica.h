#pragma once
// The one library loader of the Windows facilities: a library loaded at run time and its
// functions looked up by name, so that the program needs no import of libraries that a
// workstation (or Wine) may lack, and loads components only while it works on them.
#include <windows.h>

#include <string>
#include <utility>

namespace tavoran::win32 {

class BibliotecaDinamica {
 public:
  BibliotecaDinamica() = default;
  // The name or path in the ANSI code page.
  explicit BibliotecaDinamica(const std::string& nome) : modulo_(LoadLibraryA(nome.c_str())) {}
  BibliotecaDinamica(BibliotecaDinamica&& o) noexcept : modulo_(std::exchange(o.modulo_, nullptr)) {}
  BibliotecaDinamica& operator=(BibliotecaDinamica&& o) noexcept {
    if (this != &o) {
      Liberar();
      modulo_ = std::exchange(o.modulo_, nullptr);
    }
    return *this;
  }
  BibliotecaDinamica(const BibliotecaDinamica&) = delete;
  BibliotecaDinamica& operator=(const BibliotecaDinamica&) = delete;
  ~BibliotecaDinamica() { Liberar(); }

  // Loads now when nothing is loaded yet; true when a library is loaded.
  bool CarregarSeAusente(const std::string& nome) {
    if (modulo_ == nullptr) modulo_ = LoadLibraryA(nome.c_str());
    return modulo_ != nullptr;
  }
  bool Carregada() const { return modulo_ != nullptr; }

  // The export named, typed as the declaration F; nullptr when missing.
  template <class F>
  F Funcao(const char* nome) const {
    if (!modulo_) return nullptr;
    FARPROC p = GetProcAddress(modulo_, nome);
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
  }

  // Gives up the library without freeing it: code of it may still run on another thread.
  void Abandonar() { modulo_ = nullptr; }

 private:
  void Liberar() {
    if (modulo_) FreeLibrary(modulo_);
    modulo_ = nullptr;
  }
  HMODULE modulo_ = nullptr;
};

}  // namespace tavoran::win32
