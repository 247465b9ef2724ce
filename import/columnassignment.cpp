#include "import/columnassignment.h"

#include "common/appstate.h"

namespace kx {

namespace {

TargetRow Row(ImportTarget target, const QString& label, QStringList words,
              QStringList runHeaderWords = {}) {
  return TargetRow{target, label, std::move(words), std::move(runHeaderWords), {}, {}, -1};
}

}  // namespace

TargetRows ParticipantTargetRows(const CompetitionSettings& settings, const QString& versionClass,
                                 int runCount, const QString& disciplineCode) {
  using T = ImportTarget;
  const auto on = &CompetitionSettings::on;
  const int typ = settings.typNumber();
  TargetRows rows;
  if (on(settings.code_aktiv)) {
    const bool federationId = typ >= 2 && typ <= 7 && versionClass >= QLatin1String("55");
    rows.push_back(Row(T::Code, federationId ? QStringLiteral("KSF-Id") : QStringLiteral("Code-Nr"),
                       {"ksf-code-nr", "code", "ksf-id"}));
  }
  rows.push_back(Row(T::Nachname, QStringLiteral("Nachname"), {"name", "nachname"}));
  TargetRow vorname = Row(T::Vorname, QStringLiteral("Vorname"), {"vorname"});
  vorname.secondPass = {QStringLiteral("name")};
  rows.push_back(vorname);
  rows.push_back(Row(T::Geschlecht, QStringLiteral("Geschlecht"), {"sex", "geschlecht", "kateg"}));
  if (on(settings.verein_aktiv)) {
    rows.push_back(Row(T::Verein, QStringLiteral("Verein"), {"verein", "association"}));
  }
  rows.push_back(
      Row(T::Jahrgang, QStringLiteral("Jahrgang"), {"jahrgang", "jg", "born"}, {"jahr"}));
  if (on(settings.nation_aktiv)) {
    rows.push_back(Row(T::Nation, QStringLiteral("Verband/Nation"),
                       {"verband", "nation", "nat", "v/g", "nvg", "verbandskürzel"}));
  }
  if (on(settings.mannschaftswertung)) {
    rows.push_back(Row(T::Mannschaft, QStringLiteral("Mannschaft"), {"mannschaft"}, {"team"}));
  }
  if (on(settings.punktewertung)) {
    rows.push_back(Row(T::Punkte, QStringLiteral("Punkte"), {"listenpkt", "pnt"}));
  }
  rows.push_back(Row(T::StartNr, QStringLiteral("Start-Nr"),
                     {"startnr", "stnr", "no", QStringLiteral("startnr") + disciplineCode}));
  if (runCount == 1) {
    rows.push_back(Row(T::Lauf1, QStringLiteral("Laufzeit"), {}, {"lauf 1"}));
  } else if (runCount == 2 || runCount == 3) {
    const bool two = runCount == 2;
    rows.push_back(Row(T::Lauf1, QStringLiteral("Laufzeit1"), {},
                       two ? QStringList{"lauf 1"} : QStringList{}));
    rows.push_back(Row(T::Lauf2, QStringLiteral("Laufzeit2"), {},
                       two ? QStringList{"lauf 2"} : QStringList{}));
    if (!two) rows.push_back(Row(T::Lauf3, QStringLiteral("Laufzeit3"), {}));
  }
  if (on(settings.klassenwertung) && typ > 7) {
    rows.push_back(Row(T::Klasse, QStringLiteral("Klasse"), {}, {"klasse"}));
  }
  return rows;
}

TargetRows ClassTargetRows() {
  using T = ImportTarget;
  return {Row(T::Gruppe, QStringLiteral("Gruppe"), {"gruppe", "gruppenname"}),
          Row(T::Klasse, QStringLiteral("Klasse"), {"name", "klassenname"}),
          Row(T::Geschlecht, QStringLiteral("Kategorie"), {"kategorie", "geschlecht"}),
          Row(T::Jahrgang, QStringLiteral("bis Jahrgang"),
              {"jahr jüngster", "jahrgang", "bis jahrgang"})};
}

void AutoAssign(TargetRow& row, const QStringList& header, bool runHeaderPresent) {
  auto assign = [&](const QStringList& words, const QStringList& more) {
    for (const QString& text : header) {
      const QString lower = text.toLower();
      if (words.contains(lower) || more.contains(lower)) {
        row.excel = text;
        return true;
      }
    }
    return false;
  };
  if (assign(row.words, runHeaderPresent ? row.runHeaderWords : QStringList())) return;
  if (!row.secondPass.isEmpty()) assign(row.secondPass, {});
}

const TargetRow* FindTarget(const TargetRows& rows, ImportTarget target) {
  for (const TargetRow& row : rows) {
    if (row.target == target) return &row;
  }
  return nullptr;
}

TargetRow* FindTarget(TargetRows& rows, ImportTarget target) {
  for (TargetRow& row : rows) {
    if (row.target == target) return &row;
  }
  return nullptr;
}

void LocateColumns(TargetRows& rows, const QStringList& header) {
  for (TargetRow& row : rows) {
    row.col = -1;
    if (!row.assigned()) continue;
    for (int p = 0; p < header.size(); ++p) {
      if (header[p] == row.excel) row.col = p;
    }
  }
}

QString MissingColumnMessage(const TargetRows& rows, const QStringList& optionalLabels) {
  for (const TargetRow& row : rows) {
    if (!row.assigned() && !optionalLabels.contains(row.label)) {
      return QStringLiteral("Der Kandor-Spalte '") + row.label +
             QStringLiteral("' ist noch keine Excel-Spalte zugeordnet");
    }
  }
  return QString();
}

}  // namespace kx
