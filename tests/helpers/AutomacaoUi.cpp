#include "tests/helpers/AutomacaoUi.h"

#include <tlhelp32.h>

#include "platform/win32/ControlesJanela.h"

namespace tavoran::testes {
namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Classe(HWND h) {
  char nome[64] = {};
  GetClassNameA(h, nome, sizeof nome);
  return nome;
}

struct Busca {
  DWORD idProcesso;
  const char* classe;
  std::vector<HWND> achadas;
};

BOOL CALLBACK ColetarJanela(HWND h, LPARAM l) {
  auto* busca = reinterpret_cast<Busca*>(l);
  DWORD dono = 0;
  GetWindowThreadProcessId(h, &dono);
  if (dono == busca->idProcesso && IsWindowVisible(h) && Classe(h) == busca->classe) busca->achadas.push_back(h);
  return TRUE;
}

BOOL CALLBACK ColetarBotao(HWND h, LPARAM l) {
  if (Classe(h) == "Button") reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

std::vector<HWND> Botoes(HWND caixa) {
  std::vector<HWND> botoes;
  EnumChildWindows(caixa, ColetarBotao, reinterpret_cast<LPARAM>(&botoes));
  return botoes;
}

std::string SemAtalho(std::string rotulo) {
  std::string saida;
  for (char c : rotulo)
    if (c != '&') saida += c;
  return saida;
}

constexpr int kIdTextoCaixa = 0xFFFF;  // the static control that holds a message box's text

}  // namespace

std::string TextoDaJanela(HWND janela) {
  const int n = GetWindowTextLengthW(janela);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  const int lidos = GetWindowTextW(janela, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(lidos > 0 ? lidos : 0));
  return Utf8(w);
}

std::vector<CaixaNaTela> CaixasDoProcesso(DWORD idProcesso) {
  Busca busca{idProcesso, "#32770", {}};
  EnumWindows(ColetarJanela, reinterpret_cast<LPARAM>(&busca));
  std::vector<CaixaNaTela> caixas;
  for (HWND h : busca.achadas) {
    CaixaNaTela c;
    c.janela = h;
    c.dono = GetWindow(h, GW_OWNER);
    c.titulo = TextoDaJanela(h);
    if (HWND texto = GetDlgItem(h, kIdTextoCaixa)) c.texto = TextoDaJanela(texto);
    for (HWND b : Botoes(h)) c.botoes.push_back(SemAtalho(TextoDaJanela(b)));
    caixas.push_back(std::move(c));
  }
  return caixas;
}

std::optional<CaixaNaTela> EsperarCaixa(DWORD idProcesso, DWORD limiteMs, HANDLE processo) {
  const ULONGLONG fim = GetTickCount64() + limiteMs;
  do {
    auto caixas = CaixasDoProcesso(idProcesso);
    // A box is ready once its buttons exist.
    if (!caixas.empty() && !caixas.front().botoes.empty()) return caixas.front();
    if (processo != nullptr && WaitForSingleObject(processo, 0) == WAIT_OBJECT_0) return std::nullopt;
    Sleep(50);
  } while (GetTickCount64() < fim);
  return std::nullopt;
}

bool PressionarBotao(const CaixaNaTela& caixa, const std::string& rotulo) {
  for (HWND b : Botoes(caixa.janela)) {
    if (SemAtalho(TextoDaJanela(b)) != rotulo) continue;
    PostMessageA(caixa.janela, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED), reinterpret_cast<LPARAM>(b));
    return true;
  }
  return false;
}

bool PressionarBotaoId(const CaixaNaTela& caixa, int id) {
  HWND b = GetDlgItem(caixa.janela, id);
  if (b == nullptr) return false;
  PostMessageA(caixa.janela, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
  return true;
}

HWND JanelaVisivelDoProcesso(DWORD idProcesso, const char* classe) {
  Busca busca{idProcesso, classe, {}};
  EnumWindows(ColetarJanela, reinterpret_cast<LPARAM>(&busca));
  return busca.achadas.empty() ? nullptr : busca.achadas.front();
}

HWND RotuloDoPasso(DWORD idProcesso) {
  HWND janela = JanelaVisivelDoProcesso(idProcesso, "frmInicial");
  if (janela == nullptr) return nullptr;
  // The title, then the step, then the process description: the window's third label.
  HWND rotulo = nullptr;
  for (int i = 0; i < 3; ++i) {
    rotulo = FindWindowExA(janela, rotulo, win32::kClasseRotulo, nullptr);
    if (rotulo == nullptr) return nullptr;
  }
  return rotulo;
}

ProcessoCongelado::ProcessoCongelado(DWORD idProcesso) {
  HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL ok = Thread32First(foto, &t); ok; ok = Thread32Next(foto, &t)) {
    if (t.th32OwnerProcessID != idProcesso) continue;
    if (HANDLE h = OpenThread(THREAD_SUSPEND_RESUME, FALSE, t.th32ThreadID)) {
      SuspendThread(h);
      linhas_.push_back(h);
    }
  }
  CloseHandle(foto);
}

ProcessoCongelado::~ProcessoCongelado() {
  for (HANDLE h : linhas_) {
    ResumeThread(h);
    CloseHandle(h);
  }
}

}  // namespace tavoran::testes
