#pragma once
// Text helpers. Strings inside the program are UTF-8; every text that crosses to
// Windows, the engine or a report file is Windows-1252, converted once at that boundary.
#include <string>
#include <string_view>

namespace tavoran {

// UTF-8 to Windows-1252; a character the code page lacks becomes '?'.
std::string ParaCp1252(std::string_view utf8);
// One code point appended as UTF-8.
void AcrescentarUtf8(std::string& saida, char32_t c);
// Windows-1252 to UTF-8.
std::string DeCp1252(std::string_view cp1252);
// A text file's bytes to UTF-8: UTF-8 or UTF-16 (either byte order) when a byte-order mark
// says so, Windows-1252 otherwise.
std::string DeTextoArquivo(std::string_view bytes);

// Blanks (spaces only) removed at both ends, at the left, at the right.
std::string Aparar(std::string_view texto);
std::string ApararEsquerda(std::string_view texto);
std::string ApararDireita(std::string_view texto);
// Upper and lower case, ASCII and the accented letters of Windows-1252.
std::string Maiusculas(std::string_view texto);
std::string Minusculas(std::string_view texto);
// Text before the first NUL.
std::string AteNulo(std::string_view texto);
// Every NUL removed.
std::string SemNulos(std::string_view texto);
// Case-insensitive search; npos when absent.
std::size_t ProcurarSemCaixa(std::string_view texto, std::string_view procurado);
bool IguaisSemCaixa(std::string_view a, std::string_view b);
// Whether the text ends with fim, case aside.
bool TerminaComSemCaixa(std::string_view texto, std::string_view fim);
// A name against a directory lookup's pattern: * any run, ? any one character, no case.
bool CasaPadrao(std::string_view padrao, std::string_view nome);
// Every occurrence of de replaced by para.
std::string Substituir(std::string_view texto, std::string_view de, std::string_view para);

}  // namespace tavoran
