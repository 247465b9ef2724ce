#pragma once

// Import files written by the tests and a competition file opened as the program holds it.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "import/columnassignment.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace kx::test {

// Writes `lines` joined by `lineEnd` as Windows-1252 (or UTF-8, with the byte-order mark
// when `bom`), returns the path.
inline QString WriteImportFile(const QString& path, const QStringList& lines, bool utf8 = false,
                               bool bom = false, const QString& lineEnd = "\r\n") {
  const QString text = lines.join(lineEnd) + lineEnd;
  QByteArray bytes;
  if (utf8) {
    bytes = (bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
  } else {
    QStringEncoder cp1252("windows-1252");
    bytes = cp1252.encode(text);
  }
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  return path;
}

// A race of the giant slalom (two runs) with categories W and M and the classes of the
// small competition; no participants; birth years and classes in use, no club, nation,
// code or points.
inline db::CompetitionSpec ImportRace() {
  db::CompetitionSpec race;
  race.bewerb.typ = 9;
  race.bewerb.punktewertung = false;
  race.bewerb.code_aktiv = false;
  race.bewerb.nation_aktiv = false;
  race.bewerb.verein_aktiv = false;
  race.disziplinen = {{2, true, QString("1"), "Cup", QDate(2027, 1, 16), QDate(2027, 1, 16), 2}};
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  return race;
}

// Every row of a query as "a|b|c" texts.
inline QStringList Rows(db::Connection& db, const QString& sql) {
  QStringList out;
  const db::Recordset rs = db.query(sql);
  for (int r = 0; r < rs.count(); ++r) {
    QStringList cells;
    for (int c = 0; c < rs.columns().size(); ++c) cells << rs.at(r, c).toString();
    out << cells.join('|');
  }
  return out;
}

class ImportFixture : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  // Builds and opens the competition file; the settings as the open reads them.
  void open(const db::CompetitionSpec& race, const QString& versionClass = "55") {
    const QString file = path("Cup.mdb");
    db::BuildCompetitionFile(file, race);
    state_.CompetitionDb = db::Connection::open(file);
    state_.ProgramDir = dir_.path();
    state_.FileVersionClass = versionClass;
    const db::BewerbSpec& b = race.bewerb;
    auto f = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    state_.Settings = {QString::number(b.typ),
                       b.ort,
                       b.nation,
                       f(b.mannschaftswertung),
                       f(b.punktewertung),
                       f(b.klassenwertung),
                       f(b.jahrgang_aktiv),
                       f(b.verein_aktiv),
                       f(b.nation_aktiv),
                       f(b.code_aktiv),
                       QString()};
    state_.CurrentDisciplineType = race.disziplinen.front().dtyp;
    state_.CurrentDisciplineCode =
        state_.DisciplineCodes[static_cast<size_t>(state_.CurrentDisciplineType)];
    state_.RunCount = race.disziplinen.front().durchgaenge;
  }
  db::Connection& db() { return state_.db(); }
  QStringList rows(const QString& sql) { return Rows(db(), sql); }

  QTemporaryDir dir_;
  AppState state_;
};

}  // namespace kx::test
