#pragma once
// The progress window as a thin view, and the system's message boxes.
#include <string>

#include "platform/Shell.h"

namespace tavoran {

// Icons and buttons with the values of MessageBoxA's flags.
enum class IconeCaixa : int { Nenhum = 0, Critico = 16, Pergunta = 32, Exclamacao = 48, Informacao = 64 };
enum class BotoesCaixa : int { Ok = 0, OkCancelar = 1, SimNao = 4 };
constexpr int kBotaoOk = 1;
constexpr int kBotaoCancelar = 2;
constexpr int kBotaoSim = 6;
constexpr int kBotaoNao = 7;

// Window events, delivered on the user-interface thread.
class IEventosJanela {
 public:
  virtual ~IEventosJanela() = default;
  virtual void Ativada() = 0;                                // Form_Activate, first time only
  virtual void Fechando() = 0;                               // Form_QueryUnload
  virtual void Redimensionada(int largura, int altura) = 0;  // Form_Resize, inner size
  virtual void Temporizador() = 0;                           // one tick of tmrSleep
};

class IVisao {
 public:
  virtual ~IVisao() = default;
  // Creates the window, hidden, and connects its events.
  virtual void Carregar(IEventosJanela& eventos) = 0;
  // Shows the window (not modal); the activation event follows from the event loop.
  virtual void Mostrar() = 0;
  // Unloads the window: raises Fechando, then destroys it. Idempotent.
  virtual void Fechar() = 0;
  // Runs the event loop until the window is closed; returns at once when it never was shown.
  virtual void ExecutarLaco() = 0;
  virtual IdJanela Janela() = 0;

  virtual void DefinirTextoProcesso(const std::string& texto) = 0;  // lblProcesso
  virtual void DefinirFaixaProgresso(int minimo, int maximo) = 0;   // pbProgresso
  virtual void DefinirProgresso(int valor) = 0;
  virtual int Progresso() = 0;
  virtual int MaximoProgresso() = 0;
  virtual void AjustarBordas(int largura, int altura) = 0;  // the two border rectangles
  virtual void HabilitarTemporizador(bool ligado) = 0;      // tmrSleep, 500 ms
  // Processes pending window events once.
  virtual void ProcessarEventos() = 0;
  // A step's text followed by the window's events. Steps may come by the hundred a second;
  // a facility may then let the events run once per short interval instead of at each step.
  virtual void MostrarPasso(const std::string& texto) {
    DefinirTextoProcesso(texto);
    ProcessarEventos();
  }
  // A modal message box owned by the window when it exists; the button pressed.
  virtual int CaixaMensagem(const std::string& texto, const std::string& titulo, BotoesCaixa botoes,
                            IconeCaixa icone) = 0;
};

}  // namespace tavoran
