#pragma once
// Reads a golden report file byte for byte.
#include <cstdio>
#include <string>

namespace tavoran::testes {

inline std::string LerGolden(const std::string& nome) {
  const std::string caminho = std::string(TAV_DIR_GOLDEN) + "/" + nome;
  std::string bytes;
  if (std::FILE* f = std::fopen(caminho.c_str(), "rb")) {
    char bloco[4096];
    for (std::size_t n; (n = std::fread(bloco, 1, sizeof bloco, f)) > 0;) bytes.append(bloco, n);
    std::fclose(f);
  } else {
    bytes = "<golden file not found: " + caminho + ">";
  }
  return bytes;
}

}  // namespace tavoran::testes
