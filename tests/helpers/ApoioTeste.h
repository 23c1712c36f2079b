#pragma once
// What the Windows tests share: the folders of the build, a scratch folder removed at the
// end, and waiting for a file to appear.
#include <windows.h>

#include <string>

namespace tavoran::testes {

// Folder of the running test program (build/windows/tests), without a trailing backslash.
inline std::string PastaDoTeste() {
  char caminho[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, caminho, MAX_PATH);
  std::string s = caminho;
  return s.substr(0, s.rfind('\\'));
}

inline std::string PastaAjudantes() { return PastaDoTeste() + "\\helpers"; }

// A fresh folder under the temporary folder, deleted with everything in it.
class PastaTemporaria {
 public:
  explicit PastaTemporaria(const std::string& nome) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    caminho_ = std::string(temp) + nome + "-" + std::to_string(GetCurrentProcessId());
    Remover(caminho_);
    CreateDirectoryA(caminho_.c_str(), nullptr);
  }
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;
  ~PastaTemporaria() { Remover(caminho_); }
  const std::string& Caminho() const { return caminho_; }
  std::string operator/(const std::string& nome) const { return caminho_ + "\\" + nome; }

  static void Remover(const std::string& pasta) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((pasta + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string nome = d.cFileName;
        if (nome == "." || nome == "..") continue;
        const std::string filho = pasta + "\\" + nome;
        SetFileAttributesA(filho.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remover(filho);
        else
          DeleteFileA(filho.c_str());
      } while (FindNextFileA(h, &d));
      FindClose(h);
    }
    RemoveDirectoryA(pasta.c_str());
  }

 private:
  std::string caminho_;
};

// Paths of the helpers below are UTF-8, handed to the ...W functions.
inline std::wstring Largo(const std::string& utf8) {
  std::wstring w(utf8.size(), L'\0');
  w.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), static_cast<int>(w.size()))));
  return w;
}

inline void GravarArquivo(const std::string& caminho, const std::string& bytes) {
  HANDLE h = CreateFileW(Largo(caminho).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  DWORD escritos = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr);
  CloseHandle(h);
}

// The whole file, empty when it cannot be read.
inline std::string LerArquivo(const std::string& caminho) {
  HANDLE h = CreateFileW(Largo(caminho).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes(1 << 20, '\0');
  DWORD lidos = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &lidos, nullptr);
  CloseHandle(h);
  bytes.resize(lidos);
  return bytes;
}

inline bool Existe(const std::string& caminho) {
  return GetFileAttributesW(Largo(caminho).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits up to limiteMs for a file to exist; true when it did.
inline bool EsperarArquivo(const std::string& caminho, DWORD limiteMs) {
  const ULONGLONG fim = GetTickCount64() + limiteMs;
  while (!Existe(caminho)) {
    if (GetTickCount64() > fim) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace tavoran::testes
