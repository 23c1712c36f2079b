#pragma once
// The help-link table: the help-article addresses keyed "C1" to "C26", loaded once per
// run from the default-data file and read by the inconsistency report.
#include <map>
#include <string>

namespace tavoran {

class LinksAjuda {
 public:
  // The link of a key; empty when the key has none.
  std::string Link(const std::string& chave) const;
  void Definir(const std::string& chave, const std::string& link);
  void Limpar() { links_.clear(); }

 private:
  std::map<std::string, std::string> links_;
};

}  // namespace tavoran
