// The menu-state routines: the facts of the open file and the current discipline are read
// here and handed to the transition of app/menutable.h, whose result the menu then shows.
#include "app/mainwindow.h"
#include "workpanel/menuentries.h"

#include <QAction>

namespace kx {

namespace {

int Count(db::Connection& db, const QString& sql) {
  return db.scalar(sql).toInt();
}

}  // namespace

MenuSet MainWindow::enabledEntries() const {
  MenuSet set;
  for (const QString& entry : MenuStateEntries()) {
    if (isEnabled(entry)) set.insert(entry);
  }
  return set;
}

void MainWindow::applyMenuEvent(MenuEvent event) {
  const MenuSet next = NextMenuState(event, readMenuFacts(event), enabledEntries());
  for (const QString& entry : MenuStateEntries()) action(entry)->setEnabled(next.contains(entry));
}

MenuFacts MainWindow::readMenuFacts(MenuEvent event) {
  MenuFacts f;
  f.fileOpen = state_.CompetitionDb != nullptr;
  if (!f.fileOpen) return f;
  db::Connection& db = *state_.CompetitionDb;
  const bool open = event == MenuEvent::Open;
  const bool discipline = event == MenuEvent::DisciplineChange;
  if (open) {
    for (size_t t = 0; t < f.disciplineActive.size(); ++t) {
      f.disciplineActive[t] = state_.DisciplineActive[t];
    }
    f.pointsUpdate = CompetitionSettings::on(state_.Settings.code_aktiv) &&
                     CompetitionSettings::on(state_.Settings.punktewertung);
  }
  if (open || discipline || event == MenuEvent::ParticipantChange) {
    f.participants = Count(db, QStringLiteral("select count(*) as Anzahl from tblTeilnehmer")) > 0;
  }
  if (open || discipline || event == MenuEvent::TeamChange) {
    f.teamMembers = Count(db, QStringLiteral("select count(*) as Anzahl from tblTeilnehmer "
                                             "where mannschaft is not null")) > 0;
  }
  const bool times = open || discipline || event == MenuEvent::TimeChange;
  const bool certificates =
      times || event == MenuEvent::Combination || event == MenuEvent::CertificateChange;
  if (times) readRunFacts(f);
  if (certificates) readCertificateFacts(f);
  if ((times && f.runsWithTimes == 2) || (certificates && f.templateTable)) {
    f.teams = Count(db, QStringLiteral("select count(*) as Anzahl from tblMannschaft")) > 0;
  }
  return f;
}

void MainWindow::readRunFacts(MenuFacts& f) {
  db::Connection& db = *state_.CompetitionDb;
  const QString type = QString::number(state_.CurrentDisciplineType);

  db::Recordset runs =
      db.query(QStringLiteral("select durchgaenge from tblDisziplin where dtyp=") + type);
  for (int i = 0; i < runs.count(); ++i) {
    state_.RunCount = state_.RunsWithTimes = runs.at(i, "durchgaenge").toInt();
  }

  // The leading runs 1..n in which some result row passes `condition`.
  const int limit = state_.RunsWithTimes;
  auto leadingRuns = [&](const QString& condition) {
    int n = limit;
    for (int i = 1; i <= n; ++i) {
      const int anz =
          Count(db, QStringLiteral("select count(*) as anz from tblZeit where disziplin=") + type +
                        QStringLiteral(" and durchgang=") + QString::number(i) + condition);
      if (anz == 0) {
        n = i - 1;
        break;
      }
    }
    return n;
  };

  state_.RunsWithTimes = leadingRuns(QStringLiteral(" and start>0"));
  f.dayTimes = state_.RunsWithTimes >= 1;
  if (!f.dayTimes) state_.RunsWithTimes = leadingRuns(QString());
  f.runCount = state_.RunCount;
  f.runsWithTimes = state_.RunsWithTimes;
  f.startTimesLoaded = !state_.HzStart.empty();
  f.finishTimesLoaded = !state_.HzZiel.empty();
}

void MainWindow::readCertificateFacts(MenuFacts& f) {
  db::Connection& db = *state_.CompetitionDb;
  f.singleDiscipline = state_.CurrentDisciplineType < 6;
  // Only a table of exactly that name holds templates.
  f.templateTable = db.tables().contains(QStringLiteral("XtblUrkunde"));
  if (!f.templateTable) return;
  const QString d = QString::number(state_.CurrentDisciplineType);
  const QString usesResults =
      QStringLiteral(" and (TxText like '%<Platz>%' or TxText like '%<Zeit>%')");
  const QString templates =
      QStringLiteral("select count(*) as anz from XtblUrkunde where Disziplin=");
  f.disciplineTemplates = Count(db, templates + d) > 0;
  f.teamTemplates = Count(db, templates + QStringLiteral("7")) > 0;
  if (!f.singleDiscipline) return;
  f.disciplineTimes =
      Count(db, QStringLiteral("select count(*) as anz from tblZeit where disziplin=") + d) > 0;
  if (f.disciplineTimes) return;
  f.disciplineResultTemplates = f.disciplineTemplates && Count(db, templates + d + usesResults) > 0;
  f.teamResultTemplates =
      f.teamTemplates && Count(db, templates + QStringLiteral("7") + usesResults) > 0;
}

void MainWindow::UpdateTimeMenus() {
  if (!isEnabled(menu::DateiSchliessen) || !state_.CompetitionDb) return;
  applyMenuEvent(MenuEvent::TimeChange);
}

void MainWindow::UpdateParticipantMenus() {
  if (!state_.CompetitionDb) return;
  applyMenuEvent(MenuEvent::ParticipantChange);
}

void MainWindow::UpdateTeamMenus() {
  if (!state_.CompetitionDb) return;
  applyMenuEvent(MenuEvent::TeamChange);
}

void MainWindow::UpdateCertificateMenus() {
  applyMenuEvent(MenuEvent::CertificateChange);
}

}  // namespace kx
