#include "reports/LinksAjuda.h"

namespace tavoran {

std::string LinksAjuda::Link(const std::string& chave) const {
  const auto l = links_.find(chave);
  return l == links_.end() ? std::string() : l->second;
}

void LinksAjuda::Definir(const std::string& chave, const std::string& link) { links_[chave] = link; }

}  // namespace tavoran
