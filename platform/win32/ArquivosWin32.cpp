#include "platform/win32/ArquivosWin32.h"

#include <windows.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

Falha UltimoErro() { return FalhaDeErroWindows(GetLastError()); }

Falha Resultado(BOOL ok) { return ok ? Falha{} : UltimoErro(); }

// An antivirus scanner holds a freshly written file for a moment without sharing it:
// an operation that meets a sharing or lock violation is tried again, for well under a second.
template <class F>
Falha ComNovasTentativas(F&& operacao) {
  constexpr int kTentativas = 6;
  constexpr DWORD kPausaMs = 50;
  for (int i = 1;; ++i) {
    if (operacao()) return {};
    const DWORD erro = GetLastError();
    if (i == kTentativas || (erro != ERROR_SHARING_VIOLATION && erro != ERROR_LOCK_VIOLATION))
      return FalhaDeErroWindows(erro);
    Sleep(kPausaMs);
  }
}

class BuscaArquivos {
 public:
  explicit BuscaArquivos(HANDLE h) : h_(h) {}
  BuscaArquivos(const BuscaArquivos&) = delete;
  BuscaArquivos& operator=(const BuscaArquivos&) = delete;
  ~BuscaArquivos() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class ArquivoAbertoWin32 : public IArquivoAberto {
 public:
  explicit ArquivoAbertoWin32(Handle h) : h_(std::move(h)) {}
  Falha Escrever(const std::string& bytes) override {
    std::size_t feito = 0;
    while (feito < bytes.size()) {
      DWORD escritos = 0;
      if (!WriteFile(h_.get(), bytes.data() + feito, static_cast<DWORD>(bytes.size() - feito), &escritos, nullptr))
        return UltimoErro();
      feito += escritos;
    }
    return {};
  }

 private:
  Handle h_;
};

}  // namespace

std::vector<EntradaPasta> ArquivosWin32::Listar(const std::string& padrao) {
  std::vector<EntradaPasta> saida;
  WIN32_FIND_DATAA dados{};
  BuscaArquivos busca(FindFirstFileA(ParaCp1252(padrao).c_str(), &dados));
  if (busca.get() == INVALID_HANDLE_VALUE) return saida;
  do {
    const std::string nome = dados.cFileName;
    if (nome == "." || nome == "..") continue;
    saida.push_back({DeCp1252(nome), (dados.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                     (dados.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                     (dados.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
  } while (FindNextFileA(busca.get(), &dados));
  return saida;
}

// A plain name is looked up without opening its folder: one query of the name's attributes
// instead of a directory search (a round of requests to the system for each).
bool ArquivosWin32::ListaArquivo(const std::string& caminho) {
  if (caminho.find_first_of("*?") != std::string::npos) return IArquivos::ListaArquivo(caminho);
  WIN32_FILE_ATTRIBUTE_DATA atributos{};
  if (!GetFileAttributesExA(ParaCp1252(imagens_->NoDisco(caminho)).c_str(), GetFileExInfoStandard, &atributos))
    // A file the system keeps to itself (a paging file) is still found by the search.
    return GetLastError() == ERROR_SHARING_VIOLATION && IArquivos::ListaArquivo(caminho);
  return (atributos.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Falha ArquivosWin32::CriarPasta(const std::string& pasta) {
  return Resultado(CreateDirectoryA(ParaCp1252(pasta).c_str(), nullptr));
}

Falha ArquivosWin32::Copiar(const std::string& origem, const std::string& destino) {
  const std::string de = ParaCp1252(origem), para = ParaCp1252(destino);
  imagens_->Esquecer(destino);
  const Falha f = ComNovasTentativas([&] { return CopyFileA(de.c_str(), para.c_str(), FALSE); });
  if (!f.Ocorreu()) imagens_->Transferir(origem, destino);
  return f;
}

Falha ArquivosWin32::Excluir(const std::string& arquivo) {
  const std::string nome = ParaCp1252(arquivo);
  imagens_->Esquecer(arquivo);
  return ComNovasTentativas([&] { return DeleteFileA(nome.c_str()); });
}

Falha ArquivosWin32::Mover(const std::string& origem, const std::string& destino) {
  const std::string de = ParaCp1252(origem), para = ParaCp1252(destino);
  const Falha f = ComNovasTentativas(
      [&] { return MoveFileExA(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); });
  if (!f.Ocorreu()) imagens_->Transferir(origem, destino);
  return f;
}

// The version resource of a program or library read from the file itself, where the
// system's version functions would map it whole; other files (16-bit programs, say) go to them.
bool ArquivosWin32::LerVersao(const std::string& arquivo, VersaoFixa& versao) {
  const auto ficha = imagens_->Ficha(arquivo);
  if (ficha->valida) {
    if (ficha->versao) versao = *ficha->versao;
    return ficha->versao.has_value();
  }
  const std::string nome = ParaCp1252(arquivo);
  DWORD ignorado = 0;
  const DWORD tamanho = GetFileVersionInfoSizeA(nome.c_str(), &ignorado);
  if (tamanho == 0) return false;
  std::string bloco(tamanho, '\0');
  if (!GetFileVersionInfoA(nome.c_str(), 0, tamanho, bloco.data())) return false;
  VS_FIXEDFILEINFO* fixa = nullptr;
  UINT tamanhoFixa = 0;
  if (!VerQueryValueA(bloco.data(), "\\", reinterpret_cast<void**>(&fixa), &tamanhoFixa) || fixa == nullptr ||
      tamanhoFixa < sizeof(VS_FIXEDFILEINFO))
    return false;
  versao.maisSignificativa = fixa->dwFileVersionMS;
  versao.menosSignificativa = fixa->dwFileVersionLS;
  return true;
}

bool ArquivosWin32::LerDataModificacao(const std::string& arquivo, DataHora& data) {
  WIN32_FILE_ATTRIBUTE_DATA atributos{};
  if (!GetFileAttributesExA(ParaCp1252(imagens_->NoDisco(arquivo)).c_str(), GetFileExInfoStandard, &atributos))
    return false;
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&atributos.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) return false;
  data = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  return true;
}

Falha ArquivosWin32::AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) {
  Handle h(CreateFileA(ParaCp1252(arquivo).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Valido()) return UltimoErro();
  aberto = std::make_unique<ArquivoAbertoWin32>(std::move(h));
  return {};
}

Falha ArquivosWin32::LerTudo(const std::string& arquivo, std::string& bytes) {
  Handle h(CreateFileA(ParaCp1252(arquivo).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Valido()) return UltimoErro();
  std::string conteudo;
  char bloco[65536];
  DWORD lidos = 0;
  for (;;) {
    if (!ReadFile(h.get(), bloco, sizeof bloco, &lidos, nullptr)) return UltimoErro();
    if (lidos == 0) break;
    conteudo.append(bloco, lidos);
  }
  bytes = std::move(conteudo);
  return {};
}

}  // namespace tavoran::win32
