#pragma once
// The progress window's own label and bar. Loading the common-controls library (which the
// system's label and bar bring in) costs every start about 20 ms under Wine, and the window
// needs only text, an icon and a bar: these draw themselves. The bar answers the progress-bar
// messages (PBM_SETRANGE32, PBM_SETPOS, PBM_GETPOS, PBM_GETRANGE), so other programs read it
// as before.
#include <windows.h>

namespace tavoran::win32 {

// A label: its window text on white in the font given by WM_SETFONT, words wrapped, no
// prefix; with an icon given by STM_SETICON, that icon at its system size instead.
inline constexpr const char* kClasseRotulo = "TavoranRotulo";
// A bar filled from the left in proportion to its position within its range.
inline constexpr const char* kClasseBarra = "TavoranBarra";

// Registers a window class of this module with the arrow cursor; a second call finds it
// registered.
void RegistrarClasse(HINSTANCE instancia, const char* nome, WNDPROC procedimento, HICON icone = nullptr,
                     int bytesExtras = 0);
// Registers both controls' classes.
void RegistrarControles(HINSTANCE instancia);

}  // namespace tavoran::win32
