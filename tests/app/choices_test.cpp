// The command line read into choices, or refused as a usage error.
#include <gtest/gtest.h>

#include "app/choices.h"

namespace {

// The choices in one line: the mode, then each value that was given.
std::string Described(const app::Choices& c) {
  const char* modes[] = {"windows", "silent", "check", "help", "version"};
  std::string text = modes[static_cast<int>(c.mode)];
  if (c.destination) text += " dir=" + *c.destination;
  if (c.backup) text += " backup=" + *c.backup;
  if (c.source) text += " source=" + *c.source;
  for (int index : c.components) text += " #" + std::to_string(index);
  if (c.log) text += " log=" + *c.log;
  return text;
}

TEST(Arguments, BecomeChoicesOrTheFirstUsageError) {
  struct Case {
    std::vector<std::string> arguments;
    std::string choices;
    std::string error;
  };
  const Case cases[] = {
      {{}, "windows", ""},
      {{"-silent", "/Dir=c:\\Program Files\\x", "/BACKUP=d:\\åäö", "/source=//srv/k", "/LOG= c:\\a=b.txt  "},
       "silent dir=c:\\Program Files\\x backup=d:\\åäö source=\\\\srv\\k log=c:\\a=b.txt", ""},
      {{"/COMPONENTS=MSINET.OCX, comdlg32.ocx", "/s"}, "silent #5 #1", ""},
      {{"/CHECK", "/S", "/LOG=x"}, "check log=x",
       "Växlarna /S och /CHECK kan inte användas tillsammans: /CHECK ändrar inget, /S installerar."},
      {{"/S", "-?"}, "help", ""},
      {{"--help", "/?"}, "help", "Växeln /? anges mer än en gång."},
      {{"--Version", "/CHECK"}, "version", ""},
      {{"-h", "/VERSION"}, "help", ""},
      {{"--version=1"}, "windows", "Växeln --version tar inget värde."},
      {{"--s"}, "windows", "Okänd växel: \"--s\"."},
      {{"komponenter"}, "windows", "Okänt argument: \"komponenter\"."},
      {{"/X", "/S"}, "silent", "Okänd växel: \"/X\"."},
      {{"/S", "/silent"}, "silent", "Växeln /silent anges mer än en gång."},
      {{"/DIR=   ", "/S"}, "silent", "Växeln /DIR har ett tomt värde."},
      {{"/S", "/DIR=c:\\Program Files\\x\" /COMPONENTS=msinet.ocx"}, "silent",
       "Växeln /DIR har ett citattecken (\") i värdet. Ett \\ direkt före det avslutande citattecknet, som i "
       "\"/DIR=c:\\Program Files\\x\\\", gör att citattecknet och resten av kommandoraden blir en del av värdet: "
       "skriv mappen utan \\ sist."},
      {{"/dir"}, "windows", "Växeln /dir behöver ett värde: /dir=<mapp>."},
      {{"/COMPONENTS=comdlg32.ocx,x.ocx"}, "windows #1", "Okänd komponent: \"x.ocx\"."},
      {{"/COMPONENTS=comdlg32.ocx, ,x.ocx"}, "windows #1",
       "Växeln /COMPONENTS har ett tomt namn: ett kommatecken först, sist eller två i rad."},
      {{"/COMPONENTS=msinet.ocx,MSINET.ocx"}, "windows #5", "Komponenten MSINET.ocx anges mer än en gång."},
      {{"/LOG=c:\\logg.txt"}, "windows log=c:\\logg.txt", "Växeln /LOG gäller bara med /S."},
      {{"/S", "/LOG=c:\\komp\\msinet.ocx::$DATA"}, "silent",
       "Växeln /LOG har ett kolon (:) som inte står efter en enhetsbokstav. Ange loggfilen som c:\\mapp\\fil.txt."},
      {{"/force"}, "windows", "Växeln /FORCE gäller bara med /S eller /CHECK."},
  };
  for (const Case& c : cases) {
    const app::ParsedArguments parsed = app::ParseArguments(c.arguments);
    EXPECT_EQ(Described(parsed.choices), c.choices) << c.choices;
    EXPECT_EQ(parsed.error, c.error) << c.choices;
  }
}

}  // namespace
