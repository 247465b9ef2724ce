#pragma once

// A competition file for the result-side tests, built from a description and opened into
// an AppState as the program opens it, with a scripted user interface.

#include "app/competitionfile.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"
#include "tests/support/qtprint.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QTemporaryDir>

#include <ostream>

#include <gtest/gtest.h>

namespace kx::test {

// The giant slalom of SmallCompetition (classes, groups, two categories) without racers.
inline db::CompetitionSpec EmptyRace() {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  return race;
}

// The same giant slalom held in one run.
inline db::CompetitionSpec OneRunRace() {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].durchgaenge = 1;
  return race;
}

// A racer entered in the giant slalom with bib `id`.
inline db::TeilnehmerSpec& AddRacer(db::CompetitionSpec& race, int id, const QString& sex,
                                    std::optional<int> klasse, const QString& nachname,
                                    const QString& vorname = QStringLiteral("Vorname")) {
  db::TeilnehmerSpec t;
  t.id = id;
  t.sex = sex;
  t.nachname = nachname;
  t.vorname = vorname;
  t.jahrgang = 2012;
  t.klasse = klasse;
  t.verein = QStringLiteral("SC Verein%1").arg(id);
  t.nation = QStringLiteral("AUT");
  t.disziplinen[2] = {true, id, 9999.99, 9999.99};
  race.teilnehmer.push_back(t);
  return race.teilnehmer.back();
}

// A run record of the giant slalom: a valid time in hundredths (stored as seconds/86400,
// as the main program stores it) or a result code.
inline void AddRun(db::CompetitionSpec& race, int id, int run, double hundredths, int code = 0) {
  db::ZeitSpec z;
  z.teilnehmer = id;
  z.disziplin = 2;
  z.durchgang = run;
  z.ergcode = code;
  z.start = (36000.0 + id * 60) / 86400.0;
  if (code == 0) {
    z.netto = hundredths / 100.0 / 86400.0;
    z.ziel = *z.start + *z.netto;
  }
  if (code == 3) z.disqualtext = QStringLiteral("Tor 7");
  race.zeiten.push_back(z);
}

class ResultsTest : public ::testing::Test {
 protected:
  void open(const db::CompetitionSpec& race) {
    ASSERT_TRUE(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("Cup%1.mdb").arg(++files_));
    db::BuildCompetitionFile(path, race);
    OpenCompetitionFile(state, path);
    state.Ui = &ui;
    state.CreditLine =
        QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
  }
  QString outputPath(const QString& name) const { return dir_.filePath(name); }

  AppState state;
  ScriptedUi ui;
  QTemporaryDir dir_;
  int files_ = 0;
};

}  // namespace kx::test
