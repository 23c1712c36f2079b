#pragma once
// The real progress window frmInicial (title and step labels, progress bar and icon drawn
// by the window's own controls, two border rectangles, the 500 ms timer tmrSleep) and
// MessageBoxA boxes. The empty form frmIcone only lends the program its icon, which the
// executable's resources hold; no routine loads it, so no window is made for it.
#include <windows.h>

#include "platform/Visao.h"

namespace tavoran::win32 {

// A GDI object deleted with DeleteObject.
class ObjetoGdi {
 public:
  ObjetoGdi() = default;
  explicit ObjetoGdi(HGDIOBJ h) : h_(h) {}
  ObjetoGdi(const ObjetoGdi&) = delete;
  ObjetoGdi& operator=(const ObjetoGdi&) = delete;
  ObjetoGdi& operator=(ObjetoGdi&& o) noexcept {
    std::swap(h_, o.h_);
    return *this;
  }
  ~ObjetoGdi() {
    if (h_) DeleteObject(h_);
  }
  HGDIOBJ get() const { return h_; }

 private:
  HGDIOBJ h_ = nullptr;
};

class VisaoWin32 : public IVisao {
 public:
  static constexpr const char* kClasseJanela = "frmInicial";
  static constexpr const char* kTitulo = "Tavoran - Atualização de Componentes";
  static constexpr const char* kProcessoInicial = "Descrição do Processo...";

  VisaoWin32();
  VisaoWin32(const VisaoWin32&) = delete;
  VisaoWin32& operator=(const VisaoWin32&) = delete;
  ~VisaoWin32() override;

  void Carregar(IEventosJanela& eventos) override;
  void Mostrar() override;
  void Fechar() override;
  void ExecutarLaco() override;
  IdJanela Janela() override;

  void DefinirTextoProcesso(const std::string& texto) override;
  void DefinirFaixaProgresso(int minimo, int maximo) override;
  void DefinirProgresso(int valor) override;
  int Progresso() override;
  int MaximoProgresso() override;
  void AjustarBordas(int largura, int altura) override;
  void HabilitarTemporizador(bool ligado) override;
  void ProcessarEventos() override;
  void MostrarPasso(const std::string& texto) override;
  int CaixaMensagem(const std::string& texto, const std::string& titulo, BotoesCaixa botoes,
                    IconeCaixa icone) override;

  // What the controls show, for tests of the window itself.
  std::string TextoProcesso() const { return textoProcesso_; }
  RECT BordaExterna() const { return bordaExterna_; }
  RECT BordaInterna() const { return bordaInterna_; }

 private:
  static LRESULT CALLBACK Procedimento(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT Tratar(UINT m, WPARAM w, LPARAM l);
  void CriarControles();
  void Pintar();
  template <class F>
  void Disparar(F&& evento);
  void MostrarTexto();
  void MostrarBarra();
  // One timer repaints the step text and the bar that waited for it.
  void AgendarRepintura();

  IEventosJanela* eventos_ = nullptr;
  HWND janela_ = nullptr;
  HWND lblTitulo_ = nullptr, lblProcesso_ = nullptr, pbProgresso_ = nullptr, imgComponente_ = nullptr;
  HICON iconePrograma_ = nullptr;
  ObjetoGdi fonte_, fonteTitulo_, fundo_, corBordaExterna_, corBordaInterna_;
  RECT bordaExterna_{}, bordaInterna_{};
  std::string textoProcesso_ = kProcessoInicial;
  bool textoPendente_ = false, barraPendente_ = false;
  unsigned long long textoMostradoEm_ = 0, barraMostradaEm_ = 0, eventosEm_ = 0;
  int minimo_ = 0, maximo_ = 100, valor_ = 0;
  bool mostrada_ = false, fechando_ = false, ativada_ = false, temporizador_ = false;
};

}  // namespace tavoran::win32
