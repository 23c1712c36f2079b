#include "platform/win32/VisaoWin32.h"

#include <commctrl.h>  // the progress-bar messages its own bar answers

#include <algorithm>

#include "platform/Texto.h"
#include "platform/win32/ControlesJanela.h"

namespace tavoran::win32 {
namespace {

constexpr UINT kMsgAtivar = WM_APP + 1;  // runs Form_Activate once the window is up
constexpr UINT_PTR kTmrSleep = 1;
constexpr UINT kIntervaloTimer = 500;
// Step texts that follow each other faster than the eye reads are shown at most this often;
// the last one always reaches the label.
constexpr UINT_PTR kTmrTexto = 2;
constexpr ULONGLONG kIntervaloTextoMs = 25;
constexpr ULONGLONG kIntervaloEventosMs = 10;
constexpr int kLargura = 420, kAltura = 118;
constexpr int kIdIconePrograma = 1;  // the icon of the program's resource file

HINSTANCE Instancia() { return GetModuleHandleA(nullptr); }

HWND CriarFilha(HWND pai, const char* classe, int x, int y, int l, int a, HGDIOBJ fonte,
                const std::string& texto = "") {
  HWND h = CreateWindowExA(0, classe, ParaCp1252(texto).c_str(), WS_CHILD | WS_VISIBLE, x, y, l, a, pai, nullptr,
                           Instancia(), nullptr);
  if (h && fonte) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonte), FALSE);
  return h;
}

}  // namespace

VisaoWin32::VisaoWin32() {
  iconePrograma_ = LoadIconA(Instancia(), MAKEINTRESOURCEA(kIdIconePrograma));
  if (iconePrograma_ == nullptr) iconePrograma_ = LoadIcon(nullptr, IDI_APPLICATION);
  fonte_ = ObjetoGdi(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
  fonteTitulo_ = ObjetoGdi(CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
  fundo_ = ObjetoGdi(CreateSolidBrush(RGB(255, 255, 255)));
  corBordaExterna_ = ObjetoGdi(CreateSolidBrush(RGB(0, 51, 102)));
  corBordaInterna_ = ObjetoGdi(CreateSolidBrush(RGB(153, 180, 209)));
}

VisaoWin32::~VisaoWin32() {
  eventos_ = nullptr;  // no events while the object goes away
  if (janela_) DestroyWindow(janela_);
}

void VisaoWin32::Carregar(IEventosJanela& eventos) {
  eventos_ = &eventos;
  if (janela_ != nullptr || fechando_) return;
  RegistrarClasse(Instancia(), kClasseJanela, &VisaoWin32::Procedimento, iconePrograma_);
  RegistrarControles(Instancia());
  RECT r{0, 0, kLargura, kAltura};
  const DWORD estilo = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&r, estilo, FALSE, WS_EX_APPWINDOW);
  const int l = r.right - r.left, a = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - l) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - a) / 2;
  CreateWindowExA(WS_EX_APPWINDOW, kClasseJanela, ParaCp1252(kTitulo).c_str(), estilo, x, y, l, a, nullptr, nullptr,
                  Instancia(), this);
}

void VisaoWin32::CriarControles() {
  AjustarBordas(kLargura, kAltura);
  imgComponente_ = CriarFilha(janela_, kClasseRotulo, 16, 16, 32, 32, nullptr);
  SendMessageA(imgComponente_, STM_SETICON, reinterpret_cast<WPARAM>(iconePrograma_), 0);
  lblTitulo_ = CriarFilha(janela_, kClasseRotulo, 60, 16, kLargura - 76, 18, fonteTitulo_.get(), kTitulo);
  lblProcesso_ = CriarFilha(janela_, kClasseRotulo, 60, 40, kLargura - 76, 30, fonte_.get(), textoProcesso_);
  pbProgresso_ = CriarFilha(janela_, kClasseBarra, 16, 80, kLargura - 32, 18, nullptr);
  SendMessageA(pbProgresso_, PBM_SETRANGE32, static_cast<WPARAM>(minimo_), static_cast<LPARAM>(maximo_));
  SendMessageA(pbProgresso_, PBM_SETPOS, static_cast<WPARAM>(valor_), 0);
}

void VisaoWin32::Mostrar() {
  if (janela_ == nullptr) return;
  mostrada_ = true;
  ShowWindow(janela_, SW_SHOWNORMAL);
  UpdateWindow(janela_);
  // Activation normally posts this too; the window runs the sequence only once.
  PostMessageA(janela_, kMsgAtivar, 0, 0);
}

void VisaoWin32::Fechar() {
  if (janela_ == nullptr || fechando_) return;
  fechando_ = true;
  Disparar([this] { eventos_->Fechando(); });
  HabilitarTemporizador(false);
  if (janela_) DestroyWindow(janela_);
}

void VisaoWin32::ExecutarLaco() {
  if (!mostrada_) return;
  MSG m;
  while (janela_ != nullptr && GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

IdJanela VisaoWin32::Janela() { return reinterpret_cast<IdJanela>(janela_); }

// The label holds the latest text at once, also for a step that then keeps the program
// from letting events run (as the status file's writer lock does); only its repainting waits.
void VisaoWin32::DefinirTextoProcesso(const std::string& texto) {
  textoProcesso_ = texto;
  if (lblProcesso_ == nullptr) return;
  const std::string ansi = ParaCp1252(texto);
  DefWindowProcA(lblProcesso_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
  const ULONGLONG agora = GetTickCount64();
  if (agora - textoMostradoEm_ < kIntervaloTextoMs) {
    AgendarRepintura();
    textoPendente_ = true;
    return;
  }
  MostrarTexto();
}

// Armed once: re-arming at every change would put the repaint off for as long as changes
// keep coming.
void VisaoWin32::AgendarRepintura() {
  if (!textoPendente_ && !barraPendente_) SetTimer(janela_, kTmrTexto, static_cast<UINT>(kIntervaloTextoMs), nullptr);
}

void VisaoWin32::MostrarTexto() {
  textoPendente_ = false;
  textoMostradoEm_ = GetTickCount64();
  InvalidateRect(lblProcesso_, nullptr, TRUE);
}

void VisaoWin32::DefinirFaixaProgresso(int minimo, int maximo) {
  minimo_ = minimo;
  maximo_ = maximo;
  valor_ = std::max(minimo_, std::min(valor_, maximo_));  // as the control keeps it
  if (pbProgresso_)
    SendMessageA(pbProgresso_, PBM_SETRANGE32, static_cast<WPARAM>(minimo), static_cast<LPARAM>(maximo));
}

// The control repaints itself at every position; like the step text, the bar takes a new
// position at most every kIntervaloTextoMs, and at once when it is full.
void VisaoWin32::DefinirProgresso(int valor) {
  valor_ = std::max(minimo_, std::min(valor, maximo_));
  if (pbProgresso_ == nullptr) return;
  if (valor_ < maximo_ && GetTickCount64() - barraMostradaEm_ < kIntervaloTextoMs) {
    AgendarRepintura();
    barraPendente_ = true;
    return;
  }
  MostrarBarra();
}

void VisaoWin32::MostrarBarra() {
  barraPendente_ = false;
  barraMostradaEm_ = GetTickCount64();
  SendMessageA(pbProgresso_, PBM_SETPOS, static_cast<WPARAM>(valor_), 0);
}

int VisaoWin32::Progresso() { return valor_; }

int VisaoWin32::MaximoProgresso() {
  return pbProgresso_ ? static_cast<int>(SendMessageA(pbProgresso_, PBM_GETRANGE, FALSE, 0)) : maximo_;
}

// shapeBordaExterna covers the inner area; shapeBordaInterna sits three pixels inside it.
void VisaoWin32::AjustarBordas(int largura, int altura) {
  bordaExterna_ = {0, 0, largura, altura};
  bordaInterna_ = {3, 3, largura - 3, altura - 3};
  if (janela_) InvalidateRect(janela_, nullptr, TRUE);
}

void VisaoWin32::HabilitarTemporizador(bool ligado) {
  temporizador_ = ligado;
  if (janela_ == nullptr) return;
  if (ligado)
    SetTimer(janela_, kTmrSleep, kIntervaloTimer, nullptr);
  else
    KillTimer(janela_, kTmrSleep);
}

// Like DoEvents: everything pending is dispatched once. While a pause waits for the timer,
// an empty queue yields for a moment instead of spinning.
void VisaoWin32::ProcessarEventos() {
  MSG m;
  bool algum = false;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    algum = true;
  }
  if (!algum && temporizador_) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  eventosEm_ = GetTickCount64();
}

// Each look at the queue is a request to the system; a run of quick steps (a check per
// component) lets the events run every few milliseconds, which the eye cannot tell apart.
void VisaoWin32::MostrarPasso(const std::string& texto) {
  DefinirTextoProcesso(texto);
  if (temporizador_ || GetTickCount64() - eventosEm_ >= kIntervaloEventosMs) ProcessarEventos();
}

int VisaoWin32::CaixaMensagem(const std::string& texto, const std::string& titulo, BotoesCaixa botoes,
                              IconeCaixa icone) {
  const UINT estilo = static_cast<UINT>(botoes) | static_cast<UINT>(icone);
  return MessageBoxA(janela_, ParaCp1252(texto).c_str(), ParaCp1252(titulo).c_str(), estilo);
}

template <class F>
void VisaoWin32::Disparar(F&& evento) {
  if (eventos_ == nullptr) return;
  try {
    evento();
  } catch (...) {
    // The routines behind the events report their own errors; nothing may cross user32.
  }
}

void VisaoWin32::Pintar() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(janela_, &ps);
  RECT cliente;
  GetClientRect(janela_, &cliente);
  FillRect(dc, &cliente, static_cast<HBRUSH>(fundo_.get()));
  FrameRect(dc, &bordaExterna_, static_cast<HBRUSH>(corBordaExterna_.get()));
  FrameRect(dc, &bordaInterna_, static_cast<HBRUSH>(corBordaInterna_.get()));
  EndPaint(janela_, &ps);
}

LRESULT CALLBACK VisaoWin32::Procedimento(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* visao = static_cast<VisaoWin32*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(visao));
    visao->janela_ = h;
  }
  auto* visao = reinterpret_cast<VisaoWin32*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  return visao ? visao->Tratar(m, w, l) : DefWindowProcA(h, m, w, l);
}

LRESULT VisaoWin32::Tratar(UINT m, WPARAM w, LPARAM l) {
  HWND h = janela_;
  switch (m) {
    case WM_CREATE:
      CriarControles();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE && !ativada_) PostMessageA(h, kMsgAtivar, 0, 0);
      break;
    case kMsgAtivar:
      if (!ativada_ && mostrada_) {
        ativada_ = true;
        Disparar([this] { eventos_->Ativada(); });
      }
      return 0;
    case WM_SIZE:
      Disparar([&] { eventos_->Redimensionada(LOWORD(l), HIWORD(l)); });
      return 0;
    case WM_TIMER:
      if (w == kTmrSleep) Disparar([this] { eventos_->Temporizador(); });
      if (w == kTmrTexto) {
        KillTimer(janela_, kTmrTexto);
        if (textoPendente_) MostrarTexto();
        if (barraPendente_ && pbProgresso_) MostrarBarra();
      }
      return 0;
    case WM_PAINT:
      Pintar();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      Fechar();
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      janela_ = nullptr;
      lblTitulo_ = lblProcesso_ = pbProgresso_ = imgComponente_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

}  // namespace tavoran::win32
