#include "platform/win32/ControlesJanela.h"

// The progress-bar message numbers only: nothing of the common-controls library is linked.
#include <commctrl.h>

#include <algorithm>
#include <string>

namespace tavoran::win32 {
namespace {

// Extra bytes of a label: its font and its icon; of a bar: its range and its position.
constexpr int kFonte = 0, kIcone = sizeof(LONG_PTR);
constexpr int kMinimo = 0, kMaximo = sizeof(LONG_PTR), kPosicao = 2 * sizeof(LONG_PTR);
constexpr COLORREF kCorBarra = RGB(0, 51, 102), kCorMoldura = RGB(153, 180, 209);

LONG_PTR Ler(HWND h, int campo) { return GetWindowLongPtrA(h, campo); }
LONG_PTR Trocar(HWND h, int campo, LONG_PTR valor) { return SetWindowLongPtrA(h, campo, valor); }

void Preencher(HDC dc, const RECT& r, COLORREF cor) {
  SetBkColor(dc, cor);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void PintarRotulo(HWND h, HDC dc) {
  RECT r;
  GetClientRect(h, &r);
  Preencher(dc, r, RGB(255, 255, 255));
  if (auto icone = reinterpret_cast<HICON>(Ler(h, kIcone))) {
    DrawIconEx(dc, 0, 0, icone, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    return;
  }
  std::string texto(static_cast<std::size_t>(GetWindowTextLengthA(h)) + 1, '\0');
  texto.resize(static_cast<std::size_t>(GetWindowTextA(h, texto.data(), static_cast<int>(texto.size()))));
  const HGDIOBJ fonte = reinterpret_cast<HGDIOBJ>(Ler(h, kFonte));
  const HGDIOBJ anterior = fonte ? SelectObject(dc, fonte) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextA(dc, texto.c_str(), static_cast<int>(texto.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  if (anterior) SelectObject(dc, anterior);
}

void PintarBarra(HWND h, HDC dc) {
  RECT r;
  GetClientRect(h, &r);
  Preencher(dc, r, kCorMoldura);
  RECT dentro{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (dentro.right <= dentro.left || dentro.bottom <= dentro.top) return;
  const long long minimo = Ler(h, kMinimo), maximo = Ler(h, kMaximo), posicao = Ler(h, kPosicao);
  const long long largura = dentro.right - dentro.left;
  const long long cheio = maximo > minimo ? (posicao - minimo) * largura / (maximo - minimo) : 0;
  RECT feito = dentro, falta = dentro;
  feito.right = falta.left = dentro.left + static_cast<LONG>(std::clamp(cheio, 0LL, largura));
  Preencher(dc, feito, kCorBarra);
  Preencher(dc, falta, RGB(255, 255, 255));
}

template <void (*Pintura)(HWND, HDC)>
void Pintar(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  Pintura(h, dc);
  EndPaint(h, &ps);
}

LRESULT CALLBACK ProcedimentoRotulo(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT:
      Pintar<PintarRotulo>(h);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks belong to the window, as on the system's labels
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcA(h, m, w, l);
      InvalidateRect(h, nullptr, FALSE);
      return r;
    }
    case WM_SETFONT:
      Trocar(h, kFonte, static_cast<LONG_PTR>(w));
      if (l) InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return Ler(h, kFonte);
    case STM_SETICON: {
      const LRESULT anterior = Trocar(h, kIcone, static_cast<LONG_PTR>(w));
      InvalidateRect(h, nullptr, FALSE);
      return anterior;
    }
    case STM_GETICON:
      return Ler(h, kIcone);
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

// A new range keeps the position inside it, as the system's bar does.
LRESULT DefinirFaixa(HWND h, LONG_PTR minimo, LONG_PTR maximo) {
  const LRESULT anterior = MAKELONG(static_cast<WORD>(Ler(h, kMinimo)), static_cast<WORD>(Ler(h, kMaximo)));
  Trocar(h, kMinimo, minimo);
  Trocar(h, kMaximo, maximo);
  Trocar(h, kPosicao, std::clamp(Ler(h, kPosicao), minimo, std::max(minimo, maximo)));
  InvalidateRect(h, nullptr, FALSE);
  return anterior;
}

LRESULT CALLBACK ProcedimentoBarra(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CREATE:
      DefinirFaixa(h, 0, 100);
      return 0;
    case WM_PAINT:
      Pintar<PintarBarra>(h);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case PBM_SETRANGE32:
      return DefinirFaixa(h, static_cast<int>(w), static_cast<int>(l));
    case PBM_SETPOS: {
      const LONG_PTR minimo = Ler(h, kMinimo), maximo = std::max(minimo, Ler(h, kMaximo));
      const LRESULT anterior = Trocar(h, kPosicao, std::clamp<LONG_PTR>(static_cast<int>(w), minimo, maximo));
      if (anterior != Ler(h, kPosicao)) InvalidateRect(h, nullptr, FALSE);
      return anterior;
    }
    case PBM_GETPOS:
      return Ler(h, kPosicao);
    case PBM_GETRANGE:
      if (auto* faixa = reinterpret_cast<PBRANGE*>(l)) {
        faixa->iLow = static_cast<int>(Ler(h, kMinimo));
        faixa->iHigh = static_cast<int>(Ler(h, kMaximo));
      }
      return Ler(h, w ? kMinimo : kMaximo);
    default:
      return DefWindowProcA(h, m, w, l);
  }
}

}  // namespace

void RegistrarClasse(HINSTANCE instancia, const char* nome, WNDPROC procedimento, HICON icone, int bytesExtras) {
  WNDCLASSEXA c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = procedimento;
  c.cbWndExtra = bytesExtras;
  c.hInstance = instancia;
  c.hIcon = icone;
  c.hIconSm = icone;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.lpszClassName = nome;
  RegisterClassExA(&c);
}

void RegistrarControles(HINSTANCE instancia) {
  RegistrarClasse(instancia, kClasseRotulo, ProcedimentoRotulo, nullptr, 2 * sizeof(LONG_PTR));
  RegistrarClasse(instancia, kClasseBarra, ProcedimentoBarra, nullptr, 3 * sizeof(LONG_PTR));
}

}  // namespace tavoran::win32
