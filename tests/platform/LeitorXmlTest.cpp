// The default-data file's reader: lookups as the suite makes them, the encodings such a file
// comes in, and files that are not XML, which must leave the document empty.
#include <gtest/gtest.h>

#include "platform/LeitorXml.h"
#include "tests/fakes/Falsos.h"

namespace tavoran {
namespace {

constexpr const char* kArquivo = "P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config";

class LeitorXmlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(LeitorXml(arquivos).Criar(documento).Ocorreu()); }
  bool Carregar(const std::string& bytes) {
    arquivos.CriarArquivo(kArquivo, bytes);
    return documento->Carregar(kArquivo);
  }
  std::optional<std::string> Link(const std::string& chave) {
    return documento->Procurar("Item", "id", chave, "value");
  }

  testes::ArquivosFalsos arquivos;
  std::unique_ptr<IDocumentoXml> documento;
};

TEST_F(LeitorXmlTest, FindsTheFirstElementByItsKeyWhereverItSits) {
  ASSERT_TRUE(
      Carregar("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<!-- links -->\r\n<Dados>\r\n <Grupo>"
               "<Item id=\"C1\" value=\"https://ajuda.tavoran.com.br/artigo?id=1&amp;x=2\"/>"
               "<Item id='C2' value='Configura\xE7\xE3o &#231;&#xE3; &lt;&gt;&quot;&apos;'></Item>"
               "<Item id=\"C2\" value=\"segundo\"/><Item value=\"sem chave\"/><Item id=\"C3\"/>"
               "<item id=\"C4\" value=\"outra caixa\"/><Item id=\"C5\" value=\"linha\r\num\tdois\"/>"
               "</Grupo><![CDATA[<Item id=\"C6\" value=\"dentro\"/>]]><?instrucao qualquer?>\r\n</Dados>\r\n"));
  EXPECT_EQ(Link("C1"), "https://ajuda.tavoran.com.br/artigo?id=1&x=2");
  EXPECT_EQ(Link("C2"), "Configuração çã <>\"'");
  EXPECT_EQ(Link("C3"), "");
  EXPECT_EQ(Link("C4"), std::nullopt);
  EXPECT_EQ(Link("C5"), "linha um dois");
  EXPECT_EQ(Link("C6"), std::nullopt);
  EXPECT_EQ(documento->Procurar("Grupo", "id", "C1", "value"), std::nullopt);
  documento->Limpar();
  EXPECT_EQ(Link("C1"), std::nullopt);
}

TEST_F(LeitorXmlTest, ReadsTheEncodingsSuchAFileIsSavedIn) {
  const std::string item = "<Dados><Item id=\"C1\" value=\"Situa\xC3\xA7\xC3\xA3o\"/></Dados>";
  ASSERT_TRUE(Carregar(item));
  EXPECT_EQ(Link("C1"), "Situação");
  ASSERT_TRUE(Carregar("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>" + item));
  EXPECT_EQ(Link("C1"), "Situação");
  // Windows-1252 bytes with no declaration, as a text editor of the suite's users saves them.
  ASSERT_TRUE(Carregar("<Dados><Item id=\"C1\" value=\"Situa\xE7\xE3o\"/></Dados>"));
  EXPECT_EQ(Link("C1"), "Situação");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><D><Item id=\"C1\" value=\"x\"/></D>")) {
    utf16 += c;
    utf16 += '\0';
  }
  ASSERT_TRUE(Carregar(utf16));
  EXPECT_EQ(Link("C1"), "x");
  EXPECT_FALSE(Carregar("<?xml version=\"1.0\" encoding=\"ebcdic-cp-us\"?>" + item));
  EXPECT_EQ(Link("C1"), std::nullopt);
}

TEST_F(LeitorXmlTest, AFileThatIsNotXmlLeavesTheDocumentEmpty) {
  EXPECT_FALSE(documento->Carregar("P:\\Tavoran.win\\falta.config"));
  const char* ruins[] = {
      "",
      "   ",
      "<Dados><Item id=\"C1\" value=\"x\"></Dados",
      "<Dados><Item id=\"C1\" value=\"x\"></Dados>",
      "<Dados><Item id=\"C1\" value=\"x\"/></dados>",
      "<Dados><Item id=\"C1\" id=\"C2\" value=\"x\"/></Dados>",
      "<Dados><Item id=\"C1\" value=\"a<b\"/></Dados>",
      "<Dados><Item id=\"C1\" value=\"&nbsp;\"/></Dados>",
      "<Dados><Item id=\"C1\" value=\"&#0;\"/></Dados>",
      "<Dados><Item id=C1 value=\"x\"/></Dados>",
      "<Dados><Item id=\"C1\"value=\"x\"/></Dados>",
      "<Dados><Item id=\"C1\" value=\"x\"/></Dados><Outro/>",
      "<Dados><Item id=\"C1\" value=\"x\"/></Dados>texto",
      "<Dados>a & b<Item id=\"C1\" value=\"x\"/></Dados>",
      "<Dados><!-- a -- b --><Item id=\"C1\" value=\"x\"/></Dados>",
      "<Dados>\x01<Item id=\"C1\" value=\"x\"/></Dados>",
      " <?xml version=\"1.0\"?><Dados><Item id=\"C1\" value=\"x\"/></Dados>",
      "<Dados><Item id=\"C1\" value=\"x\"/><![CDATA[ aberto </Dados>",
      "texto<Dados><Item id=\"C1\" value=\"x\"/></Dados>",
  };
  for (const char* ruim : ruins) {
    ASSERT_TRUE(Carregar("<Dados><Item id=\"C1\" value=\"bom\"/></Dados>"));
    EXPECT_FALSE(Carregar(ruim)) << ruim;
    EXPECT_EQ(Link("C1"), std::nullopt) << ruim;
  }
  // A document type is passed over, its internal subset too.
  EXPECT_TRUE(
      Carregar("<!DOCTYPE Dados [<!ELEMENT Dados ANY> <!-- ] > -->]>\n<Dados><Item id=\"C1\" value=\"x\"/></Dados>"));
  EXPECT_EQ(Link("C1"), "x");
}

// A file on the share is outside the program's hands: depth and width must not cost it the
// stack or an unbounded time.
TEST_F(LeitorXmlTest, ADeepOrWideFileIsReadWithoutExhaustingTheStack) {
  std::string profundo;
  for (int i = 0; i < 50000; ++i) profundo += "<a>";
  profundo += "<Item id=\"C1\" value=\"fundo\"/>";
  for (int i = 0; i < 50000; ++i) profundo += "</a>";
  ASSERT_TRUE(Carregar(profundo));
  EXPECT_EQ(Link("C1"), "fundo");
  std::string largo = "<Dados><Item";
  for (int i = 0; i < 50000; ++i) largo += " a" + std::to_string(i) + "=\"\"";
  ASSERT_TRUE(Carregar(largo + " id=\"C1\" value=\"largo\"/></Dados>"));
  EXPECT_EQ(Link("C1"), "largo");
  EXPECT_FALSE(Carregar(largo + " a49999=\"\"/></Dados>"));
}

}  // namespace
}  // namespace tavoran
