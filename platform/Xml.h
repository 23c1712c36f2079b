#pragma once
// The XML reader used for the suite's default-data file.
#include <memory>
#include <optional>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

class IDocumentoXml {
 public:
  virtual ~IDocumentoXml() = default;
  virtual void Limpar() = 0;
  // Loads a file; false when it is missing or malformed (the document is then empty).
  virtual bool Carregar(const std::string& arquivo) = 0;
  // The attribute `retorno` of the first element `tag` whose attribute `chave` equals `valor`.
  virtual std::optional<std::string> Procurar(const std::string& tag, const std::string& chave,
                                              const std::string& valor, const std::string& retorno) = 0;
};

class IXml {
 public:
  virtual ~IXml() = default;
  // Creates a document object; a failure carries the run-time number (429: cannot create object).
  virtual Falha Criar(std::unique_ptr<IDocumentoXml>& documento) = 0;
};

}  // namespace tavoran
