#include "import/importfile.h"

#include "common/appstate.h"
#include "import/columnassignment.h"
#include "tests/import/importfixture.h"

namespace kx::test {
namespace {

class ImportFileTest : public ImportFixture {
 protected:
  ImportFile read(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString error;
    const std::optional<ImportFile> result = ReadImportFile(path(name), &error);
    EXPECT_TRUE(result) << error.toStdString();
    return result.value_or(ImportFile{});
  }
};

TEST_F(ImportFileTest, EncodingsAreDecidedOnTheWholeFile) {
  // Windows-1252: "ü" is one byte.
  ImportFile f = read("a.csv", "Name;Vorname;Jahrgang\r\nM\xFCller;J\xFCrgen;2010\r\n");
  EXPECT_FALSE(f.utf8);
  EXPECT_EQ(f.lines[1], "Müller;Jürgen;2010");
  // UTF-8 with the mark: every letter, not only the German ones; the mark is dropped.
  f = read("b.csv",
           "\xEF\xBB\xBFN\xC3\xBCm;Vorname;Jg\r\nDvo\xC5\x99\xC3\xA1k;\xC3\x89mile;2010\r\n");
  EXPECT_TRUE(f.utf8);
  EXPECT_EQ(f.header, QStringList({"Nüm", "Vorname", "Jg"}));
  EXPECT_EQ(f.lines[1], "Dvořák;Émile;2010");
  // UTF-8 without the mark, as Linux spreadsheets write it.
  f = read("c.csv", "Name;Vorname;Jg\r\nSch\xC3\xB6n;Ren\xC3\xA9;2010\r\n");
  EXPECT_TRUE(f.utf8);
  EXPECT_EQ(f.lines[1], "Schön;René;2010");
  // One invalid sequence makes the whole file Windows-1252.
  f = read("d.csv", "Name;Vorname;Jg\r\nSch\xC3\xB6n;Ren\xE9;2010\r\n");
  EXPECT_FALSE(f.utf8);
  EXPECT_EQ(f.lines[1], "SchÃ¶n;René;2010");
}

TEST_F(ImportFileTest, LineEnds) {
  // CR LF and a lone CR end lines; a lone LF stays in its field; no empty last line.
  ImportFile f = read("a.csv", "A;B;C\r\n\"Huber\nAnna\";x;y\rOtt;z;w\r\n");
  EXPECT_EQ(f.lines, QStringList({"A;B;C", "\"Huber\nAnna\";x;y", "Ott;z;w"}));
  // Without any CR the lines end at LF.
  f = read("b.csv", "A;B;C\nHuber;x;y\nOtt;z;w");
  EXPECT_EQ(f.lines, QStringList({"A;B;C", "Huber;x;y", "Ott;z;w"}));
  EXPECT_TRUE(read("c.csv", "").lines.isEmpty());
}

TEST_F(ImportFileTest, SeparatorFromTheHeaderLine) {
  ImportFile f = read("a.csv", "Name;Vorname;Lauf 1;\r\n");
  EXPECT_EQ(f.separator, u';');
  EXPECT_EQ(f.header, QStringList({"Name", "Vorname", "Lauf 1", ""}));
  EXPECT_TRUE(f.runHeaderPresent());
  f = read("b.csv", "Name\tVor;name\tJG\tlauf 1\r\n");
  EXPECT_EQ(f.separator, u'\t');
  EXPECT_EQ(f.header, QStringList({"Name", "Vor;name", "JG", "lauf 1"}));
  EXPECT_FALSE(f.runHeaderPresent());
  // Two Tab fields are refused even with semicolons in them.
  EXPECT_LT(read("c.csv", "Name;x\tVorname;y\r\n").header.size(), kMinimumHeaderFields);
  EXPECT_EQ(SplitImportLine("a;\"b;c\";", u';'), QStringList({"a", "\"b", "c\"", ""}));
}

TEST_F(ImportFileTest, UnreadableFileIsNamed) {
  QString error;
  EXPECT_FALSE(ReadImportFile(path("fehlt.csv"), &error));
  EXPECT_EQ(error, "Die Import-Datei '" + path("fehlt.csv") + "' kann nicht gelesen werden.");
}

TEST(ImportTextTest, TrimBlanksAndUpperCase) {
  QString s = "  a b\t ";
  EXPECT_EQ(TrimBlanks(s), "a b\t");
  EXPECT_EQ(s, "a b\t");
  EXPECT_EQ(TrimmedBlanks("   "), "");
  EXPECT_EQ(UpperKeepSharpS("Weiß-öl"), "WEIß-ÖL");
}

// The labels and the assigned header texts of all rows.
QStringList Assigned(const TargetRows& rows) {
  QStringList out;
  for (const TargetRow& row : rows) out << row.label + "=" + row.excel;
  return out;
}

TEST(AutoAssignTest, ParticipantRowsAndTheirWords) {
  CompetitionSettings s;
  s.typ = "9";
  s.code_aktiv = s.verein_aktiv = s.nation_aktiv = s.mannschaftswertung = s.punktewertung =
      s.klassenwertung = "True";
  auto assign = [&](const QStringList& header, int runs, const QString& version = "55") {
    TargetRows rows = ParticipantTargetRows(s, version, runs, "sl");
    for (TargetRow& row : rows) AutoAssign(row, header, header.contains("Lauf 1"));
    return Assigned(rows);
  };
  // The first matching column wins; without "Lauf 1" Team, Jahr and Klasse stay free.
  EXPECT_EQ(assign({"KSF-Id", "Code", "NACHNAME", "Vorname", "Sex", "Association", "Jahr", "NVG",
                    "Team", "PNT", "StartNrSL", "Klasse", "Lauf 2"},
                   2),
            QStringList({"Code-Nr=KSF-Id", "Nachname=NACHNAME", "Vorname=Vorname", "Geschlecht=Sex",
                         "Verein=Association", "Jahrgang=", "Verband/Nation=NVG",
                         "Mannschaft=", "Punkte=PNT", "Start-Nr=StartNrSL",
                         "Laufzeit1=", "Laufzeit2=", "Klasse="}));
  // With "Lauf 1": the run words; one "Name" column feeds both name rows; a trailing blank
  // does not match.
  EXPECT_EQ(assign({"Name", "Kateg", "Verein ", "Jahr", "Team", "Lauf 1", "Lauf 2", "Klasse"}, 2),
            QStringList({"Code-Nr=", "Nachname=Name", "Vorname=Name", "Geschlecht=Kateg",
                         "Verein=", "Jahrgang=Jahr", "Verband/Nation=", "Mannschaft=Team",
                         "Punkte=", "Start-Nr=", "Laufzeit1=Lauf 1", "Laufzeit2=Lauf 2",
                         "Klasse=Klasse"}));
  // Three runs: three time rows, none assigned; one run: "Laufzeit".
  EXPECT_EQ(assign({"Name", "Lauf 1", "Lauf 2"}, 3).mid(10, 3),
            QStringList({"Laufzeit1=", "Laufzeit2=", "Laufzeit3="}));
  EXPECT_EQ(assign({"Name", "Lauf 1", "x"}, 1).at(10), "Laufzeit=Lauf 1");
  s.typ = "4";
  EXPECT_EQ(assign({"x", "y", "z"}, 0).first(), "KSF-Id=");
  EXPECT_EQ(assign({"x", "y", "z"}, 0, "51").first(), "Code-Nr=");
  s.code_aktiv = s.klassenwertung = "False";
  EXPECT_EQ(assign({"x", "y", "z"}, 0).first(), "Nachname=");
}

TEST(AutoAssignTest, ClassRows) {
  TargetRows rows = ClassTargetRows();
  for (TargetRow& row : rows)
    AutoAssign(row, {"Gruppenname", "Name", "Geschlecht", "Jahr jüngster"}, false);
  EXPECT_EQ(Assigned(rows), QStringList({"Gruppe=Gruppenname", "Klasse=Name",
                                         "Kategorie=Geschlecht", "bis Jahrgang=Jahr jüngster"}));
}

}  // namespace
}  // namespace kx::test
