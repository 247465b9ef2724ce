// The officials' documents with a 120-character event, name, club and remark: read back, no
// word covers another or leaves the page, and the long texts are there, cut with "…".

#include "tests/officials/officialsfixture.h"
#include "workpanel/menuentries.h"

namespace kx::test {
namespace {

using OfficialsOverprintTest = OfficialsTest;

TEST_F(OfficialsOverprintTest, LongTextsStayInTheirColumnsInEveryDocument) {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].bewerbsbezeichnung = kLongVerein;
  race.teilnehmer.clear();
  // The best woman, a slower one, and two disqualified: with a remark and with a gate.
  const struct {
    const char* sex;
    int ergcode;
    std::optional<qint64> time;
    QString note;
  } rows[] = {{"D", 0, 4565, {}},
              {"W", 0, 5935, {}},
              {"D", 3, {}, kLongVerein},
              {"W", 3, {}, "Tor 21 nicht passiert"}};
  int id = 0;
  for (const auto& r : rows) {
    ++id;
    db::TeilnehmerSpec t = Racer(id, r.sex, id);
    t.nachname = kLongNachname;
    t.vorname = kLongVorname;
    t.verein = kLongVerein;
    race.teilnehmer.push_back(t);
    race.zeiten.push_back(Time(id, 1, r.ergcode, r.time, r.note));
  }
  openRace(race);
  // The penalty protocol last: it takes the penalty times over for the disqualified.
  for (const auto& [entry, file] :
       {std::pair{menu::BearbeitenSchiedsrichterprotokoll, "lang-sr.pdf"},
        {menu::BearbeitenTorrichterkarte, "lang-karte.pdf"},
        {menu::BearbeitenPenaltyProtokoll, "lang-penalty.pdf"}}) {
    trigger(entry);
    const PdfReader pdf = write(entry, file);
    if (entry != menu::BearbeitenTorrichterkarte) ExpectNoOverprint(out(file));
    const QList<PdfWord> words = pdf.words();
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) {
      return w.text.endsWith(QChar(0x2026));
    })) << file;
  }
  // The card's form has marks on its labels; its event line ends in the card's frame.
  EXPECT_LT(PdfReader(out("lang-karte.pdf")).findLine("Schiclub", 1)->right(), 1400);
}

}  // namespace
}  // namespace kx::test
