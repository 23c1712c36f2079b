#include "checks/clsNKemRyxUtil.h"

#include <cctype>
#include <utility>

#include "platform/ArquivoListado.h"
#include "platform/ErrosWindows.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr const char* kChaveDirT = "SOFTWARE\\Tavoran\\DIR_T";
constexpr const char* kChavesPervasive[] = {
    "SOFTWARE\\Pervasive Software\\Products\\Pervasive.SQL Client\\InstallInfo",
    "SOFTWARE\\Pervasive Software\\Products\\Pervasive.SQL Workgroup\\InstallInfo",
    "SOFTWARE\\Pervasive Software\\Products\\Pervasive.SQL NT Server\\InstallInfo",
};
constexpr const char* kArquivoConfiguracao = "\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config";
constexpr const char* kListaComponentes = "\\KORA\\Componentes\\componentes.whitelist";
constexpr const char* kFormatoDataCurta = "dd/MM/yyyy";
constexpr const char* kTituloGerenciador = "gerenciador de aplicativos tavoran - versão";
constexpr int kCsidlWindows = 36;
constexpr int kErroIndiceForaDoIntervalo = 9;

// The text after the last backslash (the whole text when there is none).
std::string DepoisDaUltimaBarra(const std::string& caminho) {
  const auto p = caminho.rfind('\\');
  return p == std::string::npos ? caminho : caminho.substr(p + 1);
}

std::vector<std::string> Dividir(const std::string& texto, char separador) {
  std::vector<std::string> partes;
  std::size_t inicio = 0;
  for (;;) {
    const auto p = texto.find(separador, inicio);
    partes.push_back(texto.substr(inicio, p == std::string::npos ? std::string::npos : p - inicio));
    if (p == std::string::npos) return partes;
    inicio = p + 1;
  }
}

// The leading number of a version part, as VB's Val reads it; no digits count 0.
long double ValorNumerico(const std::string& parte) {
  std::size_t i = 0;
  while (i < parte.size() && (parte[i] == ' ' || parte[i] == '\t')) ++i;
  bool negativo = false;
  if (i < parte.size() && (parte[i] == '-' || parte[i] == '+')) negativo = parte[i++] == '-';
  long double valor = 0;
  for (; i < parte.size() && std::isdigit(static_cast<unsigned char>(parte[i])); ++i)
    valor = valor * 10 + (parte[i] - '0');
  return negativo ? -valor : valor;
}

// The first n characters of a text as the ...A functions count them (single bytes),
// cut at a NUL: a count of UTF-8 bytes then never reaches past the text.
std::string PrimeirosCaracteres(const std::string& utf8, std::size_t n) {
  const std::string cp = ParaCp1252(utf8);
  return AteNulo(DeCp1252(cp.substr(0, n)));
}

bool RaizDeUnidade(const std::string& pasta) {
  return (pasta.size() == 2 || (pasta.size() == 3 && pasta[2] == '\\')) &&
         std::isalpha(static_cast<unsigned char>(pasta[0])) && pasta[1] == ':';
}

}  // namespace

clsNKemRyxUtil::clsNKemRyxUtil(Ambiente& ambiente, const LinksAjuda& links)
    : ambiente_(ambiente), links_(*ambiente.arquivos, *ambiente.relogio, links) {}

clsNKemRyxUtil::~clsNKemRyxUtil() = default;

std::int32_t clsNKemRyxUtil::ErroNumero() const { return erro_.Numero(); }
const std::string& clsNKemRyxUtil::ErroDescricao() const { return erro_.Descricao(); }

std::string clsNKemRyxUtil::LerCacheRegistro(std::string& cache, const std::string& valor) {
  if (Aparar(cache).empty()) cache = LerStringRegistro(RaizRegistro::LocalMachine, kChaveDirT, valor);
  return cache;
}

std::string clsNKemRyxUtil::DirT() {
  return Protegido(erro_, "DirT", std::string(), [&] { return LerCacheRegistro(dirT_, ""); });
}

std::string clsNKemRyxUtil::UNC() {
  return Protegido(erro_, "UNC", std::string(), [&] { return LerCacheRegistro(unc_, "UNC"); });
}

std::string clsNKemRyxUtil::RetornarNomeComputador() {
  return Protegido(erro_, "RetornarNomeComputador", std::string(), [&] {
    erro_.Limpar();
    std::string buffer(256, ' ');
    const bool ok = ambiente_.sistema->NomeComputador(buffer);
    if (!ok) return std::string("MONO");
    return Aparar(buffer.substr(0, buffer.find_first_of(std::string(" \0", 2))));
  });
}

std::string clsNKemRyxUtil::RetornarLogin() {
  return Protegido(erro_, "RetornarLogin", std::string(), [&] {
    erro_.Limpar();
    std::string buffer(200, '\0');
    std::uint32_t tamanho = 200;
    ambiente_.sistema->NomeUsuario(buffer, tamanho);
    std::string login;
    if (!buffer.empty() && tamanho > 0) login = PrimeirosCaracteres(buffer, tamanho - 1);
    login = SemNulos(Aparar(login));
    if (login.empty()) login = SemNulos(Aparar(ambiente_.sistema->LoginWindows()));
    return login;
  });
}

bool clsNKemRyxUtil::RetornarPastaPervasive(std::string& v_sPasta) {
  v_sPasta.clear();
  return Protegido(erro_, "RetornarPastaPervasive", false, [&] {
    erro_.Limpar();
    for (const char* chave : kChavesPervasive) {
      v_sPasta = LerStringRegistro(RaizRegistro::LocalMachine, chave, "InstallDir");
      if (!Aparar(v_sPasta).empty()) return true;
    }
    v_sPasta.clear();
    erro_.Definir(106584, "Não foi possível localizar a pasta de instalação do Pervasive 8.60.");
    return false;
  });
}

bool clsNKemRyxUtil::RetornarArquivoInfo(const std::string& v_sArquivo, DataHora& v_dtDataHora,
                                         std::string& v_sVersao) {
  v_dtDataHora = DataHora{};
  v_sVersao.clear();
  return Protegido(erro_, "RetornarArquivoInfo", false, [&] {
    erro_.Limpar();
    const std::string palavra = "WINDOWSLIBRARY";
    const auto p = v_sArquivo.find(palavra);
    if (p != std::string::npos && p > 0) {
      const std::string pasta = v_sArquivo.substr(0, p + palavra.size() + 1);
      if (!PastaExiste(pasta)) {
        // The share lacks the library folder: show the help article for that case.
        std::string link;
        links_.TratarErrosComFAQLinks(23098, link, "", "");
        ambiente_.shell->AbrirDocumento(0, link);
        erro_.Definir(76, "Caminho não encontrado: '" + pasta + "'", "RetornarArquivoInfo");
        return false;
      }
    }
    VersaoFixa versao;
    if (ambiente_.arquivos->LerVersao(v_sArquivo, versao)) {
      auto palavraComSinal = [](std::uint32_t v, int deslocamento) {
        return std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(v >> deslocamento)));
      };
      v_sVersao = palavraComSinal(versao.maisSignificativa, 16) + "." + palavraComSinal(versao.maisSignificativa, 0) +
                  "." + palavraComSinal(versao.menosSignificativa, 16) + "." +
                  palavraComSinal(versao.menosSignificativa, 0);
    }
    if (!ambiente_.arquivos->LerDataModificacao(v_sArquivo, v_dtDataHora)) {
      v_dtDataHora = DataHora{};
      v_sVersao.clear();
      const Falha f = FalhaDeErroWindows(2);
      erro_.Definir(f.numero, f.descricao, "RetornarArquivoInfo");
      return false;
    }
    return true;
  });
}

std::string clsNKemRyxUtil::RetornarNomeArquivo(const std::string& v_sCaminho, bool v_bSemExtensao) {
  return Protegido(erro_, "RetornarNomeArquivo", std::string(), [&] {
    erro_.Limpar();
    // Some component lists carry this control sequence after the path.
    static const std::string kSequencia("\x11\x0F\x08\x00\x03\x00", 6);
    std::string caminho = v_sCaminho;
    const auto corte = caminho.find(kSequencia);
    if (corte != std::string::npos) caminho.resize(corte);
    std::string nome = Aparar(DepoisDaUltimaBarra(Substituir(caminho, "/", "\\")));
    if (v_bSemExtensao) {
      const auto ponto = nome.rfind('.');
      if (ponto != std::string::npos) nome.resize(ponto);
    }
    return nome;
  });
}

bool clsNKemRyxUtil::LerSistemaOperacional(std::string& v_sTexto, bool v_bVersao, const std::string& rotina) {
  v_sTexto.clear();
  return Protegido(erro_, rotina, false, [&] {
    erro_.Limpar();
    std::string nome, versao;
    if (!ambiente_.sistema->SistemaOperacional(nome, versao)) {
      erro_.Definir(429, "Não foi possível consultar o sistema operacional", rotina);
      return false;
    }
    v_sTexto = Aparar(v_bVersao ? versao : nome);
    return true;
  });
}

bool clsNKemRyxUtil::RetornarNomeSistemaOperacional(std::string& v_sNome) {
  return LerSistemaOperacional(v_sNome, false, "RetornarNomeSistemaOperacional");
}

bool clsNKemRyxUtil::RetornarVersaoSistemaOperacional(std::string& v_sVersao) {
  return LerSistemaOperacional(v_sVersao, true, "RetornarVersaoSistemaOperacional");
}

bool clsNKemRyxUtil::CopiarArquivo(const std::string& v_sOrigem, const std::string& v_sDestino) {
  return Protegido(erro_, "CopiarArquivo", false, [&] {
    erro_.Limpar();
    const Falha f = ambiente_.arquivos->Copiar(v_sOrigem, v_sDestino);
    if (f.Ocorreu()) {
      erro_.Definir(f.numero, f.descricao, "CopiarArquivo");
      return false;
    }
    return true;
  });
}

bool clsNKemRyxUtil::ExcluirArquivo(const std::string& v_sArquivo) {
  return Protegido(erro_, "ExcluirArquivo", false, [&] {
    erro_.Limpar();
    if (!ArquivoExiste(v_sArquivo)) return true;
    const Falha f = ambiente_.arquivos->Excluir(v_sArquivo);
    if (!ArquivoExiste(v_sArquivo)) return true;
    if (f.Ocorreu())
      erro_.Definir(f.numero, f.descricao, "ExcluirArquivo");
    else
      erro_.Definir(75, "Erro de acesso ao caminho/arquivo", "ExcluirArquivo");
    return false;
  });
}

bool clsNKemRyxUtil::ArquivoExiste(const std::string& v_sArquivo) {
  return Protegido(erro_, "ArquivoExiste", false, [&] {
    erro_.Limpar();
    if (Aparar(v_sArquivo).empty()) return false;
    return ArquivoListado(*ambiente_.arquivos, v_sArquivo);
  });
}

bool clsNKemRyxUtil::PastaExiste(const std::string& v_sPasta) {
  return Protegido(erro_, "PastaExiste", false, [&] {
    erro_.Limpar();
    std::string pasta = Aparar(v_sPasta);
    if (pasta.empty()) return false;
    // A drive root has no entry of its own: it exists when it lists anything.
    if (RaizDeUnidade(pasta)) return !ambiente_.arquivos->Listar(pasta.substr(0, 2) + "\\*").empty();
    while (pasta.size() > 1 && (pasta.back() == '\\' || pasta.back() == '/')) pasta.pop_back();
    for (const auto& e : ambiente_.arquivos->Listar(pasta))
      if (e.pasta) return true;
    return false;
  });
}

bool clsNKemRyxUtil::CorrigirConfiguracaoDataWindows(bool& v_bAlterado) {
  v_bAlterado = false;
  return Protegido(erro_, "CorrigirConfiguracaoDataWindows", false, [&] {
    erro_.Limpar();
    const std::uint32_t idLocale = ambiente_.regional->IdLocalePadraoSistema();
    if (idLocale == 0) {
      erro_.Definir(107094, "Falha imprevista ao recuperar id das configurações regionais do sistema.",
                    "CorrigirConfiguracaoDataWindows");
      return false;
    }
    const std::string formato = RetornarConfigRegionalUsuario(idLocale, kLocaleDataCurta);
    if (Aparar(formato).empty()) return false;
    if (formato != kFormatoDataCurta) {
      if (!ambiente_.regional->GravarInfo(idLocale, kLocaleDataCurta, kFormatoDataCurta)) {
        erro_.Definir(107091, "Falha imprevista ao gravar configurações locais de formatação de data.",
                      "CorrigirConfiguracaoDataWindows");
        return false;
      }
      ambiente_.janelas->DifundirMudancaConfiguracao();
      v_bAlterado = true;
    }
    return true;
  });
}

std::string clsNKemRyxUtil::RetornarConfigRegionalUsuario(std::uint32_t v_lIdLocale, std::uint32_t v_lItem) {
  return Protegido(erro_, "RetornarConfigRegionalUsuario", std::string(), [&] {
    erro_.Limpar();
    constexpr const char* kFalha = "Falha imprevista ao ler informações locais do usuário.";
    std::string texto;
    const int tamanho = ambiente_.regional->LerInfo(v_lIdLocale, v_lItem, 0, texto);
    if (tamanho <= 0) {
      erro_.Definir(107092, kFalha, "RetornarConfigRegionalUsuario");
      return std::string();
    }
    texto.assign(static_cast<std::size_t>(tamanho), ' ');
    const int lidos = ambiente_.regional->LerInfo(v_lIdLocale, v_lItem, tamanho, texto);
    if (lidos <= 0) {
      erro_.Definir(107093, kFalha, "RetornarConfigRegionalUsuario");
      return std::string();
    }
    return PrimeirosCaracteres(texto, static_cast<std::size_t>(lidos - 1));
  });
}

std::uint32_t clsNKemRyxUtil::LerDWordRegistro(RaizRegistro v_lRaiz, const std::string& v_sChave,
                                               const std::string& v_sValor) {
  return Protegido(erro_, "LerDWordRegistro", std::uint32_t{0}, [&]() -> std::uint32_t {
    erro_.Limpar();
    std::unique_ptr<IChaveRegistro> chave;
    if (ambiente_.registro->Abrir(v_lRaiz, v_sChave, chave).Ocorreu() || !chave) return 0;
    std::uint32_t tipo = 0;
    std::string dados;
    const Falha f = chave->Consultar(v_sValor, tipo, dados);
    chave->Fechar();
    if (f.Ocorreu() || tipo != kRegDword || dados.size() < 4) return 0;
    std::uint32_t valor = 0;
    for (int i = 3; i >= 0; --i) valor = (valor << 8) | static_cast<unsigned char>(dados[static_cast<std::size_t>(i)]);
    return valor;
  });
}

std::string clsNKemRyxUtil::LerStringRegistro(RaizRegistro v_lRaiz, const std::string& v_sChave,
                                              const std::string& v_sValor) {
  return Protegido(erro_, "LerStringRegistro", std::string(), [&] {
    erro_.Limpar();
    std::unique_ptr<IChaveRegistro> chave;
    if (ambiente_.registro->Abrir(v_lRaiz, v_sChave, chave).Ocorreu() || !chave) return std::string();
    std::uint32_t tipo = 0;
    std::string dados;
    const Falha f = chave->Consultar(v_sValor, tipo, dados);
    chave->Fechar();
    if (f.Ocorreu() || tipo != kRegSz) return std::string();
    return AteNulo(dados);
  });
}

bool clsNKemRyxUtil::EscreverString(RaizRegistro v_lRaiz, const std::string& v_sChave, const std::string& v_sValor,
                                    const std::string& v_sTexto) {
  return Protegido(erro_, "EscreverString", false, [&] {
    erro_.Limpar();
    std::unique_ptr<IChaveRegistro> chave;
    // The error number is the registry's own result code, as the caller reports it.
    auto codigo = [](const Falha& f) { return static_cast<std::int32_t>(f.codigoWindows); };
    Falha f = ambiente_.registro->Criar(v_lRaiz, v_sChave, chave);
    if (f.Ocorreu() || !chave) {
      erro_.Definir(codigo(f), "Erro ao criar chave no registro.", "EscreverString");
      return false;
    }
    f = chave->Gravar(v_sValor, kRegSz, v_sTexto);
    if (f.Ocorreu()) {
      chave->Fechar();
      erro_.Definir(codigo(f), "Erro ao escrever no registro", "EscreverString");
      return false;
    }
    f = chave->Fechar();
    if (f.Ocorreu()) {
      erro_.Definir(codigo(f), "Erro ao fechar chave do registro", "EscreverString");
      return false;
    }
    return true;
  });
}

std::string clsNKemRyxUtil::CaminhoEspecial(int v_lCsidl) {
  std::string caminho;
  switch (ambiente_.pastasEspeciais->Caminho(v_lCsidl, caminho)) {
    case ResultadoPastaEspecial::FalhaLocalizacao:
      erro_.Definir(106610, "Falha executar API 'SHGetSpecialFolderLocation'.", "RetornarPastaEspecial");
      return std::string();
    case ResultadoPastaEspecial::FalhaCaminho:
      erro_.Definir(106611, "Falha executar API 'SHGetPathFromIDList'.", "RetornarPastaEspecial");
      return std::string();
    case ResultadoPastaEspecial::Ok:
      break;
  }
  return AteNulo(caminho);
}

std::string clsNKemRyxUtil::RetornarPastaEspecial(int v_lCsidl) {
  return Protegido(erro_, "RetornarPastaEspecial", std::string(), [&] {
    erro_.Limpar();
    return CaminhoEspecial(v_lCsidl);
  });
}

std::string clsNKemRyxUtil::RetornarPastaWindowsSystem() {
  return Protegido(erro_, "RetornarPastaWindowsSystem", std::string(), [&] {
    // The 32-bit system folder: SysWOW64 on 64-bit Windows, System32 otherwise.
    std::string primeiraSystem32;
    for (int csidl = 0; csidl <= 100; ++csidl) {
      const std::string caminho = CaminhoEspecial(csidl);
      const std::string maiusculo = Maiusculas(caminho);
      if (maiusculo.find("SYSWOW64") != std::string::npos) {
        erro_.Limpar();
        return caminho;
      }
      if (primeiraSystem32.empty() && maiusculo.find("SYSTEM32") != std::string::npos) primeiraSystem32 = caminho;
    }
    erro_.Limpar();
    if (primeiraSystem32.empty()) erro_.Definir(76, "Caminho não encontrado", "RetornarPastaWindowsSystem");
    return primeiraSystem32;
  });
}

std::string clsNKemRyxUtil::RetornarPastaWindows() { return RetornarPastaEspecial(kCsidlWindows); }

bool clsNKemRyxUtil::OrdenarArrayString(std::vector<std::string>& v_asLista) {
  return Protegido(erro_, "OrdenarArrayString", false, [&] {
    erro_.Limpar();
    auto OrdenarArrayStringTrocar = [&](std::size_t a, std::size_t b) { std::swap(v_asLista[a], v_asLista[b]); };
    for (std::size_t i = 0; i < v_asLista.size(); ++i) {
      std::size_t menor = i;
      for (std::size_t j = i + 1; j < v_asLista.size(); ++j)
        if (v_asLista[j].compare(v_asLista[menor]) < 0) menor = j;
      if (menor > i) OrdenarArrayStringTrocar(i, menor);
    }
    return true;
  });
}

bool clsNKemRyxUtil::VerificarKemEmExecucao(IdJanela v_lHwnd, bool& v_bEmExecucao) {
  v_bEmExecucao = false;
  return Protegido(erro_, "VerificarKemEmExecucao", false, [&] {
    erro_.Limpar();
    const std::string procurado = ParaCp1252(kTituloGerenciador);
    for (const auto& titulo : ambiente_.janelas->TitulosDesde(v_lHwnd)) {
      if (ParaCp1252(Minusculas(titulo)).substr(0, procurado.size()) == procurado) {
        v_bEmExecucao = true;
        break;
      }
    }
    return true;
  });
}

bool clsNKemRyxUtil::RetornarVersaoMaior(const std::string& v_sVersaoA, const std::string& v_sVersaoB,
                                         std::string& v_sVersaoMaior) {
  v_sVersaoMaior.clear();
  return Protegido(erro_, "RetornarVersaoMaior", false, [&] {
    erro_.Limpar();
    if (Aparar(v_sVersaoB).empty() || v_sVersaoA == v_sVersaoB) return true;
    const auto partesA = Dividir(v_sVersaoA, '.');
    const auto partesB = Dividir(v_sVersaoB, '.');
    for (std::size_t i = 0; i < partesA.size(); ++i) {
      if (i >= partesB.size()) {
        erro_.Definir(kErroIndiceForaDoIntervalo, "Subscrito fora do intervalo", "RetornarVersaoMaior");
        return false;
      }
      const long double a = ValorNumerico(partesA[i]), b = ValorNumerico(partesB[i]);
      if (b < a) {
        v_sVersaoMaior = v_sVersaoA;
        break;
      }
      if (a < b) {
        v_sVersaoMaior = v_sVersaoB;
        break;
      }
    }
    return true;
  });
}

bool clsNKemRyxUtil::MapearDirT(const std::string& v_sCaminhoRemoto, const std::string& v_sUnidadeLocal) {
  return Protegido(erro_, "MapearDirT", false, [&] {
    erro_.Limpar();
    // Mapped now, or already (85 assigned, 1202 remembered), or 67 as the start-up always took it.
    const std::uint32_t r = ambiente_.unidades->Mapear(v_sCaminhoRemoto, v_sUnidadeLocal).codigoWindows;
    return r == 0 || r == 85 || r == 1202 || r == 67;
  });
}

bool clsNKemRyxUtil::VerificarComponenteTavoran(const std::string& v_sArquivo, bool& v_bListado) {
  v_bListado = false;
  return Protegido(erro_, "VerificarComponenteTavoran", false, [&] {
    erro_.Limpar();
    const std::string nome = Maiusculas(DepoisDaUltimaBarra(v_sArquivo));
    std::string conteudo;
    if (ambiente_.arquivos->LerTudo(DirT() + kListaComponentes, conteudo).Ocorreu()) {
      erro_.Definir(110635, "Arquivo de controle de componentes não encontrado", "VerificarComponenteTavoran");
      return false;
    }
    v_bListado = !nome.empty() && DeCp1252(conteudo).find(nome) != std::string::npos;
    return true;
  });
}

bool clsNKemRyxUtil::VerificarProcessoInicializado(const std::string& v_sNome, bool& v_bEmExecucao,
                                                   std::string& v_sNomeEncontrado) {
  v_bEmExecucao = false;
  v_sNomeEncontrado.clear();
  return Protegido(erro_, "VerificarProcessoInicializado", false, [&] {
    erro_.Limpar();
    const std::string procurado = Minusculas(v_sNome);
    if (procurado.empty()) return true;
    for (const auto& processo : ambiente_.processos->Listar()) {
      const std::string nome = Minusculas(Aparar(processo.nome));
      if (nome.find(procurado) != std::string::npos) {
        v_bEmExecucao = true;
        v_sNomeEncontrado = nome;
        break;
      }
    }
    return true;
  });
}

void clsNKemRyxUtil::ProcessarEventos() {
  if (ambiente_.visao) ambiente_.visao->ProcessarEventos();
}

bool clsNKemRyxUtil::IniciarServico(const std::string& v_sServico, const std::string& v_sExecutavel,
                                    bool& v_bEmExecucao) {
  v_bEmExecucao = false;
  return Protegido(erro_, "IniciarServico", false, [&] {
    erro_.Limpar();
    auto executar = [&](const std::string& linha) {
      std::uint32_t id = 0;
      const Falha f = ambiente_.shell->IniciarPrograma(linha, EstiloJanela::Oculta, id);
      if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
      ProcessarEventos();
    };
    std::string encontrado;
    executar("sc start " + v_sServico);
    if (!VerificarProcessoInicializado(v_sServico, v_bEmExecucao, encontrado)) return false;
    if (!v_bEmExecucao) {
      const std::string executavel = Substituir(Maiusculas(v_sExecutavel), ".EXE", "");
      executar("net start " + executavel);
      if (!VerificarProcessoInicializado(PrimeirosCaracteres(executavel, 6), v_bEmExecucao, encontrado)) return false;
    }
    return true;
  });
}

bool clsNKemRyxUtil::CarregarObjXml() {
  return Protegido(erro_, "CarregarObjXml", false, [&] {
    erro_.Limpar();
    xml_.reset();
    std::unique_ptr<IDocumentoXml> documento;
    const Falha f = ambiente_.xml->Criar(documento);
    if (f.Ocorreu() || !documento) {
      erro_.Definir(f.Ocorreu() ? f.numero : 429, f.Ocorreu() ? f.descricao : "Não foi possível criar o objeto XML",
                    "CarregarObjXml");
      return false;
    }
    documento->Limpar();
    // A missing or malformed file leaves the document empty: every link then reads empty.
    documento->Carregar(DirT() + kArquivoConfiguracao);
    xml_ = std::move(documento);
    return true;
  });
}

std::string clsNKemRyxUtil::RetornarLinkPadraoTavoran(const std::string& v_sChave) {
  return Protegido(erro_, "RetornarLinkPadraoTavoran", std::string(), [&] {
    erro_.Limpar();
    if (!xml_) return std::string();
    return xml_->Procurar("Item", "id", v_sChave, "value").value_or(std::string());
  });
}

void clsNKemRyxUtil::FinalizarComponenteChiilkat() { xml_.reset(); }

}  // namespace tavoran
