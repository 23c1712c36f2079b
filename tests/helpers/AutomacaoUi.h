#pragma once
// UI automation for the Windows tests: finds the message boxes (dialog class #32770) of a
// process, reads their title, text and buttons, and presses the button a test chooses.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tavoran::testes {

struct CaixaNaTela {
  HWND janela = nullptr;
  HWND dono = nullptr;  // the owner window, read while the box is up
  std::string titulo;  // UTF-8
  std::string texto;   // UTF-8, line breaks as the box holds them
  std::vector<std::string> botoes;
};

// The visible message boxes of a process right now.
std::vector<CaixaNaTela> CaixasDoProcesso(DWORD idProcesso);
// Waits up to limiteMs for a message box of the process; nothing when none came or the
// process ended first (processo may be null).
std::optional<CaixaNaTela> EsperarCaixa(DWORD idProcesso, DWORD limiteMs, HANDLE processo = nullptr);
// Presses the button whose caption (without '&') is rotulo; false when the box has none.
bool PressionarBotao(const CaixaNaTela& caixa, const std::string& rotulo);
// Presses the button with the given id (IDOK, IDCANCEL...), whatever its caption's language.
bool PressionarBotaoId(const CaixaNaTela& caixa, int id);
// A visible top-level window of the process with the given class, if any.
HWND JanelaVisivelDoProcesso(DWORD idProcesso, const char* classe);

// Text of a window read in UTF-16 and handed back as UTF-8.
std::string TextoDaJanela(HWND janela);

// The step label of the progress window (class frmInicial) of a process, or null.
HWND RotuloDoPasso(DWORD idProcesso);

// Every thread of a process suspended for the object's life, as if the process stood still
// in the middle of what it was doing.
class ProcessoCongelado {
 public:
  explicit ProcessoCongelado(DWORD idProcesso);
  ProcessoCongelado(const ProcessoCongelado&) = delete;
  ProcessoCongelado& operator=(const ProcessoCongelado&) = delete;
  ~ProcessoCongelado();

 private:
  std::vector<HANDLE> linhas_;
};

}  // namespace tavoran::testes
