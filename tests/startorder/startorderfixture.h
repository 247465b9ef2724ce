#pragma once

// A competition file built from a description, opened into an AppState the way the open
// of the program fills it, with a scripted user interface.

#include "app/competitionfile.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "startorder/startorder.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace kx::test {

class StartOrderTest : public ::testing::Test {
 protected:
  // Writes `race` into a fresh file and opens it as the program does; its first active
  // discipline (the giant slalom in these races) becomes current.
  void open(const db::CompetitionSpec& race) {
    ASSERT_TRUE(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("bewerb%1.mdb").arg(++files_));
    db::BuildCompetitionFile(path, race);
    OpenCompetitionFile(state, path);
    ASSERT_EQ(state.CurrentDisciplineCode, QStringLiteral("gs"));
    state.Season = QStringLiteral("2024/2025");
    state.Ui = &ui;
  }

  // The order as read by the lists: along the links from the head.
  std::vector<const StartOrderEntry*> entries() const {
    std::vector<const StartOrderEntry*> result;
    for (int i : state.StartOrder.order()) result.push_back(&state.StartOrder[i]);
    return result;
  }
  QStringList bibs() const {
    QStringList result;
    for (const StartOrderEntry* e : entries()) result << e->startnr;
    return result;
  }
  QStringList groups() const {
    QStringList result;
    for (const StartOrderEntry* e : entries()) result << e->klasse;
    return result;
  }
  QStringList times() const {
    QStringList result;
    for (const StartOrderEntry* e : entries()) result << e->zeit;
    return result;
  }
  const StartOrderEntry& byBib(const QString& bib) const {
    for (const StartOrderEntry* e : entries())
      if (e->startnr == bib) return *e;
    ADD_FAILURE() << "bib " << bib.toStdString() << " not in the order";
    static const StartOrderEntry none;
    return none;
  }

  AppState state;
  ScriptedUi ui;

 private:
  QTemporaryDir dir_;
  int files_ = 0;
};

// A participant entered in the giant slalom.
inline db::TeilnehmerSpec Racer(int id, const QString& sex, std::optional<int> klasse,
                                std::optional<int> bib, double points = 9999.99) {
  db::TeilnehmerSpec t;
  t.id = id;
  t.sex = sex;
  t.nachname = QStringLiteral("Name%1").arg(id);
  t.vorname = QStringLiteral("Vorname%1").arg(id);
  t.verein = QStringLiteral("SC Verein%1").arg(id);
  t.nation = QStringLiteral("AUT");
  t.jahrgang = 2010;
  t.klasse = klasse;
  t.code = QStringLiteral("C%1").arg(id);
  db::TeilnehmerDisziplin gs;
  gs.startnr = bib;
  gs.pkte = points;
  t.disziplinen.insert(2, gs);
  return t;
}

// A run-1 result of the giant slalom; `hundredths` < 0 leaves the run time Null.
inline db::ZeitSpec Run1(int teilnehmer, int ergcode, qint64 hundredths) {
  db::ZeitSpec z;
  z.teilnehmer = teilnehmer;
  z.disziplin = 2;
  z.durchgang = 1;
  z.ergcode = ergcode;
  if (hundredths >= 0) {
    z.start = 0.4;
    z.netto = db::HundredthsToDay(hundredths);
    z.ziel = *z.start + *z.netto;
  }
  return z;
}

}  // namespace kx::test
