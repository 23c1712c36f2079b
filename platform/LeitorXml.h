#pragma once
// The program's own reader of the default-data file: the file's elements and their attributes
// in document order, enough for the lookups the suite makes. A file that is not well-formed
// XML leaves the document empty, as a full parser would. It spares every start the loading of
// a COM XML library (and the network libraries that one brings) for a file of a few lines.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Arquivos.h"
#include "platform/Xml.h"

namespace tavoran {

struct ElementoXml {
  std::string nome;
  std::vector<std::pair<std::string, std::string>> atributos;  // in the order written, UTF-8
};

// The elements of a document's bytes, in document order; nothing when they are not
// well-formed. The encoding comes from the byte-order mark or the declaration (UTF-8 when
// neither names one); bytes that are not UTF-8 where UTF-8 is expected are read as
// Windows-1252, as the suite's text editors save such a file.
std::optional<std::vector<ElementoXml>> LerElementosXml(std::string_view bytes);

class LeitorXml : public IXml {
 public:
  explicit LeitorXml(IArquivos& arquivos) : arquivos_(arquivos) {}
  Falha Criar(std::unique_ptr<IDocumentoXml>& documento) override;

 private:
  IArquivos& arquivos_;
};

}  // namespace tavoran
