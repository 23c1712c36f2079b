#include "platform/win32/BibliotecasWin32.h"

#include <windows.h>

#include <atomic>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"
#include "platform/win32/BibliotecaDinamica.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

using EntradaRegistro = HRESULT(STDAPICALLTYPE*)();

// What a worker thread shares with the thread that started it.
struct Trabalho {
  EntradaRegistro entrada = nullptr;
  std::atomic<bool> falhou{false};
};

// The worker of this thread, so that a fault in it ends that worker alone.
thread_local Trabalho* trabalhoDaLinha = nullptr;

LONG WINAPI FiltroFalhas(EXCEPTION_POINTERS* excecao);

// The unhandled-exception filter is the process's own; a fault that no frame of the
// component handles ends its worker thread, anything else goes to the filter before ours.
class FiltroProcesso {
 public:
  FiltroProcesso() : anterior_(SetUnhandledExceptionFilter(FiltroFalhas)) {}
  LONG Repassar(EXCEPTION_POINTERS* excecao) const {
    return anterior_ ? anterior_(excecao) : EXCEPTION_CONTINUE_SEARCH;
  }

 private:
  LPTOP_LEVEL_EXCEPTION_FILTER anterior_;
};

const FiltroProcesso& Filtro() {
  static const FiltroProcesso filtro;
  return filtro;
}

LONG WINAPI FiltroFalhas(EXCEPTION_POINTERS* excecao) {
  if (trabalhoDaLinha != nullptr) {
    trabalhoDaLinha->falhou = true;
    ExitThread(excecao->ExceptionRecord->ExceptionCode);
  }
  return Filtro().Repassar(excecao);
}

DWORD WINAPI ExecutarTrabalho(void* parametro) {
  auto* trabalho = static_cast<Trabalho*>(parametro);
  trabalhoDaLinha = trabalho;
  const HRESULT r = trabalho->entrada();
  trabalhoDaLinha = nullptr;
  return static_cast<DWORD>(r);
}

}  // namespace

// A library left loaded for a worker that was still running.
struct BibliotecasWin32::Abandono {
  BibliotecaDinamica biblioteca;
  std::unique_ptr<Trabalho> trabalho;
  Handle linha;
  bool Terminou() const { return WaitForSingleObject(linha.get(), 0) == WAIT_OBJECT_0; }
};

namespace {

class BibliotecaWin32 : public IBiblioteca {
 public:
  BibliotecaWin32(BibliotecasWin32& dono, BibliotecaDinamica biblioteca)
      : dono_(dono), biblioteca_(std::move(biblioteca)) {}
  ~BibliotecaWin32() override {
    if (!abandonada_) return;
    auto abandono = std::make_unique<BibliotecasWin32::Abandono>();
    abandono->biblioteca = std::move(biblioteca_);
    abandono->trabalho = std::move(trabalho_);
    abandono->linha = std::move(linha_);
    dono_.Adotar(std::move(abandono));
  }
  BibliotecaWin32(const BibliotecaWin32&) = delete;
  BibliotecaWin32& operator=(const BibliotecaWin32&) = delete;

  bool TemFuncao(const std::string& nome) override {
    return biblioteca_.Funcao<FARPROC>(nome.c_str()) != nullptr;
  }

  Falha ExecutarEmLinha(const std::string& nome, std::uint32_t limiteMs, FimExecucao& fim) override {
    fim = FimExecucao::Retornou;
    if (abandonada_) return {5, "Chamada de procedimento ou argumento inválido"};
    auto trabalho = std::make_unique<Trabalho>();
    trabalho->entrada = biblioteca_.Funcao<EntradaRegistro>(nome.c_str());
    if (trabalho->entrada == nullptr) return FalhaDeErroWindows(ERROR_PROC_NOT_FOUND);
    Filtro();
    Handle linha(CreateThread(nullptr, 0, ExecutarTrabalho, trabalho.get(), 0, nullptr));
    if (!linha.Valido()) return FalhaDeErroWindows(GetLastError());
    if (WaitForSingleObject(linha.get(), limiteMs) != WAIT_OBJECT_0) {
      fim = FimExecucao::Abandonada;
      abandonada_ = true;
      trabalho_ = std::move(trabalho);
      linha_ = std::move(linha);
      return {};
    }
    if (trabalho->falhou) fim = FimExecucao::Falhou;
    return {};
  }

 private:
  BibliotecasWin32& dono_;
  BibliotecaDinamica biblioteca_;
  bool abandonada_ = false;
  std::unique_ptr<Trabalho> trabalho_;
  Handle linha_;
};

}  // namespace

BibliotecasWin32::BibliotecasWin32(std::shared_ptr<ImagensLidas> imagens) : imagens_(std::move(imagens)) {}

// Libraries whose workers still run at the end stay loaded: the process ends with them.
BibliotecasWin32::~BibliotecasWin32() {
  LiberarTerminados();
  for (auto& a : abandonos_) {
    a->biblioteca.Abandonar();
    (void)a->trabalho.release();  // the running worker still reads it
  }
}

void BibliotecasWin32::Adotar(std::unique_ptr<Abandono> abandono) {
  LiberarTerminados();
  abandonos_.push_back(std::move(abandono));
}

void BibliotecasWin32::LiberarTerminados() {
  std::erase_if(abandonos_, [](const std::unique_ptr<Abandono>& a) { return a->Terminou(); });
}

Falha BibliotecasWin32::Carregar(const std::string& caminho, std::unique_ptr<IBiblioteca>& biblioteca) {
  LiberarTerminados();
  // No "cannot load" box of the system for a file that is not a library.
  const UINT modoAnterior = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  BibliotecaDinamica carregada(ParaCp1252(caminho));
  const DWORD erro = GetLastError();
  SetErrorMode(modoAnterior);
  if (!carregada.Carregada()) return FalhaDeErroWindows(erro == 0 ? ERROR_BAD_EXE_FORMAT : erro);
  biblioteca = std::make_unique<BibliotecaWin32>(*this, std::move(carregada));
  return {};
}

Falha BibliotecasWin32::Exporta(const std::string& caminho, const std::string& funcao, bool& exporta) {
#ifdef _WIN64
  constexpr std::uint16_t kMaquina = kMaquinaAmd64;
#else
  constexpr std::uint16_t kMaquina = kMaquinaI386;
#endif
  exporta = false;
  const auto ficha = imagens_->Ficha(caminho, funcao);
  if (ficha->erroAbertura != 0) return FalhaDeErroWindows(ficha->erroAbertura);
  if (!ficha->valida || ficha->maquina != kMaquina) return FalhaDeErroWindows(ERROR_BAD_EXE_FORMAT);
  exporta = ficha->exporta.at(funcao);
  return {};
}

}  // namespace tavoran::win32
