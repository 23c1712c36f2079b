#pragma once
// A model of the disk under one record file, in the spirit of SQLite's crash-test file
// system: every write, truncation and flush the engine makes to it, so that the file can be
// rebuilt as a power loss at any moment could leave it. What the last flush covered stays;
// every 512-byte sector written since is lost or kept, as any of the versions it went
// through; the size is one the file had since that flush, sectors beyond the flushed size
// that were lost reading as zeros.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/InjecaoFalhas.h"

namespace tavoran::testes {

class DiscoSimulado : public motor::ObservadorDisco {
 public:
  // Starts from the file as it is now, taken as flushed, and observes it until destroyed.
  explicit DiscoSimulado(std::string caminho);
  ~DiscoSimulado() override;
  DiscoSimulado(const DiscoSimulado&) = delete;
  DiscoSimulado& operator=(const DiscoSimulado&) = delete;

  void Gravou(const std::string& caminho, std::uint64_t pos, const void* dados, std::size_t n) override;
  bool Descarregou(const std::string& caminho) override;
  void Truncou(const std::string& caminho, std::uint64_t tamanho) override;

  // Events seen so far: a moment for Imagem and the flushes before it.
  std::size_t Eventos() const { return eventos_.size(); }
  std::size_t Descargas(std::size_t desde, std::size_t ate) const;
  // The file as a power loss after the first `ate` events might leave it.
  std::vector<std::uint8_t> Imagem(std::size_t ate, std::mt19937& rng);

 private:
  enum class Tipo { Gravacao, Truncamento, Descarga };
  struct Evento {
    Tipo tipo;
    std::uint64_t pos;  // offset written, or the new size
    std::vector<std::uint8_t> dados;
  };
  static void Aplicar(const Evento& e, std::vector<std::uint8_t>* arquivo);
  // The file as the last flush among the first `ate` events left it; answers where it was.
  std::size_t Duravel(std::size_t ate);

  std::string caminho_;
  motor::ObservadorDisco* anterior_;
  std::vector<std::uint8_t> inicial_;
  std::vector<Evento> eventos_;
  std::vector<std::uint8_t> duravel_;  // inicial_ with the first duravelAte_ events applied
  std::size_t duravelAte_ = 0;
};

}  // namespace tavoran::testes
