#pragma once
// A small in-memory Btrieve engine behind IBtrieve for tests of the record classes and
// tools: Create, Open (normal and exclusive, 88 on conflict), Close, Insert, Update,
// Delete, the Get operations 5-13 with lock biases, Stat, transactions, Version, Reset.
// Files are keyed by their name (case-insensitive); keys follow the file specification.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Btrieve.h"
#include "tests/fakes/Falsos.h"

namespace tavoran::testes {

class MotorBtrieveFalso : public IBtrieve {
 public:
  struct Segmento {
    std::size_t posicao = 0, tamanho = 0;  // 0-based offset
  };
  struct Chave {
    std::vector<Segmento> segmentos;
    bool duplicadas = false, modificavel = false;
  };
  struct ArquivoBtr {
    std::size_t tamanhoRegistro = 0;
    std::int16_t tamanhoPagina = 0;
    std::vector<Chave> chaves;
    std::map<long, std::string> registros;  // id -> record
    long proximoId = 1;
  };

  std::map<std::string, ArquivoBtr> arquivos;  // upper-case name -> file
  std::set<std::string> exclusivosDeOutros;    // held exclusively by another process: opens answer 88
  std::set<std::string> danificados;           // opens answer 2
  std::string versao = std::string("\x08\x00\x3C\x00N", 5);
  std::int16_t statusInserirForcado = 0;  // an Insert answers this once when not 0
  int insercoesAteFalha = -1;             // answers 18 (disk full) after this many inserts
  int chamadas = 0;
  ArquivosFalsos* espelho = nullptr;  // when set, every created file also appears there

  std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                      void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) override;

  // Records of a file in the order of a key.
  std::vector<std::string> Registros(const std::string& arquivo, std::size_t chave = 0);
  bool Aberto(const std::string& arquivo) const;

 private:
  struct Abertura {
    std::string arquivo;
    bool exclusivo = false;
    long atual = 0;  // current record id, 0 = none
    std::size_t chaveAtual = 0;
  };
  std::int16_t Criar(const std::string& nome, const char* especificacao, std::int8_t numeroChave);
  std::int16_t Abrir(const std::string& nome, char* bloco, std::int8_t modo);
  std::int16_t Ler(Abertura& a, int operacao, char* dados, std::uint32_t* tamanhoDados, char* chave,
                   std::uint8_t tamanhoChave, std::int8_t numeroChave);
  std::int16_t Gravar(Abertura& a, bool inserir, const char* dados, std::uint32_t tamanho, char* chave);
  std::int16_t Estatisticas(ArquivoBtr& f, char* dados);
  Abertura* DoBloco(const void* bloco);
  static std::string ValorChave(const Chave& c, const std::string& registro);
  std::vector<long> Ordem(const ArquivoBtr& f, std::size_t chave) const;

  std::map<int, Abertura> aberturas_;
  int proximaAbertura_ = 1;
  bool emTransacao_ = false;
  std::map<std::string, ArquivoBtr> copiaTransacao_;
};

}  // namespace tavoran::testes
