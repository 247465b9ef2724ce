#include "results/racepoints.h"

#include "common/appstate.h"
#include "common/inifile.h"
#include "common/masterdata.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "results/racedata.h"
#include "results/resultlist.h"
#include "results/teamranking.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace kx {

namespace {

constexpr int kDefaultFactor = 600;

// One valued participant of a discipline.
struct Valued {
  const Racer* racer;
  double time;  // hundredths as stored
  std::optional<int> sortpos;
  QString division;
};

// Writes the columns of one call; runs in the caller's transaction or in one of its own.
template <typename Body>
void InOneTransaction(db::Connection& db, Body body) {
  if (db.inTransaction()) {
    body();
    return;
  }
  db::Transaction transaction = db.transaction();
  body();
  transaction.commit();
}

QString ColumnOf(const AppState& state, int k) {
  return QStringLiteral("rpkte") + state.DisciplineCodes[static_cast<size_t>(k)];
}

void Reset(db::Connection& db, const QString& column) {
  db.execute(QStringLiteral("update tblTeilnehmer set ") + column + QStringLiteral("=9999.99"));
}

void Store(db::Connection& db, const QString& column, int id, double value) {
  // Two decimals, as the column is read back.
  const double rounded = QString::number(value, 'f', 2).toDouble();
  db.execute(QStringLiteral("update tblTeilnehmer set ") + column + QStringLiteral("=? where id=?"),
             {rounded, id});
}

}  // namespace

int RacePointsFactor(const QString& programDir, int dtyp) {
  const QString text =
      GetPrivateProfileString(QStringLiteral("FVAL"), QStringLiteral("D%1").arg(dtyp),
                              QString::number(kDefaultFactor),
                              QDir(programDir).filePath(QStringLiteral("Kandor.ini")))
          .left(5)
          .trimmed();
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < std::numeric_limits<qint16>::min() ||
      value > std::numeric_limits<qint16>::max())
    return kDefaultFactor;
  return value;
}

std::map<int, int> ReadPointsTable(const QString& programDir) {
  const db::Recordset rs =
      OpenMasterData(programDir)
          ->query(QStringLiteral("select rang,punkte from tblPunkte order by rang"));
  std::map<int, int> table;
  for (int i = 0; i < rs.count(); ++i) {
    if (rs.at(i, 0).isNull()) continue;
    const double rank = rs.at(i, 0).toDouble();
    const double points = rs.at(i, 1).toDouble();
    // A damaged row (1e300, not a number) is no rank or points value of the table.
    if (!(std::fabs(rank) < 1e9) || !(std::fabs(points) < 1e9)) continue;
    table[static_cast<int>(RoundHalfEven(rank))] = static_cast<int>(RoundHalfEven(points));
  }
  return table;
}

bool ComputeRacePoints(AppState& state, const SelectedDisciplines& selected,
                       RacePointsMethod method, RacePointsDivision division) {
  std::map<int, int> table;
  if (method == RacePointsMethod::PointsTable &&
      std::find(selected.begin(), selected.end(), true) != selected.end()) {
    try {
      table = ReadPointsTable(state.ProgramDir);
    } catch (const db::Error& e) {
      state.Ui->message(
          MasterDataFailureText(state.ProgramDir, e,
                                QStringLiteral("Die Punktetabelle der Stammdaten (STAMMDAT.mdb) "
                                               "kann nicht gelesen werden.\nEs wurden keine "
                                               "Rennpunkte berechnet.")),
          MsgIcon::Exclamation, QStringLiteral("Achtung"));
      return false;
    }
  }
  const bool bestRun = BestRunType(state.Settings.typNumber());
  db::Connection& db = state.db();

  InOneTransaction(db, [&] {
    for (int k = 0; k < 6; ++k) {
      if (!selected[static_cast<size_t>(k)]) continue;
      const QString column = ColumnOf(state, k);
      const int factor = RacePointsFactor(state.ProgramDir, k);
      Reset(db, column);
      const RaceData data = ReadRaceData(db, k, state.DisciplineCodes[static_cast<size_t>(k)]);
      const int runs = DisciplineRuns(db, k);
      std::vector<Valued> rows;
      for (const Racer& r : data.racers) {
        const std::optional<double> time = FinishedResult(r, bestRun, runs);
        // A participant without a time above 0 takes no position.
        if (!time || *time <= 0) continue;
        Valued v{&r, *time, std::nullopt, QString()};
        switch (division) {
          case RacePointsDivision::None:
            break;
          case RacePointsDivision::Class: {
            const ClassRow* c = data.classOf(r);
            if (!c) continue;
            v.sortpos = c->sortpos;
            v.division = c->name;
            break;
          }
          case RacePointsDivision::Group: {
            const NamedRow* g = data.groupOf(r);
            if (!g) continue;
            v.sortpos = g->sortpos;
            v.division = g->name;
            break;
          }
          case RacePointsDivision::Category:
            v.division = r.sex.value_or(QString());
            break;
        }
        rows.push_back(v);
      }
      const bool byLetter = division == RacePointsDivision::Category;
      std::sort(rows.begin(), rows.end(), [byLetter](const Valued& a, const Valued& b) {
        if (byLetter) {
          // Letters descending: "W" before "M".
          if (const int c = db::CompareGerman(a.division, b.division)) return c > 0;
        } else {
          if (a.sortpos != b.sortpos) return a.sortpos < b.sortpos;
          if (const int c = db::CompareGerman(a.division, b.division)) return c < 0;
        }
        if (a.time != b.time) return a.time < b.time;
        return a.racer->id < b.racer->id;
      });
      int position = 0;
      double leader = 0;
      const QString* current = nullptr;
      for (const Valued& v : rows) {
        if (!current || v.division != *current) {
          current = &v.division;
          leader = v.time;
          position = 1;
        } else {
          ++position;
        }
        double value = 0;
        if (method == RacePointsMethod::Factor) {
          value = factor * v.time / leader - factor;
        } else {
          const auto at = table.find(position);
          value = at == table.end() ? 0 : at->second;
        }
        Store(db, column, v.racer->id, value);
      }
    }
  });
  return true;
}

void StoreRunTimes(AppState& state, const SelectedDisciplines& selected) {
  const bool bestRun = BestRunType(state.Settings.typNumber());
  db::Connection& db = state.db();
  InOneTransaction(db, [&] {
    for (int k = 0; k < 6; ++k) {
      if (!selected[static_cast<size_t>(k)]) continue;
      const QString column = ColumnOf(state, k);
      Reset(db, column);
      const RaceData data =
          ReadRaceData(db, k, state.DisciplineCodes[static_cast<size_t>(k)], false);
      const int runs = DisciplineRuns(db, k);
      for (const Racer& r : data.racers) {
        if (r.runs.empty()) continue;
        const std::optional<double> time = FinishedResult(r, bestRun, runs);
        if (time) Store(db, column, r.id, *time / 100.0);
      }
    }
  });
}

}  // namespace kx
