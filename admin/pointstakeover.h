#pragma once

// Bringing the participants up to date with the federation's points list of the master
// data: the list's points in the five entry-points columns (the parallel slalom's column
// keeps its value) and the list's federation id in `svid`.

#include <QString>
#include <QStringList>

#include <optional>

namespace kx::db {
class Connection;
}

namespace kx {

// The versions of the adult (typ 3) and youth (typ 4) points lists as the panel shows them,
// "/" written as " vom ", or the message that refuses the panel when a list is missing.
struct PointsListVersions {
  QString adult;
  QString youth;
  std::optional<QString> refusal;
};
PointsListVersions ReadPointsListVersions(db::Connection& masterData);

struct PointsTakeoverResult {
  int participants = 0;   // participants read from the competition file
  int updated = 0;        // participants written
  QStringList conflicts;  // "Nachname Vorname" of those skipped for a federation id in use
};

// Looks every participant up by surname, first name, sex, year of birth and club (German,
// case-insensitive), reading the list once; the first entry in the list's order counts.
// Participants without surname, first name, club or year are skipped, and so is one whose
// federation id another participant already holds. `withSvid`: the file has the column
// `svid`; without it only the points are written. One transaction; throws db::Error.
PointsTakeoverResult TakeOverPoints(db::Connection& competition, db::Connection& masterData,
                                    bool withSvid);

}  // namespace kx
