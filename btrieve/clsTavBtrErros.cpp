#include "btrieve/clsTavBtrErros.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/Erro.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

struct Mensagem {
  std::int32_t codigo;
  const char* texto;
};

// The engine's statuses (1 to 178) and the record-file layer's own codes, sorted by code.
constexpr Mensagem kMensagens[] = {
      {1, "Parâmetro de Operação Btrieve Inválido ou não existe."},
      {2, "A aplicação encontrou erro de I/O durante processo de gravação ou leitura."},
      {3, "O arquivo não está aberto."},
      {4, "A aplicação não encontrou o valor da chave."},
      {5, "O registro já contém a chave específica, erro de chave duplicada."},
      {6, "O número de chave é inválido."},
      {7, "O número de chave foi alterado."},
      {8, "O atual posicionamento da chave está inválido."},
      {9, "A operação encontrou o fim do arquivo."},
      {10, "A chave do arquivo não é modificável."},
      {11, "O nome do arquivo especificado é inválido."},
      {12, "O MicroKernel não encontrou o arquivo especificado."},
      {13, "O MicroKernel não pode abrir a extensão do arquivo para um arquivo estendido."},
      {14, "O MicroKernel não criou ou abriu a pre-imagem do arquivo."},
      {15, "A aplicação encontrou um erro de I/O durante a pre-imagem."},
      {16, "A aplicação encontrou um erro de expansão."},
      {18, "O disco está cheio."},
      {19, "A aplicação encontrou um erro irrecuperável."},
      {20, "O MicroKernel ou o Btrieve Requester não está funcionando."},
      {21, "O parâmetro buffer de chave é muito pequeno."},
      {22, "O parâmetro buffer de dados é muito pequeno."},
      {23, "O parâmetro bloco de posição não é de 128 bytes."},
      {24, "O tamanho da página ou o tamanho do buffer de dados está inválido."},
      {25, "A aplicação não criou o arquivo especificado."},
      {26, "O número de chaves especificado é inválido."},
      {27, "A posição da chave é inválida."},
      {28, "O comprimento do registro está inválido."},
      {29, "O comprimento da chave está inválido."},
      {30, "O arquivo especificado não é um arquivo Btrieve."},
      {31, "O arquivo já está estendido."},
      {32, "O arquivo não pode ser estendido."},
      {33, "O MicroKernel não pode carregar."},
      {34, "O nome da extensão específicada não é válida."},
      {35, "A aplicação encontrou um erro no diretório."},
      {37, "Uma outra transação está ativa."},
      {38, "O MicroKernel encontrou um controle de transação de arquivo com erro de I/O."},
      {39, "Uma operação de início de transação deve vir antes da operação de Fim/Abortar a transação."},
      {40, "A solicitação de acesso a arquivos excedeu o número máximo de arquivos autorizados."},
      {41, "O MicroKernel não autorizou a tentativa da operação."},
      {42, "O arquivo foi aberto previamente em modo acelerado e não foi fechado."},
      {43, "O endereço especificado do registro está inválido."},
      {44, "O caminho especificado da chave está inválido."},
      {45, "A especificação das balizas de chave está inválida."},
      {46, "Acesso negado para o arquivo solicitado."},
      {47, "O número de arquivos abertos excedeu o número máximo autorizado."},
      {48, "A definição na mudança de sequência de intercalação está inválida."},
      {49, "O tipo da chave está inválida."},
      {50, "O proprietário do arquivo já existe."},
      {51, "O nome do proprietário é inválido."},
      {52, "Ocorreu um erro durante a gravação de dados da memória em disco."},
      {53, "A versão da linguagem da interface está inválida."},
      {54, "A porção do comprimento variável de um registro está corrompido."},
      {55, "A aplicação especificou um atributo inválido para o AutoIncrement da chave."},
      {56, "Um índice está incompleto."},
      {57, "Ocorreu um erro de memória expandida."},
      {58, "A compressão do comprimento do buffer é muito pequeno."},
      {59, "O arquivo especificado já existe."},
      {60, "A especificação Reject Count já foi preenchido."},
      {61, "O espaço para trabalho é muito pequeno."},
      {62, "A estrutura do buffer de dados está incorreta."},
      {63, "O parâmetro buffer de dados especificado na operação de inclusão extendida está inválida."},
      {64, "O limite do filtro já foi preenchido."},
      {65, "O valor do campo está incorreto."},
      {66, "O número máximo para abrir banco de dados foi excedido."},
      {67, "O MicroKernel não pode abrir o arquivo do dicionário de dados do SQL."},
      {68, "O MicroKernel não pode executar a operação de exclusão em cascata."},
      {69, "A Operação de exclusão específicada para um arquivo está danificada."},
      {71, "Há uma violação na definição do RI."},
      {72, "O MicroKernel não pode abrir a referencia RI do arquivo."},
      {73, "A definição RI está fora de sincronia."},
      {74, "O MicroKernel abortou uma transação."},
      {76, "Há um conflito na referência do arquivo."},
      {77, "A aplicação encontrou um erro de espera."},
      {78, "O MicroKernel detectou uma condição de conflito."},
      {79, "A programação encontrou erros."},
      {80, "O MicroKernel encontrou um conflito a nível de registro."},
      {81, "O MicroKernel encontrou um erro de bloqueio."},
      {82, "O MicroKernel encontrou uma posição perdida."},
      {83, "O MicroKernel tentou atualizar ou apagar um registro que está fora da transação."},
      {84, "O Registro ou Página está bloqueado."},
      {85, "O arquivo está bloqueado."},
      {86, "A tabela do arquivos está cheia."},
      {87, "A tabela de manuseadores está cheia."},
      {88, "A aplicação encontrou um erro de modo incompatível."},
      {89, "Ocorreu erro no nome."},
      {90, "O redirecionamento do dispositivo da tabela está cheio."},
      {91, "A aplicação encontrou um erro no servidor."},
      {92, "A trasação da tabela esté cheia."},
      {93, "O tipo do registro bloqueado está incompátivel."},
      {94, "A aplicação encontrou um erro de permissão."},
      {95, "A sessão não é mais válida."},
      {96, "Ocorreu um erro de comunicação do ambiente."},
      {97, "O buffer de dados é muito pequeno."},
      {98, "O MicroKernel detectou um erro interno na transação."},
      {99, "O Btrieve Requester é incapaz de acessar um servidor NETWARE."},
      {100, "Não tem cache de buffer disponível."},
      {101, "Operação insuficiente para o sistema de memória disponível."},
      {102, "Espaço insuficiente na memória temporária disponível."},
      {103, "O chunk offset é muito grande."},
      {104, "O MicroKernel não reconheceu o local especificado."},
      {105, "O arquivo não pode ser criado com alocação de tabela variável."},
      {106, "O MicroKernel não executou a operação GET NEXT CHUNK."},
      {107, "A aplicação tentou executar a operação CHUNK para um arquivo PRE-V6.0."},
      {109, "Um erro desconhecido foi encontrado ao criar ou acessar uma versão incompatível da DLL."},
      {110, "O MicroKernel não pode acessar um arquivo de configurações de entrada do sistema."},
      {111, "O arquivo especificado não foi encontrado no arquivo de configuração de log."},
      {112, "O arquivo especificado está sendo usado por outro cliente."},
      {113, "O MicroKernel não pode encontrar o arquivo de transações para especificar um arquivo."},
      {114, "O arquivo de transações para especificar arquivo é inválido."},
      {115, "O MicroKernel não pode acessar o arquivo de transações para descarregar o arquivo."},
      {116, "O arquivo pertencente a outra máquina com o MicroKernel em funcionamento está no GATEWAY."},
      {130, "O MicroKernel está rodando fora de um sistema bloqueado."},
      {132, "O arquivo está preenchido até o tamanho limite."},
      {133, "Mais de cinco usuários tentaram acessar o mesmo arquivo de dados."},
      {134, "O MicroKernel não pode ler a regra internacional de escolha."},
      {135, "A tabela de especificação ISR está corrompida ou inválida."},
      {136, "O MicroKernel não pode alternar a especificação de sequencia de intercalação do arquivo."},
      {138, "A posição do indicador NULL está inválida."},
      {139, "O MicroKernel encontrou um valor inaceitável no número da chave."},
      {143, "O MicroKernel não permitiu a autorização de acesso para arquivo da base de dados."},
      {146, "Chave do sistema está duplicada."},
      {147, "O segmento de log está faltando."},
      {148, "Ocorreu um erro em um comprimento avançado."},
      {149, "SQL Trigger."},
      {151, "CHUNK OFFSET muito pequena."},
      {160, "Parâmetros inválidos foram passados para o MicroKernel."},
      {161, "O número máximo de usuários com licenças já está preenchido."},
      {162, "A tabela cliente está cheia."},
      {163, "O indicador NULL não pode ser o último segmento."},
      {169, "O protocolo entre o cache cliente e a máquina remota está em desacordo."},
      {170, "Necessário acessar o banco de dados."},
      {171, "Acesso ao banco de dados falhou."},
      {172, "Nome da base de dados não encontrada."},
      {173, "Já está logado na base de dados."},
      {174, "Logout da base de dados falhou."},
      {175, "A string de conexão está formatada incorretamente."},
      {176, "Arquivo ou nome da tabela não está especificado na URI."},
      {177, "Tabela não localizada na base de dados."},
      {178, "Base de dados não localizada no diretório especificado."},
      {100063, "O nome ou caminho do arquivo não pode conter espaços."},
      {100064, "Erro ao montar as chaves."},
      {100065, "Número de chaves informada é diferente do número de chaves encontradas na definição das chaves."},
      {100066, "Número de segmentos ultrapassa o limite."},
      {100067, "Definição de chaves no formato incorreto."},
      {100068, "Número máximo de segmentos permitidos é de 118."},
      {100069, "Arquivo não informado."},
      {100070, "Arquivo não existe."},
      {100071, "O nome ou caminho do arquivo não pode conter espaços."},
      {100072, "Registro bloqueado."},
      {100073, "Definição de chaves no formato incorreto."},
      {100074, "Número máximo de segmentos permitidos é de 118."},
      {100075, "Erro ao montar as chaves."},
      {100076, "O tamanho do nome do proprietário não pode ser maior que 8 caracteres."},
      {100077, "Número da chave inválido."},
      {100078, "Número da chave inválido."},
};

constexpr std::size_t kQuantidadeMensagens = std::size(kMensagens);
static_assert(kQuantidadeMensagens == 155);

}  // namespace

std::string clsTavBtrErros::PreencherDescricao(std::int32_t v_lNumeroErro) {
  const auto fim = std::end(kMensagens);
  const auto m = std::lower_bound(std::begin(kMensagens), fim, v_lNumeroErro,
                                  [](const Mensagem& a, std::int32_t c) { return a.codigo < c; });
  return (m != fim && m->codigo == v_lNumeroErro) ? m->texto : "";
}

bool clsTavBtrErros::LocalizarErro(std::int32_t v_lNumeroErro) {
  numero_ = 0;
  descricao_.clear();
  bool encontrado = true;
  if (v_lNumeroErro != 0) {
    numero_ = v_lNumeroErro;
    descricao_ = PreencherDescricao(v_lNumeroErro);
    if (Aparar(descricao_).empty()) {
      descricao_ = "Erro não documentado.";
      encontrado = false;
    }
  }
  if (OnLocalizaErro) OnLocalizaErro(numero_, descricao_);
  return encontrado;
}

void clsTavBtrErros::AdicionarErro(std::int32_t v_lNumero, const std::string& v_sDescricao) {
  try {
    if (v_lNumero > 0 && !Aparar(v_sDescricao).empty()) {
      numero_ = v_lNumero;
      descricao_ = v_sDescricao;
    }
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    if (OnErro) OnErro(f.numero, f.descricao);
  }
}

}  // namespace tavoran
