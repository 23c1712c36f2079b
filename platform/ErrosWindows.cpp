#include "platform/ErrosWindows.h"

#include <string>

namespace tavoran {
namespace {

struct Mapeamento {
  std::uint32_t codigo;
  std::int32_t numero;
};

constexpr Mapeamento kTabela[] = {
    {2, 53},            // ERROR_FILE_NOT_FOUND
    {3, 76},            // ERROR_PATH_NOT_FOUND
    {4, 67},            // ERROR_TOO_MANY_OPEN_FILES
    {5, 70},            // ERROR_ACCESS_DENIED
    {8, 7},             // ERROR_NOT_ENOUGH_MEMORY
    {14, 7},            // ERROR_OUTOFMEMORY
    {15, 68},           // ERROR_INVALID_DRIVE
    {19, 70},           // ERROR_WRITE_PROTECT
    {21, 71},           // ERROR_NOT_READY
    {32, 70},           // ERROR_SHARING_VIOLATION: the file is in use
    {33, 70},           // ERROR_LOCK_VIOLATION
    {39, 61},           // ERROR_HANDLE_DISK_FULL
    {53, 76},           // ERROR_BAD_NETPATH
    {67, 76},           // ERROR_BAD_NET_NAME
    {80, 58},           // ERROR_FILE_EXISTS
    {87, 5},            // ERROR_INVALID_PARAMETER
    {112, 61},          // ERROR_DISK_FULL
    {123, 52},          // ERROR_INVALID_NAME
    {145, 75},          // ERROR_DIR_NOT_EMPTY
    {183, 75},          // ERROR_ALREADY_EXISTS
    {206, 75},          // ERROR_FILENAME_EXCED_RANGE
    {267, 75},          // ERROR_DIRECTORY
    {0x80040154u, 429}, // REGDB_E_CLASSNOTREG
    {0x800401F3u, 429}, // CO_E_CLASSSTRING
    {0x80070005u, 70},  // E_ACCESSDENIED
    {0x80004002u, 430}, // E_NOINTERFACE
};

const char* Descricao(std::int32_t numero) {
  switch (numero) {
    case 5: return "Chamada de procedimento ou argumento inválido";
    case 7: return "Memória insuficiente";
    case 52: return "Nome ou número de arquivo inválido";
    case 53: return "Arquivo não encontrado";
    case 58: return "O arquivo já existe";
    case 61: return "Disco cheio";
    case 67: return "Excesso de arquivos";
    case 68: return "Dispositivo não disponível";
    case 70: return "Permissão negada";
    case 71: return "O disco não está pronto";
    case 76: return "Caminho não encontrado";
    case 429: return "O componente ActiveX não pode criar o objeto";
    case 430: return "A classe não dá suporte para automação ou para a interface esperada";
    default: return "Erro de acesso ao caminho/arquivo";
  }
}

}  // namespace

Falha FalhaDeResultadoShell(std::intptr_t resultado) {
  if (resultado > 32) return {};
  return FalhaDeErroWindows(resultado == 0 ? 8 : static_cast<std::uint32_t>(resultado));
}

Falha FalhaDeErroWindows(std::uint32_t codigo) {
  if (codigo == 0) return {};
  for (const auto& m : kTabela)
    if (m.codigo == codigo) return {m.numero, Descricao(m.numero), codigo};
  return {75, std::string(Descricao(75)) + " (código " + std::to_string(codigo) + ")", codigo};
}

}  // namespace tavoran
