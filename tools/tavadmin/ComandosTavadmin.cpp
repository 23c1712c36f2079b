#include "tools/tavadmin/ComandosTavadmin.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>

#include "btrieve/clsTavBtr20.h"
#include "platform/Texto.h"
#include "records/clsSelVcomp.h"
#include "records/clsSssVersao.h"
#include "tools/tavadmin/EnderecoPagina.h"
#include "tools/tavadmin/LeitorFrota.h"
#include "tools/tavadmin/ManifestoVersao.h"
#include "tools/tavadmin/PaginaPainel.h"
#include "tools/tavadmin/RelogioFerramenta.h"

namespace tavoran::tavadmin {
namespace {

namespace Op = OperacaoBtrieve;
namespace St = StatusBtrieve;

const char* const kUso =
    "uso: tavadmin <comando> [argumentos]\n"
    "  estacoes <DirT>                          lista as estações do arquivo de status (SELVCOMP.BTR)\n"
    "  forcar <DirT> <máquina> <1|0>            liga (1) ou desliga (0) a atualização forçada da estação\n"
    "  remover <DirT> <máquina>                 exclui o registro da estação\n"
    "  criar-status <DirT>                      cria o arquivo de status vazio\n"
    "  gravar-estacao <DirT> <máquina> <status> <data AAAAMMDD> <hora hh:mm:ss> <usuário> <forçar 1|0>\n"
    "                                           insere ou altera o registro de uma estação\n"
    "  versoes <pasta> [sistema]                lista o arquivo de versões (sistema KEM por omissão) em CSV\n"
    "  importar <pasta> <manifesto.csv> [sistema]\n"
    "                                           substitui o conteúdo do arquivo de versões pelo manifesto\n"
    "                                           (tudo ou nada)\n"
    "  verificar <arquivo>                      verifica a integridade de um arquivo Btrieve\n"
    "  painel <DirT> <página.html>              grava o painel das estações em HTML: status, atualização\n"
    "                                           forçada, relatórios, bloqueios e atualizações por dia\n";

// Why a file operation failed, in words an administrator can act on.
std::string ExplicarFalha(const std::string& arquivo, std::int32_t numero, const std::string& descricao) {
  if (numero == St::kArquivoNaoEncontrado || numero == 100070 || numero == 100088 || numero == 103978)
    return "O arquivo \"" + arquivo + "\" não existe.";
  if (numero == St::kModoIncompativel)
    return "O arquivo \"" + arquivo + "\" está aberto em modo exclusivo por outro processo (status 88). Tente novamente "
           "quando a atualização em andamento terminar.";
  if (numero == 2 || numero == 30)
    return "O arquivo \"" + arquivo + "\" está danificado ou não é um arquivo Btrieve (status " +
           std::to_string(numero) + ": " + descricao + ")";
  return "Falha no arquivo \"" + arquivo + "\": " + std::to_string(numero) + " - " + descricao;
}

class Comandos {
 public:
  explicit Comandos(Contexto& c) : c_(c) {}

  int Falhar(const std::string& mensagem) {
    c_.erros << "tavadmin: " << mensagem << "\n";
    return kSaidaFalha;
  }
  template <class R>
  int FalharRegistro(R& registro, const std::string& arquivo) {
    return Falhar(ExplicarFalha(arquivo, registro.ErroNumero(), registro.ErroDescricao()));
  }

  int Estacoes(const std::vector<std::string>& a);
  int Forcar(const std::vector<std::string>& a);
  int Remover(const std::vector<std::string>& a);
  int CriarStatus(const std::vector<std::string>& a);
  int GravarEstacao(const std::vector<std::string>& a);
  int Versoes(const std::vector<std::string>& a);
  int Importar(const std::vector<std::string>& a);
  int Verificar(const std::vector<std::string>& a);
  int Painel(const std::vector<std::string>& a);

 private:
  bool AbrirStatus(clsSelVcomp& status, const std::string& dirT, int& saida);
  // Every record of the status file in key order; false when it cannot be read to the end.
  bool PercorrerEstacoes(const std::string& dirT, const std::function<void(const clsSelVcomp&)>& cada, int& saida);
  bool SaidaNaoEhPasta(const std::string& arquivo, int& saida);
  bool GravarPagina(const std::string& arquivo, const std::string& bytes, int& saida);
  bool LocalizarEstacao(clsSelVcomp& status, const std::string& maquina, int& saida);
  bool SubstituirVersoes(clsSssVersao& versao, const std::vector<EntradaVersao>& entradas, std::string& falha);

  Contexto& c_;
};

bool Comandos::AbrirStatus(clsSelVcomp& status, const std::string& dirT, int& saida) {
  status.Diretorio(dirT);
  if (status.Abrir(Op::kModoNormal, "")) return true;
  saida = FalharRegistro(status, status.Arquivo());
  return false;
}

bool Comandos::LocalizarEstacao(clsSelVcomp& status, const std::string& maquina, int& saida) {
  if (Aparar(maquina).empty()) {
    saida = Falhar("Informe o nome da máquina.");
    return false;
  }
  // As typed first, then in upper case, the form of computer names.
  status.MontarChave0(Aparar(maquina));
  if (status.Ler(Op::kObterIgual)) return true;
  if (status.ErroNumero() == St::kChaveNaoEncontrada && Maiusculas(Aparar(maquina)) != Aparar(maquina)) {
    status.MontarChave0(Maiusculas(Aparar(maquina)));
    if (status.Ler(Op::kObterIgual)) return true;
  }
  saida = status.ErroNumero() == St::kChaveNaoEncontrada
              ? Falhar("A estação \"" + maquina + "\" não está no arquivo \"" + status.Arquivo() + "\".")
              : FalharRegistro(status, status.Arquivo());
  return false;
}

bool Comandos::PercorrerEstacoes(const std::string& dirT, const std::function<void(const clsSelVcomp&)>& cada,
                                 int& saida) {
  clsSelVcomp status(c_.btrieve, c_.arquivos);
  if (!AbrirStatus(status, dirT, saida)) return false;
  for (bool lido = status.Ler(Op::kObterPrimeiro); lido; lido = status.Ler(Op::kObterProximo)) cada(status);
  if (status.ErroNumero() == St::kFimArquivo) return true;
  saida = FalharRegistro(status, status.Arquivo());
  return false;
}

int Comandos::Estacoes(const std::vector<std::string>& a) {
  int saida = kSaidaOk, quantidade = 0;
  std::ostringstream linhas;
  const bool lidas = PercorrerEstacoes(
      a[0],
      [&](const clsSelVcomp& status) {
        linhas << status.Maquina() << " " << status.Status() << "      " << status.Data() << " " << status.Hora()
               << " " << status.Usuario() << " " << status.ForcarAtualizaComponentes() << "\n";
        ++quantidade;
      },
      saida);
  if (!lidas) return saida;
  c_.saida << "Máquina                        Status Data     Hora     Usuário              Forçar\n" << linhas.str();
  c_.saida << quantidade << (quantidade == 1 ? " estação.\n" : " estações.\n");
  return kSaidaOk;
}

int Comandos::Forcar(const std::vector<std::string>& a) {
  if (a[2] != "1" && a[2] != "0") return Falhar("O indicador de atualização forçada deve ser 1 ou 0, não \"" + a[2] + "\".");
  clsSelVcomp status(c_.btrieve, c_.arquivos);
  int saida = kSaidaOk;
  if (!AbrirStatus(status, a[0], saida) || !LocalizarEstacao(status, a[1], saida)) return saida;
  status.ForcarAtualizaComponentes(a[2]);
  if (!status.Gravar()) return FalharRegistro(status, status.Arquivo());
  c_.saida << "Estação " << Aparar(status.Maquina()) << ": atualização forçada "
           << (a[2] == "1" ? "ligada" : "desligada") << ".\n";
  return kSaidaOk;
}

int Comandos::Remover(const std::vector<std::string>& a) {
  clsSelVcomp status(c_.btrieve, c_.arquivos);
  int saida = kSaidaOk;
  if (!AbrirStatus(status, a[0], saida) || !LocalizarEstacao(status, a[1], saida)) return saida;
  if (!status.Excluir()) return FalharRegistro(status, status.Arquivo());
  c_.saida << "Estação " << Aparar(status.Maquina()) << " removida.\n";
  return kSaidaOk;
}

int Comandos::CriarStatus(const std::vector<std::string>& a) {
  clsSelVcomp status(c_.btrieve, c_.arquivos);
  status.Diretorio(a[0]);
  if (!status.Criar()) return FalharRegistro(status, status.Arquivo());
  c_.saida << "Arquivo \"" << status.Arquivo() << "\" criado.\n";
  return kSaidaOk;
}

int Comandos::GravarEstacao(const std::vector<std::string>& a) {
  if (a[2].size() > 1 || a[6].size() > 1 || a[4].size() > 8 || a[3].size() > 8 || a[5].size() > 20 ||
      ParaCp1252(a[1]).size() > 30)
    return Falhar("Um dos valores passa do tamanho do seu campo (máquina 30, status 1, data 8, hora 8, usuário 20, "
                  "forçar 1).");
  clsSelVcomp status(c_.btrieve, c_.arquivos);
  status.Diretorio(a[0]);
  if (!status.ArquivoExiste() && !status.Criar()) return FalharRegistro(status, status.Arquivo());
  if (!status.Abrir(Op::kModoNormal, "")) return FalharRegistro(status, status.Arquivo());
  const std::string maquina = Maiusculas(Aparar(a[1]));
  status.MontarChave0(maquina);
  if (!status.Ler(Op::kObterIgual)) {
    if (status.ErroNumero() != St::kChaveNaoEncontrada) return FalharRegistro(status, status.Arquivo());
    status.AdicionarNovo();
  }
  status.Maquina(maquina);
  status.Status(a[2]);
  status.Data(a[3]);
  status.Hora(a[4]);
  status.Usuario(a[5]);
  status.ForcarAtualizaComponentes(a[6]);
  if (!status.Gravar()) return Falhar(status.ErroDescricao());
  c_.saida << "Estação " << maquina << " gravada.\n";
  return kSaidaOk;
}

// The version file's fields in manifest order.
struct AcessoCampoVersao {
  std::string (clsSssVersao::*ler)() const;
  void (clsSssVersao::*gravar)(const std::string&);
};
const AcessoCampoVersao kAcessosVersao[kCamposManifesto] = {
    {&clsSssVersao::VersaoSistema, &clsSssVersao::VersaoSistema},
    {&clsSssVersao::CaminhoProgramaArquivo, &clsSssVersao::CaminhoProgramaArquivo},
    {&clsSssVersao::NomeProgramaArquivo, &clsSssVersao::NomeProgramaArquivo},
    {&clsSssVersao::VersaoPrograma, &clsSssVersao::VersaoPrograma},
    {&clsSssVersao::hash, &clsSssVersao::hash},
    {&clsSssVersao::RegDataCriacao, &clsSssVersao::RegDataCriacao},
    {&clsSssVersao::RegDataUltAlteracao, &clsSssVersao::RegDataUltAlteracao},
    {&clsSssVersao::Observacao, &clsSssVersao::Observacao},
    {&clsSssVersao::Funcionando, &clsSssVersao::Funcionando},
    {&clsSssVersao::Beta, &clsSssVersao::Beta},
    {&clsSssVersao::VersaoOrdenacao, &clsSssVersao::VersaoOrdenacao},
    {&clsSssVersao::Boletim, &clsSssVersao::Boletim},
};

void PrepararVersao(clsSssVersao& versao, const std::vector<std::string>& a, std::size_t indiceSistema) {
  versao.Diretorio(a[0]);
  versao.Sistema(a.size() > indiceSistema ? a[indiceSistema] : "KEM");
}

int Comandos::Versoes(const std::vector<std::string>& a) {
  clsSssVersao versao(c_.btrieve, c_.arquivos);
  PrepararVersao(versao, a, 1);
  if (!versao.Abrir(Op::kModoNormal, "")) return FalharRegistro(versao, versao.Arquivo());
  std::vector<EntradaVersao> entradas;
  versao.MontarChave1("", "");
  for (bool lido = versao.Ler(Op::kObterPrimeiro); lido; lido = versao.Ler(Op::kObterProximo)) {
    EntradaVersao e;
    for (std::size_t i = 0; i < kCamposManifesto; ++i) {
      const auto ler = kAcessosVersao[i].ler;
      e[i] = ApararDireita((versao.*ler)());
    }
    entradas.push_back(e);
  }
  if (versao.ErroNumero() != St::kFimArquivo) return FalharRegistro(versao, versao.Arquivo());
  c_.saida << EscreverManifesto(entradas);
  return kSaidaOk;
}

// Inside one transaction: every entry out, the manifest's entries in. False with the
// reason; the transaction is then aborted and the file is as before.
bool Comandos::SubstituirVersoes(clsSssVersao& versao, const std::vector<EntradaVersao>& entradas,
                                 std::string& falha) {
  auto motivo = [&] { return ExplicarFalha(versao.Arquivo(), versao.ErroNumero(), versao.ErroDescricao()); };
  if (!versao.Complementos().IniciarTransacao(Op::kModoTransacaoExclusiva)) {
    falha = motivo();
    return false;
  }
  auto desistir = [&](const std::string& texto) {
    falha = texto;
    versao.Complementos().AbortarTransacao();
    return false;
  };
  versao.MontarChave0("");
  while (versao.Ler(Op::kObterPrimeiro))
    if (!versao.Excluir()) return desistir(motivo());
  if (versao.ErroNumero() != St::kFimArquivo) return desistir(motivo());
  for (std::size_t n = 0; n < entradas.size(); ++n) {
    versao.AdicionarNovo();
    for (std::size_t i = 0; i < kCamposManifesto; ++i) {
      const auto gravar = kAcessosVersao[i].gravar;
      (versao.*gravar)(entradas[n][i]);
    }
    if (!versao.Gravar())
      return desistir("Entrada " + std::to_string(n + 1) + " (" + entradas[n][2] + "): " + motivo());
  }
  if (!versao.Complementos().FinalizarTransacao()) return desistir(motivo());
  return true;
}

int Comandos::Importar(const std::vector<std::string>& a) {
  std::string texto;
  const Falha leitura = c_.arquivos.LerTudo(a[1], texto);
  if (leitura.Ocorreu()) return Falhar("Não foi possível ler o manifesto \"" + a[1] + "\": " + leitura.descricao);
  std::vector<EntradaVersao> entradas;
  std::string mensagem;
  if (!LerManifesto(texto, entradas, mensagem)) return Falhar(mensagem + " Nada foi gravado.");
  clsSssVersao versao(c_.btrieve, c_.arquivos);
  PrepararVersao(versao, a, 2);
  const bool criado = !versao.ArquivoExiste();
  if (criado && !versao.Criar()) return FalharRegistro(versao, versao.Arquivo());
  std::string falha;
  const bool aberto = versao.Abrir(Op::kModoExclusivo, "");
  if (!aberto) falha = ExplicarFalha(versao.Arquivo(), versao.ErroNumero(), versao.ErroDescricao());
  const bool importado = aberto && SubstituirVersoes(versao, entradas, falha);
  if (aberto) versao.Fechar();
  if (!importado) {
    if (criado) c_.arquivos.Excluir(versao.Arquivo());
    return Falhar(falha + " Nada foi gravado.");
  }
  c_.saida << entradas.size() << (entradas.size() == 1 ? " entrada importada em \"" : " entradas importadas em \"")
           << versao.Arquivo() << "\".\n";
  return kSaidaOk;
}

// Opens the file, reads its statistics and walks every key from first to last: each walk
// must end at the end of the file, in key order, with as many records as the file counts.
int Comandos::Verificar(const std::vector<std::string>& a) {
  if (c_.verificarEstrutura) {
    const int status = c_.verificarEstrutura(a[0]);
    if (status != 0) return Falhar(ExplicarFalha(a[0], status, clsTavBtrErros::PreencherDescricao(status)));
    c_.saida << "Estrutura do arquivo verificada pelo motor.\n";
  }
  clsTavBtr20 acesso(c_.btrieve, c_.arquivos);
  auto falha = [&] { return Falhar(ExplicarFalha(a[0], acesso.Erro().Numero(), acesso.Erro().Descricao())); };
  if (!acesso.Abrir(a[0])) return falha();
  const std::int32_t registros = acesso.QuantidadeRegistros();
  if (acesso.Erro().Numero() != 0) return falha();
  const int chaves = acesso.QuantidadeChaves();
  const int tamanho = acesso.TamanhoBuffer();
  c_.saida << "Arquivo: " << a[0] << "\nRegistros: " << registros << "\nTamanho do registro: " << tamanho
           << "\nChaves: " << chaves << "\n";
  bool integro = true;
  for (int k = 0; k < chaves; ++k) {
    const auto numero = static_cast<std::uint8_t>(k);
    const auto tamanhoChave = static_cast<std::size_t>(std::max<int>(acesso.TamanhoChave(numero), 0));
    acesso.NumeroChave(numero);
    acesso.Chave("");
    std::int32_t lidos = 0, foraDeOrdem = 0;
    std::string anterior;
    for (bool lido = acesso.Ler(Op::kObterPrimeiro); lido; lido = acesso.Ler(Op::kObterProximo)) {
      const std::string valor = acesso.Chave().substr(0, tamanhoChave);
      if (lidos++ > 0 && valor < anterior) ++foraDeOrdem;
      anterior = valor;
    }
    c_.saida << "Chave " << k << ": " << lidos << " registro(s)";
    if (acesso.Erro().Numero() != St::kFimArquivo) {
      c_.saida << ", leitura interrompida: " << acesso.Erro().Numero() << " - " << acesso.Erro().Descricao();
      integro = false;
    }
    if (lidos != registros) {
      c_.saida << ", esperados " << registros;
      integro = false;
    }
    if (foraDeOrdem > 0) {
      c_.saida << ", " << foraDeOrdem << " fora de ordem";
      integro = false;
    }
    c_.saida << "\n";
  }
  acesso.Fechar();
  if (!integro) return Falhar("O arquivo \"" + a[0] + "\" tem problemas de integridade.");
  c_.saida << "Arquivo íntegro.\n";
  return kSaidaOk;
}

bool Comandos::SaidaNaoEhPasta(const std::string& arquivo, int& saida) {
  for (const EntradaPasta& e : c_.arquivos.Listar(arquivo)) {
    if (!e.pasta) continue;
    saida = Falhar("\"" + arquivo + "\" é uma pasta: informe o arquivo da página.");
    return false;
  }
  return true;
}

// Replaces the file with the bytes; the old page is removed first (writes append).
bool Comandos::GravarPagina(const std::string& arquivo, const std::string& bytes, int& saida) {
  Falha f;
  if (!c_.arquivos.Listar(arquivo).empty()) f = c_.arquivos.Excluir(arquivo);
  std::unique_ptr<IArquivoAberto> aberto;
  if (!f.Ocorreu()) f = c_.arquivos.AbrirParaAcrescentar(arquivo, aberto);
  if (!f.Ocorreu()) f = aberto->Escrever(bytes);
  if (!f.Ocorreu()) return true;
  saida = Falhar("Não foi possível gravar a página \"" + arquivo + "\": " + std::to_string(f.numero) + " - " +
                 f.descricao);
  return false;
}

// Reads the share (status file, reports, lock files) and writes the fleet page.
int Comandos::Painel(const std::vector<std::string>& a) {
  const std::string &dirT = a[0], &pagina = a[1];
  int saida = kSaidaOk;
  if (!SaidaNaoEhPasta(pagina, saida)) return saida;
  Frota frota;
  const bool lidas = PercorrerEstacoes(
      dirT,
      [&](const clsSelVcomp& s) {
        frota.estacoes.push_back({Aparar(s.Maquina()), Aparar(s.Status()), Aparar(s.Data()), Aparar(s.Hora()),
                                  Aparar(s.Usuario()), Aparar(s.ForcarAtualizaComponentes())});
      },
      saida);
  if (!lidas) return saida;
  LeitorFrota leitor(c_.btrieve, c_.arquivos, dirT);
  leitor.LerRelatorios(frota);
  leitor.LerBloqueios(frota);
  RelogioFerramenta relogioComputador;
  IRelogio& relogio = c_.relogio ? *c_.relogio : relogioComputador;
  PaginaPainel montador(frota, {dirT, relogio.Agora(), EnderecoPastaParaPagina(pagina, dirT)});
  if (!GravarPagina(pagina, ParaCp1252(montador.Montar()), saida)) return saida;
  c_.saida << "Painel gravado em \"" << pagina << "\": " << frota.estacoes.size()
           << (frota.estacoes.size() == 1 ? " estação, " : " estações, ") << frota.bloqueios.size()
           << " arquivo(s) de bloqueio.\n";
  return kSaidaOk;
}

struct DefinicaoComando {
  const char* nome;
  std::size_t minimo, maximo;  // arguments after the command name
  int (Comandos::*executar)(const std::vector<std::string>&);
};

constexpr DefinicaoComando kComandos[] = {
    {"estacoes", 1, 1, &Comandos::Estacoes},     {"forcar", 3, 3, &Comandos::Forcar},
    {"remover", 2, 2, &Comandos::Remover},       {"criar-status", 1, 1, &Comandos::CriarStatus},
    {"gravar-estacao", 7, 7, &Comandos::GravarEstacao}, {"versoes", 1, 2, &Comandos::Versoes},
    {"importar", 2, 3, &Comandos::Importar},     {"verificar", 1, 1, &Comandos::Verificar},
    {"painel", 2, 2, &Comandos::Painel},
};

}  // namespace

int Executar(const std::vector<std::string>& argumentos, Contexto& contexto) {
  if (argumentos.empty() || argumentos[0] == "ajuda" || argumentos[0] == "--help" || argumentos[0] == "-h") {
    (argumentos.empty() ? contexto.erros : contexto.saida) << kUso;
    return argumentos.empty() ? kSaidaUso : kSaidaOk;
  }
  for (const DefinicaoComando& d : kComandos) {
    if (argumentos[0] != d.nome) continue;
    const std::vector<std::string> resto(argumentos.begin() + 1, argumentos.end());
    if (resto.size() < d.minimo || resto.size() > d.maximo) {
      contexto.erros << "tavadmin: número de argumentos errado para \"" << d.nome << "\".\n" << kUso;
      return kSaidaUso;
    }
    try {
      Comandos comandos(contexto);
      return (comandos.*d.executar)(resto);
    } catch (const std::exception& e) {
      contexto.erros << "tavadmin: erro inesperado: " << e.what() << "\n";
      return kSaidaFalha;
    }
  }
  contexto.erros << "tavadmin: comando desconhecido \"" << argumentos[0] << "\".\n" << kUso;
  return kSaidaUso;
}

}  // namespace tavoran::tavadmin
