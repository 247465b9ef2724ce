// The menu-state routines: runs and times, participants, teams and certificate templates.
#include "app/mainwindow.h"

namespace kx {

namespace {

int Count(db::Connection& db, const QString& sql) {
  return db.scalar(sql).toInt();
}

}  // namespace

void MainWindow::UpdateTimeMenus() {
  if (!isEnabled(QStringLiteral("DateiSchliessen")) || !state_.CompetitionDb) return;
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

  const bool startLoaded = !state_.HzStart.empty();
  const bool finishLoaded = !state_.HzZiel.empty();
  state_.RunsWithTimes = leadingRuns(QStringLiteral(" and start>0"));
  if (state_.RunsWithTimes < 1) {
    disable(QStringLiteral("Zeituebernahme"));
    state_.RunsWithTimes = leadingRuns(QString());
    enable(QStringLiteral("ZeituebernahmeH"),
           state_.RunsWithTimes >= 1 && startLoaded && finishLoaded);
  } else {
    enable(QStringLiteral("Zeituebernahme"));
    disable(QStringLiteral("ZeituebernahmeH"));
  }
  if (!startLoaded && !finishLoaded) {
    disable(QStringLiteral("ZeituebernahmeH"));
    disable(QStringLiteral("Zeituebernahme"));
  }

  for (const char* name :
       {"BearbeitenStartlisteDG2", "BearbeitenTafellisteDG2", "BearbeitenPenaltyProtokoll",
        "BearbeitenAushangliste", "BearbeitenErgebnisliste"}) {
    enable(QString::fromLatin1(name));
  }
  if (state_.RunsWithTimes == 0) {
    disable(QStringLiteral("BearbeitenStartlisteDG2"));
    disable(QStringLiteral("BearbeitenTafellisteDG2"));
    disable(QStringLiteral("BearbeitenPenaltyProtokoll"));
  }
  if (state_.RunsWithTimes == 2 &&
      Count(db, QStringLiteral("select count(*) as Anzahl from tblMannschaft")) > 0) {
    enable(QStringLiteral("BearbeitenISFErgebnisliste"));
  }
  UpdateCertificateMenus();
  if (state_.RunsWithTimes == state_.RunCount && state_.RunsWithTimes > 0 &&
      isEnabled(QStringLiteral("MannschaftenLoeschen"))) {
    enable(QStringLiteral("BearbeitenMannschaftsergebnisliste"));
  }
}

void MainWindow::UpdateParticipantMenus() {
  if (!state_.CompetitionDb) return;
  disable(QStringLiteral("TeilnehmerLoeschen"));
  enable(QStringLiteral("Finalteilnehmer"));
  if (Count(*state_.CompetitionDb, QStringLiteral("select count(*) as Anzahl from tblTeilnehmer")) >
      0) {
    enable(QStringLiteral("TeilnehmerLoeschen"));
    disable(QStringLiteral("Finalteilnehmer"));
  }
}

void MainWindow::UpdateTeamMenus() {
  if (!state_.CompetitionDb) return;
  disable(QStringLiteral("MannschaftenLoeschen"));
  if (Count(*state_.CompetitionDb,
            QStringLiteral(
                "select count(*) as Anzahl from tblTeilnehmer where mannschaft is not null")) > 0) {
    enable(QStringLiteral("MannschaftenLoeschen"));
  }
}

void MainWindow::UpdateCertificateMenus() {
  for (const char* name : {"UrkundenDruck", "UrkundenExport", "UrkundenMannschaft",
                           "UrkundenMannschaftBearbeiten", "UrkundenMannschaftDruck"}) {
    disable(QString::fromLatin1(name));
  }
  if (!state_.CompetitionDb) return;
  db::Connection& db = *state_.CompetitionDb;
  // Only a table of exactly that name holds templates.
  if (!db.tables().contains(QStringLiteral("XtblUrkunde"))) return;
  const QString d = QString::number(state_.CurrentDisciplineType);
  const QString usesResults =
      QStringLiteral(" and (TxText like '%<Platz>%' or TxText like '%<Zeit>%')");

  if (Count(db, QStringLiteral("select count(*) as Anzahl from XtblUrkunde where Disziplin=") + d) >
      0) {
    enable(QStringLiteral("UrkundenDruck"));
    enable(QStringLiteral("UrkundenExport"));
  }
  const bool single = state_.CurrentDisciplineType < 6;
  auto noTimes = [&] {
    return Count(db, QStringLiteral("select count(*) as anz from tblZeit where disziplin=") + d) ==
           0;
  };
  if (isEnabled(QStringLiteral("UrkundenDruck")) && single && noTimes() &&
      Count(db, QStringLiteral("select count(*) as anz from XtblUrkunde where Disziplin=") + d +
                    usesResults) > 0) {
    disable(QStringLiteral("UrkundenDruck"));
    disable(QStringLiteral("UrkundenExport"));
  }
  if (Count(db, QStringLiteral("select count(*) as Anzahl from tblMannschaft")) > 0) {
    enable(QStringLiteral("UrkundenMannschaft"));
    enable(QStringLiteral("UrkundenMannschaftBearbeiten"));
  }
  if (!isEnabled(QStringLiteral("UrkundenMannschaft"))) return;
  if (Count(db, QStringLiteral("select count(*) as Anzahl from XtblUrkunde where Disziplin=7")) >
      0) {
    enable(QStringLiteral("UrkundenMannschaftDruck"));
  }
  if (isEnabled(QStringLiteral("UrkundenMannschaftDruck")) && single && noTimes() &&
      Count(db, QStringLiteral("select count(*) as anz from XtblUrkunde where Disziplin=7") +
                    usesResults) > 0) {
    disable(QStringLiteral("UrkundenMannschaftDruck"));
  }
}

}  // namespace kx
