#pragma once
// The engine's only contact with the operating system: one open file with positioned
// reads and writes, and byte-range locks held per open (POSIX open-file-description
// locks, Windows LockFileEx), so that two opens conflict even inside one process.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavoran::motor {

enum class Criacao { Existente, Nova, Substituir };
enum class ResultadoAbertura { Ok, NaoExiste, JaExiste, EmUsoExclusivo, SemAcesso, Erro };

// Lock offsets far beyond any data, so a lock never covers bytes that are read or written.
inline constexpr std::uint64_t kBaseBloqueios = 0x4000000000000000ull;
inline constexpr std::uint64_t kBloqueioModo = kBaseBloqueios;            // shared per open, exclusive for -4
inline constexpr std::uint64_t kBloqueioEscrita = kBaseBloqueios + 1;     // one writer at a time
inline constexpr std::uint64_t kBloqueioConfirmacao = kBaseBloqueios + 2; // readers shared, commit exclusive
inline constexpr std::uint64_t kBloqueioTransacao = kBaseBloqueios + 3;   // held through a transaction
inline constexpr std::uint64_t kBloqueioPendente = kBaseBloqueios + 4;    // shared by opens that committed
inline constexpr std::uint64_t kBloqueioRegistros = kBaseBloqueios + 16;  // + record id

class ArquivoSO {
 public:
  ArquivoSO() = default;
  ~ArquivoSO();
  ArquivoSO(const ArquivoSO&) = delete;
  ArquivoSO& operator=(const ArquivoSO&) = delete;

  // Opens read-write (or read-only when asked); exclusive keeps every other open out.
  ResultadoAbertura Abrir(const std::string& caminho, Criacao criacao, bool exclusivo, bool somenteLeitura = false);
  void Fechar();
  bool Aberto() const;
  const std::string& Caminho() const { return caminho_; }

  // Reads up to n bytes at pos; *lidos receives what was read (short at end of file).
  bool Ler(std::uint64_t pos, void* destino, std::size_t n, std::size_t* lidos);
  bool Gravar(std::uint64_t pos, const void* origem, std::size_t n);
  bool Tamanho(std::uint64_t* tamanho);
  // The size and the last-write time (in the system's own units), in one question.
  bool Atributos(std::uint64_t* tamanho, std::uint64_t* alteracao);
  bool Truncar(std::uint64_t tamanho);
  bool Sincronizar();

  // One-byte locks at the offsets above; esperar blocks until granted.
  bool Bloquear(std::uint64_t pos, bool exclusivo, bool esperar);
  void Desbloquear(std::uint64_t pos);
  // True when another open holds a lock on pos, shared or exclusive.
  bool BloqueadoPorOutro(std::uint64_t pos);

  static bool Existe(const std::string& caminho);
  static void Pausar(unsigned microssegundos);
  // The folder and every missing folder above it; true when it exists afterwards.
  static bool CriarPastas(const std::string& pasta);
  // Puts de in place of para, replacing it, in one step.
  static bool Renomear(const std::string& de, const std::string& para);
  static void Excluir(const std::string& caminho);
  // The system's folder separator, for joining a folder and a name.
#ifdef _WIN32
  static constexpr char kSeparador = '\\';
#else
  static constexpr char kSeparador = '/';
#endif

 private:
  std::string caminho_;
#ifdef _WIN32
  void* h_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace tavoran::motor
