#pragma once
// One open record file: its keys, records, current position and locks, and the record
// operations of the interface on top of the data tree and the index trees.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/ArquivoSO.h"
#include "engine/ArvoreB.h"
#include "engine/Paginador.h"

namespace tavoran::motor {

class ComparadorId : public ComparadorEntradas {
 public:
  int Comparar(const std::uint8_t* a, const std::uint8_t* b) const override;
};

// Orders index entries (key value + record id) segment by segment by their types.
class ComparadorChave : public ComparadorEntradas {
 public:
  explicit ComparadorChave(const Chave& chave) : chave_(&chave) {}
  int Comparar(const std::uint8_t* a, const std::uint8_t* b) const override;
  int CompararValor(const std::uint8_t* a, const std::uint8_t* b) const;  // key value only

 private:
  const Chave* chave_;
};

class ArquivoBtrieve {
 public:
  // Create (14) from a file-specification buffer; substituir false refuses an existing file.
  static int Criar(const std::string& caminho, const std::uint8_t* espec, std::uint32_t tamanho, bool substituir);

  // copiaLocal: the workstation's copy of the pages may serve reads (CopiaLocal.h); the
  // verifier reads the file itself.
  int Abrir(const std::string& caminho, int modo, const std::string& proprietario, bool copiaLocal = true);
  void Fechar();

  int Inserir(std::uint8_t* dados, std::uint32_t* tamanho, std::uint8_t* chave, std::uint8_t tamChave,
              int numeroChave, bool transacao);
  int Alterar(std::uint8_t* dados, std::uint32_t* tamanho, int numeroChave, bool transacao);
  int Excluir(bool transacao);
  int Obter(int operacao, int vies, bool somenteChave, std::uint8_t* dados, std::uint32_t* tamanho,
            std::uint8_t* chave, std::uint8_t tamChave, int numeroChave);
  int Passo(int operacao, int vies, std::uint8_t* dados, std::uint32_t* tamanho);
  int ObterPosicao(std::uint8_t* dados, std::uint32_t* tamanho);
  int ObterDireto(int vies, std::uint8_t* dados, std::uint32_t* tamanho, std::uint8_t* chave, std::uint8_t tamChave,
                  int numeroChave);
  int Estatistica(std::uint8_t* dados, std::uint32_t* tamanho);
  int Desbloquear(int numeroChave, const std::uint8_t* dados, std::uint32_t tamanho);
  int DefinirProprietario(const std::uint8_t* dados, std::uint32_t tamanho, int modo, bool transacao);
  int RemoverProprietario(bool transacao);
  int CriarIndice(const std::uint8_t* espec, std::uint32_t tamanho, const std::uint8_t* chave,
                  std::uint8_t tamChave, int numeroChave, bool transacao);
  int ExcluirIndice(int numeroChave, bool transacao);
  int Verificar();

  // Transaction end or abort for this file.
  int ConfirmarTransacao();
  void AbortarTransacao();
  bool TemEscritaPendente() const { return pg_ && pg_->EscritaAtiva(); }

 private:
  struct Cursor {
    int chave = -1;                  // key path of the position; -1 after a Step
    std::vector<std::uint8_t> entrada;  // index entry of the position (key value + id)
    std::uint32_t id = 0;            // current record, 0 when it was deleted
    std::uint32_t idPasso = 0;       // physical position for Step Next/Previous
    std::vector<std::uint8_t> imagem;   // record as last read, to detect foreign changes
  };

  std::vector<std::uint8_t> ExtrairChave(const Chave& ch, const std::uint8_t* registro) const;
  std::vector<std::uint8_t> EntradaIndice(const Chave& ch, const std::uint8_t* registro, std::uint32_t id) const;
  int Localizar(int operacao, int numeroChave, std::size_t tam, const std::uint8_t* chave, bool lerRegistro,
                std::vector<std::uint8_t>* achada, std::uint32_t* id, std::vector<std::uint8_t>* registro);
  int LerRegistro(std::uint32_t id, std::vector<std::uint8_t>* registro);
  int ExisteValor(std::size_t k, const std::vector<std::uint8_t>& valor, std::uint32_t ignorarId, bool* existe);
  int AtribuirAutoIncremento(std::uint8_t* registro);
  int AplicarBloqueio(int vies, std::uint32_t id, bool* esperar);
  // A read inside the read protocol: `ler` finds the record (its id), the lock bias is
  // applied while the read holds, and a record another open holds is waited for outside
  // it (biases 100 and 300).
  int LerComVies(int vies, bool otimista, const std::function<int(std::uint32_t*)>& ler);
  bool BloqueadoPorMim(std::uint32_t id) const;
  // A write locks the record it changes, so that no other open locks it between the check
  // and the commit; the lock lasts until the commit, or the transaction's end.
  int ReservarRegistro(std::uint32_t id);
  void SoltarSeLivre(std::uint32_t id);
  void LiberarBloqueioSimples();
  void LiberarBloqueiosEscrita();
  int IniciarEscrita(bool transacao);
  // Ends a write call: commits it (outside a transaction), or, on failure, undoes what this
  // call alone changed and locked.
  int TerminarEscrita(int status, bool transacao);
  ArvoreB ArvoreDados(const ComparadorId& cmp);
  int ChaveValida(int numeroChave) const;

  ArquivoSO arq_;
  std::unique_ptr<Paginador> pg_;
  std::optional<std::string> pastaCopias_;  // where this open's copy is kept, when it is
  bool somenteLeitura_ = false;
  bool donoVerificado_ = false;
  Cursor cursor_;
  std::uint32_t bloqueioSimples_ = 0;
  std::set<std::uint32_t> bloqueiosMultiplos_;
  std::set<std::uint32_t> bloqueiosEscrita_;  // records this open's writes changed, locked
  std::uint32_t reservadoNaChamada_ = 0;      // the one the current call locked
  bool escritaIniciadaNaChamada_ = false;     // the current call began the write
};

// Walks every tree of a closed file and checks it against its records: 0, or 2 / 30 / 12.
int VerificarArquivo(const std::string& caminho);

}  // namespace tavoran::motor
