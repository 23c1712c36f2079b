#pragma once
// Files and folders facility. Paths are Windows paths in UTF-8.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Erro.h"
#include "platform/Relogio.h"

namespace tavoran {

struct EntradaPasta {
  std::string nome;  // name only, as the directory lookup returns it
  bool pasta = false;
  bool oculta = false;
  bool sistema = false;
};

// The fixed file information of a version resource.
struct VersaoFixa {
  std::uint32_t maisSignificativa = 0;   // dwFileVersionMS
  std::uint32_t menosSignificativa = 0;  // dwFileVersionLS
};

class IArquivoAberto {
 public:
  virtual ~IArquivoAberto() = default;  // closes the file
  // Appends bytes exactly as given.
  virtual Falha Escrever(const std::string& bytes) = 0;
};

class IArquivos {
 public:
  virtual ~IArquivos() = default;
  // Directory lookup (FindFirstFile/FindNextFile) of a path that may end in a pattern
  // with * and ?; every entry, hidden and system ones included, "." and ".." excluded,
  // in the order the lookup returns them. A missing folder gives an empty list.
  virtual std::vector<EntradaPasta> Listar(const std::string& padrao) = 0;
  // Whether that lookup of the path finds a file (folders do not count). A facility may answer
  // a name without * and ? from the file's attributes, which is the same answer at less cost.
  virtual bool ListaArquivo(const std::string& caminho) {
    for (const EntradaPasta& e : Listar(caminho))
      if (!e.pasta) return true;
    return false;
  }
  virtual Falha CriarPasta(const std::string& pasta) = 0;
  // Copies, overwriting the destination. Copy, delete and rename retry briefly while another
  // program (an antivirus scanner, say) holds the file without sharing it.
  virtual Falha Copiar(const std::string& origem, const std::string& destino) = 0;
  virtual Falha Excluir(const std::string& arquivo) = 0;
  // Renames a file, replacing the destination when it exists; the content is on disk first.
  virtual Falha Mover(const std::string& origem, const std::string& destino) = 0;
  // False when the file has no version resource (or cannot be read).
  virtual bool LerVersao(const std::string& arquivo, VersaoFixa& versao) = 0;
  // Last-modified local time; false when the file cannot be found.
  virtual bool LerDataModificacao(const std::string& arquivo, DataHora& data) = 0;
  // Opens for appending, creating the file when missing.
  virtual Falha AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) = 0;
  // The whole content as bytes.
  virtual Falha LerTudo(const std::string& arquivo, std::string& bytes) = 0;
};

}  // namespace tavoran
