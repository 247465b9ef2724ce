#include "livetiming/choices.h"

#include "common/appstate.h"
#include "db/database.h"

namespace kx {

GroupingUse ReadGroupingUse(const AppState& state) {
  const QString& c = state.CurrentDisciplineCode;
  db::Connection& connection = state.db();
  GroupingUse use;
  use.classes = connection
                    .scalar(QStringLiteral("select count(*) as Anzahl from tblTeilnehmer "
                                           "t,tblKlasse k where ") +
                            c + QStringLiteral("aktiv = true and t.klasse=k.id"))
                    .toLongLong() > 0;
  use.groups = connection
                   .scalar(QStringLiteral("select count(*) as Anzahl from tblTeilnehmer "
                                          "t,tblKlasse k,tblGruppe g where ") +
                           c + QStringLiteral("aktiv = true and t.klasse=k.id and k.gruppe=g.id"))
                   .toLongLong() > 0;
  return use;
}

QStringList GroupingEntries(const GroupingUse& use) {
  QStringList entries;
  if (use.classes) entries.append(QStringLiteral("Klasse"));
  if (use.groups) entries.append(QStringLiteral("Gruppe"));
  entries.append(QStringLiteral("Kategorie"));
  return entries;
}

int GroupingPreselection(const QStringList& entries, int typ) {
  const int klasse = static_cast<int>(entries.indexOf(QStringLiteral("Klasse")));
  if (klasse >= 0 && typ != 0 && typ != 1) return klasse;
  return static_cast<int>(entries.indexOf(QStringLiteral("Kategorie")));
}

QStringList Run1RuleEntries() {
  return {QStringLiteral("Startnummer"), QStringLiteral("Klasse / Start-Nr"),
          QStringLiteral("KSF-Schülerreglement"), QStringLiteral("KSF-Reglement"),
          QStringLiteral("FIS-Reglement")};
}

QStringList Run2RuleEntries(const GroupingUse& use) {
  QStringList entries{QStringLiteral("Startnummer"), QStringLiteral("St-Nr pro Klasse drehen")};
  if (use.groups) entries.append(QStringLiteral("St-Nr pro Gruppe drehen"));
  entries << QStringLiteral("KSF-Schülerreglement") << QStringLiteral("KSF-Reglement")
          << QStringLiteral("FIS-Reglement") << QStringLiteral("U12 (SVQ)");
  if (use.classes) entries.append(QStringLiteral("Nach Zeiten pro Klasse"));
  if (use.groups) entries.append(QStringLiteral("Nach Zeiten pro Gruppe"));
  entries.append(QStringLiteral("Nach Zeiten pro Kategorie"));
  return entries;
}

int DefaultRulePosition(int typ) {
  switch (typ) {
    case 6:
    case 7:
    case 12:
      return 1;
    case 4:
    case 5:
      return 2;
    case 2:
    case 3:
      return 3;
    case 0:
    case 1:
      return 4;
    default:
      return 0;
  }
}

QString DefaultRun2Rule(int typ, const GroupingUse& use) {
  // Group races of these types turn the bibs per group in run 2.
  if (use.groups && (typ == 4 || typ == 5)) return QStringLiteral("St-Nr pro Gruppe drehen");
  return Run2RuleEntries(GroupingUse{}).value(DefaultRulePosition(typ));
}

std::array<std::optional<QString>, 2> ReadStoredRules(db::Connection& connection) {
  const db::Recordset rs =
      connection.query(QStringLiteral("select durchgang,reihenfolge from tblStali order by 1"));
  std::array<std::optional<QString>, 2> rules;
  for (int row = 0; row < rs.count() && row < 2; ++row) {
    rules[static_cast<size_t>(row)] = rs.at(row, 1).toString().trimmed();
  }
  return rules;
}

void CreateStaliTable(db::Connection& connection, const QString& rule1, const QString& rule2) {
  db::Transaction transaction(connection);
  try {
    connection.execute(
        QStringLiteral("create table tblStali (durchgang short not null, reihenfolge char(50) "
                       "not null, primary key(durchgang))"));
    const QString insert =
        QStringLiteral("insert into tblStali (durchgang,reihenfolge) values(?,?)");
    connection.execute(insert, {1, rule1});
    connection.execute(insert, {2, rule2});
  } catch (const db::Error& e) {
    // The statements are fixed: a refusal other than a fault of the file (a lock, a full
    // disk) means another object of that name (a view) is in the table's place.
    if (e.fault() != db::Error::Fault::Other) throw;
    throw db::DamagedFileError(connection.path(), e.text());
  }
  transaction.commit();
}

void StoreRule(db::Connection& connection, int run, const QString& rule) {
  const int changed = connection.execute(
      QStringLiteral("update tblStali set reihenfolge=? where durchgang=?"), {rule, run});
  if (changed == 0) {
    connection.execute(QStringLiteral("insert into tblStali (durchgang,reihenfolge) values(?,?)"),
                       {run, rule});
  }
}

EventChoice SplitEvents(const QString& eventText, const QString& raceNumber,
                        const QString& dateText) {
  EventChoice choice;
  if (eventText.isEmpty()) return choice;
  choice.events = eventText.split(u'\u00B0');
  for (int i = 0; i < choice.events.size(); ++i) {
    const QString& event = choice.events[i];
    if (!raceNumber.isEmpty() && event.contains(raceNumber)) {
      choice.selected = i;
    } else if (choice.selected < 0 && event.left(10) == dateText) {
      choice.selected = i;
    }
  }
  if (choice.selected < 0) choice.selected = 0;
  return choice;
}

int FindExactEntry(const QStringList& entries, const QString& text) {
  for (int i = 0; i < entries.size(); ++i) {
    if (entries[i] == text) return i;
  }
  return -1;
}

}  // namespace kx
