#pragma once
// Addresses in a page written to disk: a folder as the page's links reach it, and file
// names percent-encoded for a link.
#include <string>
#include <string_view>

namespace tavoran::tavadmin {

// The folder's address from the page's own folder, ending in "/": relative when both lie
// under one root ("" for the page's own folder), else an absolute file: URL.
std::string EnderecoPastaParaPagina(const std::string& pagina, const std::string& pasta);
// The file: URL of an absolute path in generic form ("P:/x", "//server/share/x", "/x").
std::string UrlArquivo(const std::string& generico);
// Every byte but letters, digits, "-._~" and "/" as %XX (UTF-8 bytes, as browsers read links).
std::string CodificarUrl(std::string_view texto);

}  // namespace tavoran::tavadmin
