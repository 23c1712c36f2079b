#include "platform/win32/XmlWin32.h"

#include <windows.h>
#include <msxml2.h>
#include <objbase.h>

#include "platform/ErrosWindows.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

constexpr HRESULT kClasseNaoRegistrada = static_cast<HRESULT>(0x80040154);

// The attribute as text; absent (or not text) gives nothing.
std::optional<std::string> Atributo(IXMLDOMElement* elemento, const std::string& nome) {
  Bstr bnome(Utf16(nome));
  VARIANT v;
  VariantInit(&v);
  if (elemento->getAttribute(bnome.get(), &v) != S_OK) {
    VariantClear(&v);
    return std::nullopt;
  }
  std::optional<std::string> saida;
  if (v.vt == VT_BSTR) saida = Utf8(v.bstrVal, static_cast<int>(SysStringLen(v.bstrVal)));
  VariantClear(&v);
  return saida;
}

class DocumentoXmlWin32 : public IDocumentoXml {
 public:
  explicit DocumentoXmlWin32(Com<IXMLDOMDocument> documento) : documento_(std::move(documento)) {}

  void Limpar() override { carregado_ = false; }

  bool Carregar(const std::string& arquivo) override {
    carregado_ = false;
    Bstr caminho(Utf16(arquivo));
    VARIANT origem;
    VariantInit(&origem);
    origem.vt = VT_BSTR;
    origem.bstrVal = caminho.get();
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (documento_->load(origem, &ok) != S_OK || ok != VARIANT_TRUE) return false;
    carregado_ = true;
    return true;
  }

  // A walk over the elements named `tag` in document order, so that no value needs quoting
  // inside an XPath expression.
  std::optional<std::string> Procurar(const std::string& tag, const std::string& chave, const std::string& valor,
                                      const std::string& retorno) override {
    if (!carregado_) return std::nullopt;
    Bstr nomeTag(Utf16(tag));
    Com<IXMLDOMNodeList> lista;
    if (documento_->getElementsByTagName(nomeTag.get(), lista.Receber()) != S_OK || !lista) return std::nullopt;
    long total = 0;
    if (lista->get_length(&total) != S_OK) return std::nullopt;
    for (long i = 0; i < total; ++i) {
      Com<IXMLDOMNode> no;
      if (lista->get_item(i, no.Receber()) != S_OK || !no) continue;
      Com<IXMLDOMElement> elemento;
      if (no->QueryInterface(IID_IXMLDOMElement, elemento.ReceberVoid()) != S_OK || !elemento) continue;
      if (Atributo(elemento.get(), chave) != valor) continue;
      return Atributo(elemento.get(), retorno).value_or(std::string());
    }
    return std::nullopt;
  }

 private:
  Com<IXMLDOMDocument> documento_;
  bool carregado_ = false;
};

HRESULT CriarDocumento(const wchar_t* progId, Com<IXMLDOMDocument>& documento) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, documento.ReceberVoid());
}

}  // namespace

XmlWin32::~XmlWin32() {
  if (comIniciado_) CoUninitialize();
}

Falha XmlWin32::Criar(std::unique_ptr<IDocumentoXml>& documento) {
  if (!comIniciado_) comIniciado_ = SUCCEEDED(CoInitialize(nullptr));
  Com<IXMLDOMDocument> doc;
  HRESULT hr = CriarDocumento(L"Msxml2.DOMDocument.6.0", doc);
  if (FAILED(hr)) hr = CriarDocumento(L"Msxml2.DOMDocument.3.0", doc);
  if (FAILED(hr) || !doc) {
    const Falha f = FalhaDeErroWindows(static_cast<std::uint32_t>(hr));
    return f.numero == 429 ? f : FalhaDeErroWindows(static_cast<std::uint32_t>(kClasseNaoRegistrada));
  }
  doc->put_async(VARIANT_FALSE);
  doc->put_validateOnParse(VARIANT_FALSE);
  doc->put_resolveExternals(VARIANT_FALSE);
  documento = std::make_unique<DocumentoXmlWin32>(std::move(doc));
  return {};
}

}  // namespace tavoran::win32
