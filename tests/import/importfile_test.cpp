#include "import/importfile.h"

#include "common/appstate.h"
#include "import/columnassignment.h"
#include "tests/import/importfixture.h"

namespace kx::test {
namespace {

class ImportFileTest : public ImportFixture {
 protected:
  ImportFile read(const QByteArray& bytes) {
    QFile file(path("a.csv"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    return ReadImportFile(path("a.csv"), nullptr).value_or(ImportFile{});
  }
};

TEST_F(ImportFileTest, OneSequenceThatIsNoUtf8MakesTheWholeFileWindows1252) {
  const ImportFile f = read("Name;Vorname;Jg\r\nSch\xC3\xB6n;Ren\xE9;2010\r\n");
  EXPECT_FALSE(f.utf8);
  EXPECT_EQ(f.lines[1], "SchÃ¶n;René;2010");
}

// A spreadsheet's "Unicode text": UTF-16 behind its byte-order mark, in either byte order.
TEST_F(ImportFileTest, UnicodeTextIsReadByItsByteOrderMark) {
  const QString text = "Code-Nr\tName\tVorname\r\n12\tWeiß\tRené\r\n";
  for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
    const ImportFile f = read(QStringEncoder(encoding, QStringConverter::Flag::WriteBom)(text));
    EXPECT_EQ(f.header, QStringList({"Code-Nr", "Name", "Vorname"}));
    EXPECT_EQ(f.lines.value(1), "12\tWeiß\tRené");
  }
}

TEST_F(ImportFileTest, SeparatorFromTheHeaderLine) {
  ImportFile f = read("Name;Vorname;Lauf 1;\r\n");
  EXPECT_EQ(f.separator, u';');
  EXPECT_EQ(f.header, QStringList({"Name", "Vorname", "Lauf 1", ""}));
  EXPECT_TRUE(f.runHeaderPresent());
  f = read("Name\tVor;name\tJG\tlauf 1");
  EXPECT_EQ(f.separator, u'\t');
  EXPECT_EQ(f.header, QStringList({"Name", "Vor;name", "JG", "lauf 1"}));
  EXPECT_FALSE(f.runHeaderPresent());
  // Two Tab fields are refused even with semicolons in them.
  EXPECT_LT(read("Name;x\tVorname;y\r\n").header.size(), kMinimumHeaderFields);
  EXPECT_EQ(SplitImportLine("a;\"b;c\";", u';'), QStringList({"a", "\"b", "c\"", ""}));
  QString error;
  EXPECT_FALSE(ReadImportFile(path("fehlt.csv"), &error));
  EXPECT_EQ(error, "Die Import-Datei '" + path("fehlt.csv") + "' kann nicht gelesen werden.");
}

// The labels and the assigned header texts of the rows.
QStringList Assigned(const TargetRows& rows) {
  QStringList out;
  for (const TargetRow& row : rows) out << row.label + "=" + row.excel;
  return out;
}

TEST(AutoAssignTest, RowsAndTheirWords) {
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
  EXPECT_EQ(assign({}, 0).first(), "KSF-Id=");
  EXPECT_EQ(assign({}, 0, "51").first(), "Code-Nr=");
  s.code_aktiv = "False";
  EXPECT_EQ(assign({}, 0).first(), "Nachname=");

  TargetRows rows = ClassTargetRows();
  for (TargetRow& row : rows)
    AutoAssign(row, {"Gruppenname", "Name", "Geschlecht", "Jahr jüngster"}, true);
  EXPECT_EQ(Assigned(rows), QStringList({"Gruppe=Gruppenname", "Klasse=Name",
                                         "Kategorie=Geschlecht", "bis Jahrgang=Jahr jüngster"}));
}

}  // namespace
}  // namespace kx::test
