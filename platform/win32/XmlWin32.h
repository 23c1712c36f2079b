#pragma once
// The default-data file read with MSXML (DOMDocument 6.0, else 3.0) through COM.
#include "platform/Xml.h"

namespace tavoran::win32 {

class XmlWin32 : public IXml {
 public:
  XmlWin32() = default;
  XmlWin32(const XmlWin32&) = delete;
  XmlWin32& operator=(const XmlWin32&) = delete;
  ~XmlWin32() override;
  Falha Criar(std::unique_ptr<IDocumentoXml>& documento) override;

 private:
  bool comIniciado_ = false;
};

}  // namespace tavoran::win32
