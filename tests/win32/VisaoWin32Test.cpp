// The real progress window: its controls, its events and the message boxes.
#include "platform/win32/VisaoWin32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/win32/ControlesJanela.h"
#include "tests/helpers/AutomacaoUi.h"

namespace tavoran::win32 {
namespace {

using testes::TextoDaJanela;

struct EventosGravados : IEventosJanela {
  int ativadas = 0, fechamentos = 0, ticks = 0;
  int largura = 0, altura = 0;
  std::function<void()> aoAtivar;
  void Ativada() override {
    ++ativadas;
    if (aoAtivar) aoAtivar();
  }
  void Fechando() override { ++fechamentos; }
  void Redimensionada(int l, int a) override { largura = l, altura = a; }
  void Temporizador() override { ++ticks; }
};

HWND Filha(HWND pai, const char* classe, int indice = 0) {
  HWND h = nullptr;
  for (int i = 0; i <= indice; ++i) h = FindWindowExA(pai, h, classe, nullptr);
  return h;
}

TEST(VisaoWin32Test, CarregadaFicaOcultaComOsControlesDoProjeto) {
  EventosGravados eventos;
  VisaoWin32 visao;
  visao.Carregar(eventos);
  HWND janela = reinterpret_cast<HWND>(visao.Janela());
  ASSERT_NE(janela, nullptr);
  EXPECT_FALSE(IsWindowVisible(janela));
  char classe[32] = {};
  GetClassNameA(janela, classe, sizeof classe);
  EXPECT_STREQ(classe, "frmInicial");
  EXPECT_EQ(TextoDaJanela(Filha(janela, kClasseRotulo, 1)), "Tavoran - Atualização de Componentes");
  EXPECT_EQ(TextoDaJanela(Filha(janela, kClasseRotulo, 2)), "Descrição do Processo...");
  EXPECT_NE(Filha(janela, kClasseBarra), nullptr);
  // The program icon comes from the executable's resources; frmIcone is never loaded.
  EXPECT_NE(GetClassLongPtrA(janela, GCLP_HICON), 0);
  EXPECT_EQ(FindWindowA("frmIcone", nullptr), nullptr);

  visao.DefinirTextoProcesso("Verificando versão do banco de dados...");
  EXPECT_EQ(TextoDaJanela(Filha(janela, kClasseRotulo, 2)), "Verificando versão do banco de dados...");
  visao.DefinirFaixaProgresso(0, 7);
  visao.DefinirProgresso(3);
  EXPECT_EQ(visao.Progresso(), 3);
  EXPECT_EQ(visao.MaximoProgresso(), 7);
  visao.Fechar();
  EXPECT_EQ(eventos.fechamentos, 1);
  EXPECT_EQ(visao.Janela(), 0u);
  EXPECT_FALSE(IsWindow(janela));
  visao.Fechar();
  EXPECT_EQ(eventos.fechamentos, 1);
}

TEST(VisaoWin32Test, AtivadaUmaVezDepoisDeMostradaETimerDe500ms) {
  EventosGravados eventos;
  VisaoWin32 visao;
  eventos.aoAtivar = [&] {
    EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(visao.Janela())));
    // tmrSleep: one tick arrives through the event processing.
    visao.HabilitarTemporizador(true);
    while (eventos.ticks == 0) visao.ProcessarEventos();
    visao.HabilitarTemporizador(false);
    HWND h = reinterpret_cast<HWND>(visao.Janela());
    SetActiveWindow(nullptr);
    SetActiveWindow(h);  // a second activation does not run the sequence again
    SetWindowPos(h, nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER);
    visao.ProcessarEventos();
    PostMessageA(h, WM_CLOSE, 0, 0);
  };
  visao.Carregar(eventos);
  visao.ExecutarLaco();  // not shown yet: returns at once
  EXPECT_EQ(eventos.ativadas, 0);
  visao.Mostrar();
  visao.ExecutarLaco();
  EXPECT_EQ(eventos.ativadas, 1);
  EXPECT_EQ(eventos.ticks, 1);
  EXPECT_EQ(eventos.fechamentos, 1);
  RECT cliente{0, 0, 500, 200};
  EXPECT_GT(eventos.largura, 0);
  EXPECT_LE(eventos.largura, cliente.right);
  EXPECT_LE(eventos.altura, cliente.bottom);
  EXPECT_EQ(visao.Janela(), 0u);
}

// The window's own bar and label, read as another program reads them and as they are drawn.
TEST(VisaoWin32Test, BarraERotuloPropriosRespondemEDesenham) {
  EventosGravados eventos;
  VisaoWin32 visao;
  visao.Carregar(eventos);
  HWND janela = reinterpret_cast<HWND>(visao.Janela());
  HWND barra = Filha(janela, kClasseBarra);
  ASSERT_NE(barra, nullptr);
  visao.DefinirFaixaProgresso(0, 4);
  visao.DefinirProgresso(9);  // beyond the end: the bar stops at its maximum
  EXPECT_EQ(SendMessageA(barra, PBM_GETPOS, 0, 0), 4);
  SendMessageA(barra, PBM_SETRANGE32, 10, 20);  // a new range keeps the position inside it
  PBRANGE faixa{};
  EXPECT_EQ(SendMessageA(barra, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&faixa)), 10);
  EXPECT_EQ(faixa.iHigh, 20);
  EXPECT_EQ(SendMessageA(barra, PBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessageA(barra, PBM_SETPOS, 15, 0), 10);  // answers the previous position

  visao.Mostrar();
  RECT r;
  GetClientRect(barra, &r);
  RedrawWindow(janela, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(barra);
  const COLORREF feito = GetPixel(dc, r.right / 4, r.bottom / 2), falta = GetPixel(dc, r.right * 3 / 4, r.bottom / 2);
  ReleaseDC(barra, dc);
  EXPECT_EQ(falta, RGB(255, 255, 255));
  EXPECT_NE(feito, falta);  // the first half is filled

  HWND rotulo = Filha(janela, kClasseRotulo, 2);
  EXPECT_EQ(SendMessageA(rotulo, WM_GETFONT, 0, 0) != 0, true);
  EXPECT_EQ(SendMessageA(rotulo, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_NE(SendMessageA(Filha(janela, kClasseRotulo, 0), STM_GETICON, 0, 0), 0);
  visao.Fechar();
}

TEST(VisaoWin32Test, BordasSeguemORedimensionamento) {
  EventosGravados eventos;
  VisaoWin32 visao;
  visao.Carregar(eventos);
  visao.AjustarBordas(300, 90);
  EXPECT_EQ(visao.BordaExterna().right, 300);
  EXPECT_EQ(visao.BordaExterna().bottom, 90);
  EXPECT_EQ(visao.BordaInterna().left, 3);
  EXPECT_EQ(visao.BordaInterna().right, 297);
  EXPECT_EQ(visao.BordaInterna().bottom, 87);
}

// Answers the first message box of this process from another thread, by button id.
class Respondedor {
 public:
  explicit Respondedor(int botao)
      : linha_([this, botao] {
          auto caixa = testes::EsperarCaixa(GetCurrentProcessId(), 20000);
          if (!caixa) return;
          vista = *caixa;
          testes::PressionarBotaoId(*caixa, botao);
        }) {}
  ~Respondedor() { linha_.join(); }
  testes::CaixaNaTela vista;  // set before the button is pressed

 private:
  std::thread linha_;
};

TEST(VisaoWin32Test, CaixaDeMensagemDevolveOBotaoPressionado) {
  VisaoWin32 visao;
  {
    Respondedor respondedor(IDCANCEL);
    EXPECT_EQ(visao.CaixaMensagem("Pergunta", "Tavoran - Atenção", BotoesCaixa::OkCancelar, IconeCaixa::Pergunta),
              kBotaoCancelar);
  }
  {
    Respondedor respondedor(IDOK);
    EXPECT_EQ(visao.CaixaMensagem("Olá", "Acesso", BotoesCaixa::Ok, IconeCaixa::Informacao), kBotaoOk);
  }
}

TEST(VisaoWin32Test, CaixaDaJanelaLidaPelaAutomacaoComTextoConvertido) {
  EventosGravados eventos;
  VisaoWin32 visao;
  visao.Carregar(eventos);
  Respondedor respondedor(IDOK);
  visao.CaixaMensagem("Falha imprevista na rotina Form_Activate\r\nNúmero: 5\r\nDescrição: Falha", "Tavoran - Atenção",
                      BotoesCaixa::Ok, IconeCaixa::Critico);
  EXPECT_EQ(respondedor.vista.titulo, "Tavoran - Atenção");
  EXPECT_EQ(respondedor.vista.texto, "Falha imprevista na rotina Form_Activate\r\nNúmero: 5\r\nDescrição: Falha");
  ASSERT_EQ(respondedor.vista.botoes.size(), 1u);
  // Owned by the progress window.
  EXPECT_EQ(respondedor.vista.dono, reinterpret_cast<HWND>(visao.Janela()));
}

}  // namespace
}  // namespace tavoran::win32
