#pragma once
// Components loaded as libraries, and self-registration entry points run on a worker
// thread. A worker that outlives its wait is abandoned: it runs on, and its library stays
// loaded while it may. A worker whose entry point faults is ended alone; the program goes on.
#include <memory>
#include <vector>

#include "platform/Bibliotecas.h"
#include "platform/win32/ImagensLidas.h"

namespace tavoran::win32 {

class BibliotecasWin32 : public IBibliotecas {
 public:
  explicit BibliotecasWin32(std::shared_ptr<ImagensLidas> imagens = std::make_shared<ImagensLidas>());
  ~BibliotecasWin32() override;
  BibliotecasWin32(const BibliotecasWin32&) = delete;
  BibliotecasWin32& operator=(const BibliotecasWin32&) = delete;

  Falha Carregar(const std::string& caminho, std::unique_ptr<IBiblioteca>& biblioteca) override;
  Falha Exporta(const std::string& caminho, const std::string& funcao, bool& exporta) override;

  struct Abandono;
  // Keeps a library whose worker still runs; freed once that worker ended.
  void Adotar(std::unique_ptr<Abandono> abandono);

 private:
  void LiberarTerminados();
  std::shared_ptr<ImagensLidas> imagens_;
  std::vector<std::unique_ptr<Abandono>> abandonos_;
};

}  // namespace tavoran::win32
