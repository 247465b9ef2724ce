#include "lists/listpanelsupport.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>

#include <cmath>
#include <limits>

namespace kx {

namespace {

void SetItem(QStringList& items, int position, const QString& text) {
  if (position < items.size()) {
    items[position] = text;
  } else {
    items.append(text);
  }
}

}  // namespace

GroupingList BuildGroupingChoices(const AppState& state, GroupingChoices variant) {
  GroupingList list;
  SetItem(list.items, 0, QStringLiteral("keine Unterteilung"));
  list.selected = 0;
  const int typ = state.Settings.typNumber();
  if ((typ == 0 || typ == 1) && variant != GroupingChoices::TeamList) return list;
  const bool resultSide = variant == GroupingChoices::ResultList ||
                          variant == GroupingChoices::TeamList ||
                          variant == GroupingChoices::PostingList;

  const QString c = state.CurrentDisciplineCode;
  db::Connection& db = state.db();
  SetItem(list.items, 1, QStringLiteral("Klasse"));
  int p = 1;
  if (db.scalar(
            QStringLiteral("select count(*) as Anzahl from tblTeilnehmer t,tblKlasse k where ") +
            c + QStringLiteral("aktiv = true and t.klasse=k.id"))
          .toInt() > 0) {
    if (variant != GroupingChoices::Run2Board) list.selected = 1;
    p = 2;
  }
  if (db.scalar(QStringLiteral("select count(*) as Anzahl from tblTeilnehmer t,tblKlasse k,"
                               "tblGruppe g where ") +
                c + QStringLiteral("aktiv = true and t.klasse=k.id and k.gruppe=g.id"))
          .toInt() > 0) {
    SetItem(list.items, p, QStringLiteral("Gruppe"));
    ++p;
  }
  if (resultSide) {
    list.items.insert(p, QStringLiteral("Kategorie"));
    if (list.selected == 0 && variant != GroupingChoices::PostingList) list.selected = p;
    return list;
  }
  switch (variant) {
    case GroupingChoices::Run1:
      SetItem(list.items, p, QStringLiteral("Kategorie / StartNr"));
      if (list.selected == 0) list.selected = p;
      SetItem(list.items, p + 1, QStringLiteral("Kategorie / IdNr"));
      break;
    case GroupingChoices::Run2StartList:
      SetItem(list.items, p, QStringLiteral("Kategorie"));
      if ((typ >= 2 && typ <= 7) || list.selected == 0) list.selected = p;
      break;
    case GroupingChoices::Run2Board:
      SetItem(list.items, p, QStringLiteral("Kategorie"));
      list.selected = p;
      break;
    case GroupingChoices::ResultList:
    case GroupingChoices::TeamList:
    case GroupingChoices::PostingList:
      break;
  }
  return list;
}

void FillGroupingCombo(QComboBox& combo, const AppState& state, GroupingChoices variant) {
  const GroupingList list = BuildGroupingChoices(state, variant);
  combo.clear();
  combo.addItems(list.items);
  combo.setCurrentIndex(list.selected);
}

std::optional<PanelEventTexts> ReadPanelEventTexts(const AppState& state, bool resultListDate) {
  const QString columns =
      resultListDate ? QStringLiteral("bewerbsbezeichnung,datum_rangliste")
                     : QStringLiteral("bewerbsbezeichnung,datum_startliste,datum_rangliste");
  db::Recordset rs = state.db().query(QStringLiteral("select ") + columns +
                                      QStringLiteral(" from tblDisziplin where dtyp = ") +
                                      QString::number(state.CurrentDisciplineType));
  if (rs.empty()) return std::nullopt;
  PanelEventTexts texts;
  texts.name = rs.at(0, "bewerbsbezeichnung").toString();
  if (!resultListDate && !rs.at(0, "datum_startliste").isNull()) {
    texts.date = rs.at(0, "datum_startliste").toString();
  } else {
    texts.date = rs.at(0, "datum_rangliste").toString();
  }
  return texts;
}

std::optional<double> ParseBoxValue(const QString& text) {
  bool ok = false;
  const double value = QLocale().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> ParseBoxNumber(const QString& text) {
  const std::optional<double> value = ParseBoxValue(text);
  if (!value) return std::nullopt;
  // The default rounding mode rounds halves to the even neighbour.
  const double whole = std::nearbyint(*value);
  if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(whole);
}

void FillEventLabels(const AppState& state, QLabel* name, QLabel* date, bool resultListDate) {
  if (const auto texts = ReadPanelEventTexts(state, resultListDate)) {
    name->setText(texts->name);
    date->setText(texts->date);
  }
}

std::optional<int> ReadReversalCount(UserInterface& ui, QString& text) {
  if (text.isEmpty()) text = QStringLiteral("0");
  const std::optional<int> count = ParseBoxNumber(text);
  if (!count) {
    ui.message(QStringLiteral(
        "Die Anzahl für die Umkehrung der ersten Läufer pro Gruppierung ist nicht numerisch"));
  }
  return count;
}

}  // namespace kx
