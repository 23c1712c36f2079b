#pragma once
// What the fleet page shows, read from the share: the newest reports of each computer under
// Logs\RYX, the update reports per day and the computers' lock files, each tried now. The
// status file's workstations come through the tavadmin command that reads it.
#include <map>
#include <string>
#include <vector>

#include "platform/Arquivos.h"
#include "platform/Btrieve.h"

namespace tavoran::tavadmin {

// One record of SELVCOMP.BTR, fields trimmed.
struct EstacaoFrota {
  std::string maquina, status, data, hora, usuario, forcar;
};

// File names (no folder) of a computer's newest reports; empty when it has none.
struct RelatoriosComputador {
  std::string nome;  // the computer as its reports name it
  std::string atualizacao, inconsistencia;
};

enum class SituacaoBloqueio { kEmUso, kAbandonado, kNaoVerificado };

struct BloqueioFrota {
  std::string arquivo, maquina;
  SituacaoBloqueio situacao = SituacaoBloqueio::kNaoVerificado;
  std::string falha;  // "status - description" when not verified
};

struct Frota {
  std::vector<EstacaoFrota> estacoes;                      // in key order
  std::map<std::string, RelatoriosComputador> relatorios;  // computer in upper case -> reports
  std::map<std::string, int> atualizacoesPorDia;           // "YYYY-MM-DD" -> update reports of that day
  std::vector<BloqueioFrota> bloqueios;                    // in name order
};

// The computer and the "YYYY-MM-DD_hh-mm-ss" stamp of "<COMPUTER> (<stamp>).HTML"; false
// for any other name.
bool LerNomeRelatorio(const std::string& nome, std::string& computador, std::string& carimbo);

class LeitorFrota {
 public:
  LeitorFrota(IBtrieve& btrieve, IArquivos& arquivos, std::string dirT);

  // Update reports from Logs\RYX, inconsistency reports from Logs\RYX\Erros.
  void LerRelatorios(Frota& frota);
  // Every RYX<COMPUTER>.BLQ of the main directory, opened exclusively for a moment:
  // status 88 means an update holds it now.
  void LerBloqueios(Frota& frota);

 private:
  IBtrieve& btrieve_;
  IArquivos& arquivos_;
  std::string dirT_;
};

}  // namespace tavoran::tavadmin
