#include "tests/fakes/Falsos.h"

#include <algorithm>
#include <cstdio>

#include "platform/ErrosWindows.h"
#include "platform/LeitorXml.h"
#include "platform/Texto.h"
#include "tests/fakes/FalsosRede.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran::testes {
namespace {

std::string Pai(const std::string& normalizado) {
  const auto p = normalizado.rfind('\\');
  return p == std::string::npos ? std::string() : normalizado.substr(0, p);
}

std::string NomeFinal(const std::string& caminho) {
  const auto p = caminho.rfind('\\');
  return p == std::string::npos ? caminho : caminho.substr(p + 1);
}

class ChaveFalsa : public IChaveRegistro {
 public:
  ChaveFalsa(RegistroFalso& dono, std::string caminho) : dono_(dono), caminho_(std::move(caminho)) {}
  Falha Consultar(const std::string& nome, std::uint32_t& tipo, std::string& dados) override {
    if (fechada_) return FalhaDeErroWindows(6);
    const auto* v = dono_.Ler(caminho_, nome);
    if (v == nullptr) return FalhaDeErroWindows(2);
    tipo = v->tipo;
    dados = v->dados;
    return {};
  }
  Falha Gravar(const std::string& nome, std::uint32_t tipo, const std::string& dados) override {
    if (fechada_) return FalhaDeErroWindows(6);
    if (dono_.falhaGravar != 0) return FalhaDeErroWindows(dono_.falhaGravar);
    dono_.chaves[caminho_][Maiusculas(nome)] = {tipo, dados};
    return {};
  }
  Falha Fechar() override {
    fechada_ = true;
    return FalhaDeErroWindows(dono_.falhaFechar);
  }

 private:
  RegistroFalso& dono_;
  std::string caminho_;
  bool fechada_ = false;
};

class ArquivoAbertoFalso : public IArquivoAberto {
 public:
  explicit ArquivoAbertoFalso(ArquivosFalsos::Arquivo& arquivo) : arquivo_(arquivo) {}
  Falha Escrever(const std::string& bytes) override {
    arquivo_.bytes += bytes;
    return {};
  }

 private:
  ArquivosFalsos::Arquivo& arquivo_;
};


}  // namespace

// ---- registry ----------------------------------------------------------------------------
std::string RegistroFalso::Normalizar(const std::string& caminho, RaizRegistro raiz) {
  switch (raiz) {
    case RaizRegistro::ClassesRoot: return "HKCR\\" + Maiusculas(caminho);
    case RaizRegistro::CurrentUser: return "HKCU\\" + Maiusculas(caminho);
    case RaizRegistro::Users: return "HKU\\" + Maiusculas(caminho);
    case RaizRegistro::LocalMachine: break;
  }
  return Maiusculas(caminho);
}

void RegistroFalso::DefinirTexto(const std::string& chave, const std::string& nome, const std::string& texto,
                                 RaizRegistro raiz) {
  chaves[Normalizar(chave, raiz)][Maiusculas(nome)] = {kRegSz, texto};
}

void RegistroFalso::DefinirDword(const std::string& chave, const std::string& nome, std::uint32_t valor,
                                 RaizRegistro raiz) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((valor >> (8 * i)) & 0xFF);
  chaves[Normalizar(chave, raiz)][Maiusculas(nome)] = {kRegDword, bytes};
}

const RegistroFalso::Valor* RegistroFalso::Ler(const std::string& chave, const std::string& nome,
                                               RaizRegistro raiz) const {
  const auto c = chaves.find(Normalizar(chave, raiz));
  if (c == chaves.end()) return nullptr;
  const auto v = c->second.find(Maiusculas(nome));
  return v == c->second.end() ? nullptr : &v->second;
}

bool RegistroFalso::ExisteChave(const std::string& chave, RaizRegistro raiz) const {
  return chaves.count(Normalizar(chave, raiz)) > 0;
}

void RegistroFalso::ExcluirChave(const std::string& chave, RaizRegistro raiz) { chaves.erase(Normalizar(chave, raiz)); }

Falha RegistroFalso::Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) {
  if (!chaves.count(Normalizar(caminho, raiz))) return FalhaDeErroWindows(2);
  chave = std::make_unique<ChaveFalsa>(*this, Normalizar(caminho, raiz));
  return {};
}

Falha RegistroFalso::Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) {
  if (falhaCriar != 0) return FalhaDeErroWindows(falhaCriar);
  chaves[Normalizar(caminho, raiz)];
  chave = std::make_unique<ChaveFalsa>(*this, Normalizar(caminho, raiz));
  return {};
}

// ---- files -------------------------------------------------------------------------------
std::string ArquivosFalsos::Normalizar(const std::string& caminho) {
  std::string n = Maiusculas(Substituir(caminho, "/", "\\"));
  while (n.size() > 1 && n.back() == '\\') n.pop_back();
  return n;
}

void ArquivosFalsos::CriarPastas(const std::string& caminho) {
  std::string n = Normalizar(caminho);
  std::string original = Substituir(caminho, "/", "\\");
  while (!original.empty() && original.back() == '\\') original.pop_back();
  while (!n.empty()) {
    pastas.insert(n);
    nomesOriginais.emplace(n, original);
    n = Pai(n);
    original = Pai(original);
  }
}

void ArquivosFalsos::CriarArquivo(const std::string& caminho, const std::string& bytes, bool oculto) {
  const std::string n = Normalizar(caminho);
  CriarPastas(Pai(Substituir(caminho, "/", "\\")));
  auto& a = arquivos[n];
  a.bytes = bytes;
  a.oculto = oculto;
  a.modificado = {2026, 1, 2, 3, 4, 5};
  nomesOriginais[n] = Substituir(caminho, "/", "\\");
}

void ArquivosFalsos::DefinirVersao(const std::string& caminho, const std::string& versao) {
  auto& a = arquivos.at(Normalizar(caminho));
  unsigned p[4] = {0, 0, 0, 0};
  std::sscanf(versao.c_str(), "%u.%u.%u.%u", &p[0], &p[1], &p[2], &p[3]);
  a.temVersao = true;
  a.versao = {(p[0] << 16) | p[1], (p[2] << 16) | p[3]};
}

bool ArquivosFalsos::ExisteArquivo(const std::string& caminho) const { return arquivos.count(Normalizar(caminho)) > 0; }
bool ArquivosFalsos::ExistePasta(const std::string& caminho) const { return pastas.count(Normalizar(caminho)) > 0; }

std::string ArquivosFalsos::Conteudo(const std::string& caminho) const {
  const auto a = arquivos.find(Normalizar(caminho));
  return a == arquivos.end() ? std::string() : a->second.bytes;
}

bool ArquivosFalsos::PodeCriarEm(const std::string& normalizado) const {
  const std::string pai = Pai(normalizado);
  return pastas.count(pai) && !somenteLeitura.count(pai);
}

std::vector<EntradaPasta> ArquivosFalsos::Listar(const std::string& padrao) {
  const std::string n = Normalizar(padrao);
  ++listagens[n];
  const std::string pasta = Pai(n);
  const std::string filtro = NomeFinal(n);
  std::vector<EntradaPasta> saida;
  auto considerar = [&](const std::string& caminho, bool ehPasta, bool oculto) {
    if (Pai(caminho) != pasta || !CasaPadrao(filtro, NomeFinal(caminho))) return;
    const auto o = nomesOriginais.find(caminho);
    saida.push_back({NomeFinal(o == nomesOriginais.end() ? caminho : o->second), ehPasta, oculto, false});
  };
  for (const auto& p : pastas) considerar(p, true, false);
  for (const auto& [caminho, a] : arquivos) considerar(caminho, false, a.oculto);
  if (aoListar) aoListar(padrao);
  return saida;
}

Falha ArquivosFalsos::CriarPasta(const std::string& pasta) {
  const std::string n = Normalizar(pasta);
  if (pastas.count(n) || arquivos.count(n)) return {75, "Erro de acesso ao caminho/arquivo"};
  if (!pastas.count(Pai(n))) return {76, "Caminho não encontrado"};
  if (!PodeCriarEm(n)) return {75, "Erro de acesso ao caminho/arquivo"};
  pastas.insert(n);
  nomesOriginais[n] = Substituir(pasta, "/", "\\");
  return {};
}

Falha ArquivosFalsos::Copiar(const std::string& origem, const std::string& destino) {
  const auto o = arquivos.find(Normalizar(origem));
  if (o == arquivos.end()) return {53, "Arquivo não encontrado"};
  const std::string d = Normalizar(destino);
  if (!pastas.count(Pai(d))) return {76, "Caminho não encontrado"};
  if (!PodeCriarEm(d)) return {70, "Permissão negada"};
  const auto existente = arquivos.find(d);
  if (existente != arquivos.end() && existente->second.emUso) return {70, "Permissão negada"};
  Arquivo copia = o->second;
  copia.emUso = false;
  const bool interrompida = copiaInterrompida.count(Normalizar(origem)) > 0;
  const bool cheio = discoCheio.count(Pai(d)) > 0;
  if (interrompida || cheio) {
    // What a copy cut short leaves: the first half of the bytes, no version resource.
    copia.bytes.resize(copia.bytes.size() / 2);
    copia.temVersao = false;
  }
  arquivos[d] = copia;
  nomesOriginais[d] = Substituir(destino, "/", "\\");
  if (interrompida) return {57, "Erro de E/S do dispositivo"};
  if (cheio) return {61, "Disco cheio"};
  return {};
}

Falha ArquivosFalsos::Mover(const std::string& origem, const std::string& destino) {
  const auto o = arquivos.find(Normalizar(origem));
  if (o == arquivos.end()) return {53, "Arquivo não encontrado"};
  const std::string d = Normalizar(destino);
  if (!pastas.count(Pai(d))) return {76, "Caminho não encontrado"};
  const auto existente = arquivos.find(d);
  if (existente != arquivos.end() && existente->second.emUso) return {70, "Permissão negada"};
  Arquivo movido = o->second;
  arquivos.erase(o);
  arquivos[d] = movido;
  nomesOriginais[d] = Substituir(destino, "/", "\\");
  return {};
}

Falha ArquivosFalsos::Excluir(const std::string& arquivo) {
  const auto a = arquivos.find(Normalizar(arquivo));
  if (a == arquivos.end()) return {53, "Arquivo não encontrado"};
  if (a->second.emUso) return {70, "Permissão negada"};
  arquivos.erase(a);
  return {};
}

bool ArquivosFalsos::LerVersao(const std::string& arquivo, VersaoFixa& versao) {
  const auto a = arquivos.find(Normalizar(arquivo));
  if (a == arquivos.end() || !a->second.temVersao) return false;
  versao = a->second.versao;
  return true;
}

bool ArquivosFalsos::LerDataModificacao(const std::string& arquivo, DataHora& data) {
  const auto a = arquivos.find(Normalizar(arquivo));
  if (a == arquivos.end()) return false;
  data = a->second.modificado;
  return true;
}

Falha ArquivosFalsos::AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) {
  const std::string n = Normalizar(arquivo);
  auto a = arquivos.find(n);
  if (a == arquivos.end()) {
    if (!pastas.count(Pai(n))) return {76, "Caminho não encontrado"};
    if (!PodeCriarEm(n)) return {75, "Erro de acesso ao caminho/arquivo"};
    a = arquivos.emplace(n, Arquivo{}).first;
    nomesOriginais[n] = Substituir(arquivo, "/", "\\");
  }
  if (a->second.emUso) return {70, "Permissão negada"};
  aberto = std::make_unique<ArquivoAbertoFalso>(a->second);
  return {};
}

Falha ArquivosFalsos::LerTudo(const std::string& arquivo, std::string& bytes) {
  const auto a = arquivos.find(Normalizar(arquivo));
  if (a == arquivos.end()) return {53, "Arquivo não encontrado"};
  bytes = a->second.bytes;
  return {};
}

// ---- shell and windows -------------------------------------------------------------------
Falha ShellFalso::AbrirDocumento(IdJanela dono, const std::string& documento) {
  abertos.push_back({dono, documento});
  return FalhaDeResultadoShell(resultadoAbrir);
}

Falha ShellFalso::IniciarPrograma(const std::string& linha, EstiloJanela estilo, std::uint32_t& id) {
  iniciados.push_back({linha, estilo});
  if (aoIniciar) aoIniciar(linha);
  id = falhaIniciar.Ocorreu() ? 0 : 1000 + static_cast<std::uint32_t>(iniciados.size());
  return falhaIniciar;
}

Falha ShellFalso::Executar(IdJanela, const std::string& arquivo, const std::string& parametros,
                           EstiloJanela estilo) {
  executados.push_back({arquivo, parametros, estilo});
  if (aoIniciar) aoIniciar(arquivo + parametros);
  return FalhaDeResultadoShell(resultadoExecutar);
}

namespace {

// Runs for as many checks as its command was given.
class ProcessoFalso : public IProcessoIniciado {
 public:
  ProcessoFalso(std::uint32_t id, int checagens) : id_(id), restantes_(checagens) {}
  std::uint32_t Id() override { return id_; }
  bool Terminou(unsigned) override { return restantes_-- <= 0; }

 private:
  std::uint32_t id_;
  int restantes_;
};

}  // namespace

Falha ShellFalso::IniciarProcesso(const std::string& linha, EstiloJanela estilo,
                                  std::unique_ptr<IProcessoIniciado>& processo) {
  std::uint32_t id = 0;
  if (Falha f = IniciarPrograma(linha, estilo, id); f.Ocorreu()) return f;
  processo = std::make_unique<ProcessoFalso>(id, duracao ? duracao(linha) : 0);
  return {};
}

Falha ShellFalso::ExecutarProcesso(const std::string& arquivo, const std::string& parametros, EstiloJanela estilo,
                                   std::unique_ptr<IProcessoIniciado>& processo) {
  Executar(0, arquivo, parametros, estilo);
  if (falhaExecutarProcesso.Ocorreu()) return falhaExecutarProcesso;
  processo = std::make_unique<ProcessoFalso>(2000 + static_cast<std::uint32_t>(executados.size()),
                                             duracao ? duracao(arquivo) : 0);
  return {};
}

std::vector<std::string> JanelasFalsas::TitulosDesde(IdJanela) {
  if (lancar) throw ErroRuntime(5, "Chamada de procedimento ou argumento inválido");
  return titulos;
}

// ---- regional settings, special folders ---------------------------------------------------
int RegionalFalso::LerInfo(std::uint32_t, std::uint32_t item, int tamanho, std::string& texto) {
  const std::string valor = itens.count(item) ? itens[item] : std::string();
  if (tamanho == 0) return falhaTamanho ? 0 : static_cast<int>(valor.size()) + 1;
  if (falhaLeitura) return 0;
  texto = valor.substr(0, static_cast<std::size_t>(tamanho - 1)) + '\0';
  return static_cast<int>(texto.size());
}

bool RegionalFalso::GravarInfo(std::uint32_t, std::uint32_t item, const std::string& texto) {
  if (falhaGravacao) return false;
  itens[item] = texto;
  return true;
}

ResultadoPastaEspecial PastasEspeciaisFalsas::Caminho(int csidl, std::string& caminho) {
  const auto c = caminhos.find(csidl);
  if (c == caminhos.end()) return ResultadoPastaEspecial::FalhaLocalizacao;
  if (falhaCaminho.count(csidl)) return ResultadoPastaEspecial::FalhaCaminho;
  caminho = c->second;
  return ResultadoPastaEspecial::Ok;
}

// ---- system, processes, drives ------------------------------------------------------------
bool SistemaFalso::NomeComputador(std::string& buffer) {
  buffer = std::string(256, ' ');
  if (falhaComputador) return false;
  buffer.replace(0, computador.size() + 1, computador + '\0');
  return true;
}

bool SistemaFalso::NomeUsuario(std::string& buffer, std::uint32_t& tamanho) {
  buffer = std::string(200, '\0');
  if (usuario.empty()) {
    tamanho = 0;
    return false;
  }
  buffer.replace(0, usuario.size() + 1, usuario + '\0');
  tamanho = static_cast<std::uint32_t>(usuario.size() + 1);
  return true;
}

bool SistemaFalso::SistemaOperacional(std::string& nome, std::string& versao) {
  if (falhaSo) return false;
  nome = nomeSo;
  versao = versaoSo;
  return true;
}

std::vector<InfoProcesso> ProcessosFalsos::Listar() {
  if (aoListar) aoListar();
  if (falhaListar) throw ErroRuntime(-2147217406, "Falha ao consultar os processos");
  return lista;
}

Falha ProcessosFalsos::Terminar(std::uint32_t id) {
  if (recusamTerminar.count(id)) return {70, "Permissão negada"};
  const auto p = std::find_if(lista.begin(), lista.end(), [&](const InfoProcesso& i) { return i.id == id; });
  if (p == lista.end()) return {5, "Chamada de procedimento ou argumento inválido"};
  lista.erase(p);
  terminados.push_back(id);
  return {};
}

bool ProcessosFalsos::SessaoAtual(std::uint32_t& sessao) {
  sessao = sessaoAtual;
  return !falhaSessao;
}

std::uint32_t ProcessosFalsos::Adicionar(const std::string& nome, const std::string& caminho, std::uint32_t sessao) {
  InfoProcesso p;
  p.id = 4000 + static_cast<std::uint32_t>(lista.size()) * 4 + static_cast<std::uint32_t>(terminados.size()) * 4;
  while (std::any_of(lista.begin(), lista.end(), [&](const InfoProcesso& i) { return i.id == p.id; })) p.id += 4;
  p.nome = nome;
  p.caminho = caminho;
  p.sessao = sessao;
  lista.push_back(p);
  return p.id;
}

void ProcessosFalsos::Remover(const std::string& nome) {
  std::erase_if(lista, [&](const InfoProcesso& i) { return IguaisSemCaixa(i.nome, nome); });
}

Falha UnidadesFalsas::Mapear(const std::string& remoto, const std::string& local) {
  mapeamentos.push_back({remoto, local});
  if (aoMapear) aoMapear(remoto, local);
  return FalhaDeErroWindows(resultado);
}

// ---- XML ---------------------------------------------------------------------------------
Falha XmlFalso::Criar(std::unique_ptr<IDocumentoXml>& documento) {
  if (falhaCriar.Ocorreu()) return falhaCriar;
  ++documentosCriados;
  return LeitorXml(arquivos_).Criar(documento);
}

// ---- view --------------------------------------------------------------------------------
void VisaoFalsa::Carregar(IEventosJanela& e) {
  eventos = &e;
  carregada = true;
}

void VisaoFalsa::Fechar() {
  if (!carregada || fechada) return;
  fechada = true;
  if (eventos) eventos->Fechando();
}

void VisaoFalsa::ExecutarLaco() {
  if (!mostrada || fechada || eventos == nullptr) return;
  eventos->Ativada();
}

void VisaoFalsa::ProcessarEventos() {
  ++eventosProcessados;
  if (aoProcessarEventos) aoProcessarEventos();
  // An enabled timer ticks on the next pass through the loop, never inside a tick.
  if (temporizador && eventos && !emTique) {
    emTique = true;
    eventos->Temporizador();
    emTique = false;
  }
}

int VisaoFalsa::CaixaMensagem(const std::string& texto, const std::string& titulo, BotoesCaixa botoes,
                              IconeCaixa icone) {
  caixas.push_back({texto, titulo, botoes, icone});
  if (aoExibirCaixa) aoExibirCaixa(caixas.back());
  if (respostas.empty()) return kBotaoOk;
  const int r = respostas.front();
  respostas.erase(respostas.begin());
  return r;
}

// ---- libraries, COM, security ---------------------------------------------------------------
namespace {

class BibliotecaFalsa : public IBiblioteca {
 public:
  BibliotecaFalsa(BibliotecasFalsas& dono, std::string caminho, BibliotecasFalsas::Biblioteca& b)
      : dono_(dono), caminho_(std::move(caminho)), b_(b) {
    dono_.maximoCarregadas = std::max(dono_.maximoCarregadas, ++dono_.carregadas);
  }
  ~BibliotecaFalsa() override { --dono_.carregadas; }
  BibliotecaFalsa(const BibliotecaFalsa&) = delete;
  BibliotecaFalsa& operator=(const BibliotecaFalsa&) = delete;
  bool TemFuncao(const std::string& nome) override { return b_.funcoes.count(nome) > 0; }
  Falha ExecutarEmLinha(const std::string& nome, std::uint32_t, FimExecucao& fim) override {
    fim = FimExecucao::Retornou;
    if (!b_.funcoes.count(nome)) return {453, "Ponto de entrada não encontrado"};
    if (dono_.falhaLinha.Ocorreu()) return dono_.falhaLinha;
    dono_.execucoes.push_back(caminho_ + "|" + nome);
    fim = b_.fim;
    if (fim == FimExecucao::Retornou && b_.funcoes.at(nome)) b_.funcoes.at(nome)();
    return {};
  }

 private:
  BibliotecasFalsas& dono_;
  std::string caminho_;
  BibliotecasFalsas::Biblioteca& b_;
};

std::string Hex(unsigned v) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%x", v);
  return texto;
}

}  // namespace

Falha BibliotecasFalsas::Carregar(const std::string& caminho, std::unique_ptr<IBiblioteca>& biblioteca) {
  const auto a = arquivos_.arquivos.find(ArquivosFalsos::Normalizar(caminho));
  if (a == arquivos_.arquivos.end()) return {53, "Arquivo não encontrado"};
  const auto b = bibliotecas.find(a->second.bytes);
  if (b == bibliotecas.end()) return {75, "Erro de acesso ao caminho/arquivo (código 193)"};
  biblioteca = std::make_unique<BibliotecaFalsa>(*this, caminho, b->second);
  return {};
}

Falha BibliotecasFalsas::Exporta(const std::string& caminho, const std::string& funcao, bool& exporta) {
  exporta = false;
  const auto a = arquivos_.arquivos.find(ArquivosFalsos::Normalizar(caminho));
  if (a == arquivos_.arquivos.end()) return {53, "Arquivo não encontrado"};
  const auto b = bibliotecas.find(a->second.bytes);
  if (b == bibliotecas.end()) return {75, "Erro de acesso ao caminho/arquivo (código 193)"};
  exporta = b->second.funcoes.count(funcao) > 0;
  return {};
}

std::string ComFalso::ChaveTypeLib(const IdTypeLib& id) {
  return "TypeLib\\" + id.guid + "\\" + Hex(id.versaoMaior) + "." + Hex(id.versaoMenor);
}

Falha ComFalso::LerTypeLib(const std::string& arquivo, IdTypeLib& id) {
  const auto a = arquivos_.arquivos.find(ArquivosFalsos::Normalizar(arquivo));
  if (a == arquivos_.arquivos.end()) return {53, "Arquivo não encontrado"};
  const auto t = typeLibs.find(a->second.bytes);
  if (t == typeLibs.end()) return {75, "Erro de acesso ao caminho/arquivo (código 0x80029c4a)"};
  id = t->second;
  return {};
}

Falha ComFalso::TypeLibRegistrada(const IdTypeLib& id, bool& registrada) {
  registrada = registro_.ExisteChave(ChaveTypeLib(id), RaizRegistro::ClassesRoot);
  return {};
}

Falha ComFalso::CriarObjeto(const std::string& progId) {
  if (!registro_.ExisteChave(progId + "\\CLSID", RaizRegistro::ClassesRoot))
    return {429, "O componente ActiveX não pode criar o objeto"};
  return {};
}

bool SegurancaFalsa::GruposDoToken(std::vector<std::string>& nomes) {
  nomes = falhaToken ? std::vector<std::string>{} : grupos;
  return !falhaToken;
}

bool SegurancaFalsa::NomeGrupoAdministradores(std::string& nome) {
  nome = administradores;
  return !administradores.empty();
}

// ---- environment -------------------------------------------------------------------------
AmbienteFalso::AmbienteFalso() {
  auto arq = std::make_unique<ArquivosFalsos>();
  arquivos = arq.get();
  auto x = std::make_unique<XmlFalso>(*arquivos);
  xml = x.get();
  auto criar = [](auto& destino, auto*& ponteiro) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(ponteiro)>>;
    auto p = std::make_unique<T>();
    ponteiro = p.get();
    destino = std::move(p);
  };
  ambiente.arquivos = std::move(arq);
  ambiente.xml = std::move(x);
  criar(ambiente.registro, registro);
  criar(ambiente.shell, shell);
  criar(ambiente.janelas, janelas);
  criar(ambiente.regional, regional);
  criar(ambiente.pastasEspeciais, pastasEspeciais);
  criar(ambiente.sistema, sistema);
  criar(ambiente.processos, processos);
  criar(ambiente.unidades, unidades);
  criar(ambiente.visao, visao);
  criar(ambiente.relogio, relogio);
  criar(ambiente.btrieve, btrieve);
  btrieve->espelho = arquivos;
  auto bib = std::make_unique<BibliotecasFalsas>(*arquivos);
  bibliotecas = bib.get();
  ambiente.bibliotecas = std::move(bib);
  auto comFalso = std::make_unique<ComFalso>(*arquivos, *registro);
  com = comFalso.get();
  ambiente.com = std::move(comFalso);
  criar(ambiente.seguranca, seguranca);
  const FalsosRede rede_(ambiente);
  sessaoTerminal = rede_.sessaoTerminal;
  rede = rede_.rede;
  consultaUnidades = rede_.consultaUnidades;
}

}  // namespace tavoran::testes
