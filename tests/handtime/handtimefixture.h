#pragma once

// A giant-slalom race with start and finish times of run 1 opened into an AppState as the
// program opens it, hand-time stores to fill, and a scripted user interface.

#include "app/competitionfile.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "handtime/handrowmodel.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace kx::test {

// Hundredths of a second since midnight.
inline qint64 At(int h, int m, int s, int hh = 0) {
  return ((h * 60 + m) * 60 + s) * 100 + hh;
}

// One racer's result row of run 1; a time of 0 is missing, `row` false writes none.
struct Timed {
  int bib = 0;
  qint64 start = 0;
  qint64 finish = 0;
  int ergcode = 0;
  bool row = true;
  std::optional<qint64> netto;  // default: finish less start when both are there
};

inline db::CompetitionSpec TimedRace(const std::vector<Timed>& racers, int durchgang = 1) {
  db::CompetitionSpec race;
  db::DisziplinSpec gs;
  gs.dtyp = 2;
  gs.bewerbsbezeichnung = QStringLiteral("Bezirkscup Riesenslalom\r\nzweite Zeile");
  gs.datum_rangliste = QDate(2026, 12, 7);
  race.disziplinen.push_back(gs);
  race.kategorien = {{QStringLiteral("M"), QStringLiteral("Herren"), 1}};
  int id = 0;
  for (const Timed& r : racers) {
    ++id;
    db::TeilnehmerSpec t;
    t.id = id;
    t.nachname = QStringLiteral("Name%1").arg(id);
    t.vorname = QStringLiteral("Vorname%1").arg(id);
    db::TeilnehmerDisziplin d;
    d.startnr = r.bib;
    t.disziplinen.insert(2, d);
    race.teilnehmer.push_back(t);
    if (!r.row) continue;
    db::ZeitSpec z;
    z.teilnehmer = id;
    z.durchgang = durchgang;
    z.ergcode = r.ergcode;
    if (r.start > 0) z.start = db::HundredthsToDay(r.start);
    if (r.finish > 0) z.ziel = db::HundredthsToDay(r.finish);
    if (r.netto) {
      z.netto = db::HundredthsToDay(*r.netto);
    } else if (r.start > 0 && r.finish > 0) {
      z.netto = db::HundredthsToDay(r.finish - r.start);
    }
    race.zeiten.push_back(z);
  }
  return race;
}

class HandTimeTest : public ::testing::Test {
 protected:
  void open(const db::CompetitionSpec& race) {
    ASSERT_TRUE(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("bewerb%1.mdb").arg(++files_));
    db::BuildCompetitionFile(path, race);
    OpenCompetitionFile(state, path);
    state.Ui = &ui;
    state.DisciplineListTitles[2] = QStringLiteral("Slalom/Riesenslalom");
    state.CreditLine = QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - Test");
  }
  static void fill(std::vector<HandTime>& store, const std::vector<qint64>& hundredths) {
    store.clear();
    for (qint64 h : hundredths) store.push_back({db::HundredthsToDay(h)});
  }
  static QStringList column(const HandRowModel& list, int col) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.text(i, col);
    return texts;
  }
  // A row as "text|text|..." and its marks as "-" or "B" per cell.
  static QString line(const HandRowModel& list, int row) {
    QStringList texts;
    for (const HandCell& c : list.row(row).cells) texts << c.text;
    return texts.join(QLatin1Char('|'));
  }
  static QString marks(const HandRowModel& list, int row) {
    QString m;
    for (const HandCell& c : list.row(row).cells) m += c.bold && c.color == kMarkColor ? 'B' : '-';
    return m;
  }
  // Index of the row with this bib, or of the hand-time row (no bib) of this hand time.
  static int rowOf(const HandRowModel& list, const QString& bib) {
    return static_cast<int>(column(list, 0).indexOf(bib));
  }
  static int rowOfHand(const HandRowModel& list, const QString& text, int col) {
    for (int i = 0; i < list.count(); ++i)
      if (list.text(i, 0) == QLatin1String("-") && list.text(i, col) == text) return i;
    return -1;
  }
  QString path(const QString& name) const { return dir_.filePath(name); }

  AppState state;
  ScriptedUi ui;

 private:
  QTemporaryDir dir_;
  int files_ = 0;
};

}  // namespace kx::test
