// A library or program with nothing in it but what the build adds (a version resource).
#include <windows.h>

#ifdef COMPONENTE_EXE
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
#else
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
