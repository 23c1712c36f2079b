#pragma once
// A B+tree of fixed-length entries over the pager: the data tree (record id + record)
// and one index tree per key (key value + record id). Leaves are linked both ways.
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "engine/Paginador.h"

namespace tavoran::motor {

class ComparadorEntradas {
 public:
  virtual ~ComparadorEntradas() = default;
  // Orders two entries by their first TamanhoSeparador() bytes.
  virtual int Comparar(const std::uint8_t* a, const std::uint8_t* b) const = 0;
};

enum class Busca { MaiorIgual, Maior, MenorIgual, Menor, Primeiro, Ultimo };

class ArvoreB {
 public:
  // raiz points into the header, so that a new root is recorded there.
  ArvoreB(Paginador& paginador, std::uint32_t* raiz, const ComparadorEntradas& comparador,
          std::size_t tamanhoEntrada, std::size_t tamanhoSeparador);

  int Inserir(const std::uint8_t* entrada);     // 5 when an equal entry exists
  int Remover(const std::uint8_t* sonda);       // 4 when absent
  int Substituir(const std::uint8_t* entrada);  // replaces the equal entry; 4 when absent
  // Finds an entry relative to the probe (ignored for Primeiro/Ultimo): 0, 9 when none, 2.
  int Buscar(Busca modo, const std::uint8_t* sonda, std::vector<std::uint8_t>* encontrada);
  // Visits every entry in order; a non-zero result of the visitor stops the walk.
  int Percorrer(const std::function<int(const std::uint8_t*)>& visitar);
  // Walks the tree from its root, as searches do, and visits every entry in order: 2 when a
  // page is reached twice, entries or separators are out of order or outside what the parent
  // sends there, leaves lie at different depths, or the leaf chain does not link the leaves
  // in that order.
  int Verificar(const std::function<int(const std::uint8_t*)>& visitar);
  int LiberarPaginas();

 private:
  struct Passo {
    std::uint32_t pagina;
    int filho;  // -1: leftmost child
  };
  struct Verificacao {
    const std::function<int(const std::uint8_t*)>& visitar;
    std::set<std::uint32_t> vistas;
    int profundidade;             // of the leaves; -1 before the first
    std::uint32_t folhaAnterior;  // the leaf before in key order
    std::uint32_t proximaEsperada;  // its next-leaf link
  };
  int VerificarPagina(std::uint32_t numero, const std::vector<std::uint8_t>* inferior,
                      const std::vector<std::uint8_t>* superior, int nivel, Verificacao& v);
  // The entry found stands where the search asked relative to the probe.
  bool Satisfaz(Busca modo, const std::uint8_t* entrada, const std::uint8_t* sonda) const;
  // A page whose header was checked; its entries are read as they are touched, or all of
  // it at once when inteira.
  int ObterValidada(std::uint32_t numero, Pagina** p, bool inteira = false);
  // The entry a binary search over [lo, hi) compares next: the middle one, or, when that is
  // not in memory, the one in memory nearest to it, so that reads go only where needed.
  static int Sonda(const Pagina& p, int lo, int hi, std::size_t passo, std::size_t deslocamento, std::size_t tamanho);
  int Descer(const std::uint8_t* sonda, bool estrito, std::vector<Passo>* caminho, std::uint32_t* folha);
  int InserirNoPai(std::vector<Passo>& caminho, const std::uint8_t* separador, std::uint32_t direita);
  int RetirarFolhaVazia(std::vector<Passo>& caminho, std::uint32_t folha);
  int LocalizarIgual(const std::uint8_t* sonda, std::uint32_t* folha, int* indice);
  std::size_t CapacidadeFolha() const;
  // The entry and separator lengths, which fix what a page of this tree may hold.
  std::uint32_t Forma() const { return static_cast<std::uint32_t>(tamEntrada_ << 16 | tamSep_); }
  std::size_t CapacidadeInterna() const;

  Paginador& pg_;
  std::uint32_t* raiz_;
  const ComparadorEntradas& cmp_;
  std::size_t tamEntrada_;
  std::size_t tamSep_;
};

}  // namespace tavoran::motor
