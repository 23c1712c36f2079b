#pragma once
// Terminal-services facility: the client computer of the current session.
#include <string>

namespace tavoran {

class ISessaoTerminal {
 public:
  virtual ~ISessaoTerminal() = default;
  // WTSQuerySessionInformationA on the current server (0) for the current session (-1),
  // information class WTSClientName: success and the client name (empty on the console).
  virtual bool NomeClienteSessao(std::string& nome) = 0;
};

}  // namespace tavoran
