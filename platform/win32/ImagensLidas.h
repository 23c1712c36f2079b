#pragma once
// What the facilities read from program and library files without loading them (exports,
// version, type library), kept per path: the passes over the components ask it of the same
// files several times, run after run, and every opening of a file is a round of requests to
// the system. A kept answer serves only while the file keeps its size, attributes, creation
// and last-write times; a copy made by the files facility carries its source's answers. The
// answers are kept in a file of the user's between runs. A folder is also looked up once, so
// that later lookups name it as it is written on disk and need no search without regard to case.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/ImagemPe.h"

namespace tavoran::win32 {

// The facts of one file as its bytes give them.
struct FichaImagem {
  unsigned long erroAbertura = 0;  // the Windows error of opening it; 0 when it opened
  bool valida = false;
  std::uint16_t maquina = 0;
  std::optional<VersaoFixa> versao;
  std::optional<TypeLibPe> typeLib;
  std::map<std::string, bool> exporta;  // the functions asked about so far
};

class ImagensLidas {
 public:
  // guardadas: the file that keeps the answers between runs (UTF-8); none when empty.
  explicit ImagensLidas(std::string guardadas = {}) : guardadas_(std::move(guardadas)) {}
  ~ImagensLidas();
  ImagensLidas(const ImagensLidas&) = delete;
  ImagensLidas& operator=(const ImagensLidas&) = delete;

  // The file's facts, with the answer for the function when one is named.
  std::shared_ptr<const FichaImagem> Ficha(const std::string& caminho, const std::string& funcao = {});
  // The path (UTF-8) with its folder as written on disk, as the folder was found at its first
  // lookup in this run.
  std::string NoDisco(const std::string& caminho);
  // The file was written, replaced or removed by this program.
  void Esquecer(const std::string& caminho);
  // destino now holds what origem held (a whole copy or a rename): its answers go with it.
  void Transferir(const std::string& origem, const std::string& destino);

  // The file the answers are kept in by default: under the user's local application data.
  static std::string ArquivoPadrao();

 private:
  struct Guardada {
    WIN32_FILE_ATTRIBUTE_DATA atributos{};
    std::shared_ptr<FichaImagem> ficha;
  };
  void Guardar(const std::string& chave, const WIN32_FILE_ATTRIBUTE_DATA& atributos, std::shared_ptr<FichaImagem> f);
  void Carregar();
  void Salvar() const;

  static constexpr std::size_t kLimite = 4096;
  std::string guardadas_;
  bool carregadas_ = false, alteradas_ = false;
  std::unordered_map<std::string, Guardada> fichas_;
  std::unordered_map<std::string, std::string> pastas_;
};

}  // namespace tavoran::win32
