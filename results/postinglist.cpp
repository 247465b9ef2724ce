#include "results/postinglist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "results/racedata.h"
#include "results/resultlist.h"

#include <algorithm>

namespace kx {

namespace {

QString Cell(const RunRecord* rec) {
  if (!rec) return QString();
  if (rec->code == 0) return rec->netto ? FormatRunTime(*rec->netto) : QString();
  return ResultWord(rec->code);
}

bool SameName(const QString& a, const QString& b) {
  return db::CompareGerman(a, b) == 0;
}

}  // namespace

PostingGrid PostingGridFor(bool landscape, bool threeColumns) {
  PostingGrid g{};
  if (!landscape) {
    g = threeColumns ? PostingGrid{170, 180, 740, 860, 870, 1320, 1545, 1770, 2000}
                     : PostingGrid{170, 180, 820, 950, 960, 1470, 1735, 2000, 2000};
    g.headingY = 110;
    g.headingRule = 210;
    g.headingSize = 14;
    g.rowSize = 12;
    g.clubSize = 10;
    g.textOffset = 11;
    g.lowerRule = 59;
    g.threshold = 2830;
    g.clubDrop = 4;
    g.creditRight = 1970;
    g.creditY = 2900;
  } else {
    g = threeColumns ? PostingGrid{220, 230, 1070, 1240, 1250, 1898, 2222, 2546, 2870}
                     : PostingGrid{220, 230, 1170, 1360, 1370, 2100, 2485, 2870, 2870};
    g.headingY = 126;
    g.headingRule = 270;
    g.headingSize = 20;
    g.rowSize = 17;
    g.clubSize = 14;
    g.textOffset = 16;
    g.lowerRule = 84;
    g.threshold = 1930;
    g.clubDrop = 6;
    g.creditRight = 2840;
    g.creditY = 2030;
  }
  g.total = threeColumns;
  return g;
}

std::vector<PostingRow> PostingRows(const RaceData& data, const PostingListOptions& options,
                                    int typ, bool years) {
  const QString& grouping = options.grouping;
  std::vector<const Racer*> chosen;
  for (const Racer& r : data.racers) {
    bool in = true;
    if (grouping == QLatin1String("Klasse")) {
      const ClassRow* k = data.classOf(r);
      in = k && SameName(k->name, options.division);
    } else if (grouping == QLatin1String("Gruppe")) {
      const NamedRow* g = data.groupOf(r);
      in = g && SameName(g->name, options.division);
    } else if (grouping == QLatin1String("Kategorie")) {
      const ClassRow* k = data.classOf(r);
      const auto cat =
          k && k->geschlecht ? data.categories.find(*k->geschlecht) : data.categories.end();
      in = cat != data.categories.end() && SameName(cat->second.name, options.division);
    }
    if (in) chosen.push_back(&r);
  }
  std::sort(chosen.begin(), chosen.end(), [](const Racer* a, const Racer* b) {
    if (a->bib != b->bib) return a->bib < b->bib;
    if (const int c = db::CompareGerman(a->nachname, b->nachname)) return c < 0;
    if (const int c = db::CompareGerman(a->vorname, b->vorname)) return c < 0;
    return a->id < b->id;
  });
  const bool fis = typ == 0 || typ == 1;
  const bool total = !BestRunType(typ);
  std::vector<PostingRow> rows;
  rows.reserve(chosen.size());
  for (const Racer* r : chosen) {
    PostingRow row;
    row.bib = r->bibText();
    row.name = r->nachname + QStringLiteral(", ") + r->vorname;
    if (years && r->jahrgang) row.year = QString::number(*r->jahrgang);
    row.club = fis ? r->nation.value_or(QString())
                   : (r->verein ? CapitalizeClubName(*r->verein) : QString());
    const RunRecord* run1 = r->record(1);
    const RunRecord* run2 = r->record(2);
    row.run1 = Cell(run1);
    row.run2 = Cell(run2);
    // The total needs two valid runs, the first above 0.
    if (total && run1 && run2 && run1->code == 0 && run2->code == 0 && run1->netto && run2->netto &&
        *run1->netto > 0)
      row.total = FormatRunTime(*run1->netto + *run2->netto);
    rows.push_back(std::move(row));
  }
  return rows;
}

ResultLine WritePostingList(const AppState& state, const PostingListOptions& options) {
  DocumentOutput out(OutputContext::Of(state),
                     {QStringLiteral("Aushangliste"), QStringLiteral("-Aushangliste-"),
                      QStringLiteral("Aushangliste ")});
  if (!out.OpenDoc(options.openAfterOutput, options.landscape)) return out.result();
  UserInterface& ui = *state.Ui;
  auto noData = [&] {
    ui.message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation,
               QStringLiteral("Achtung"));
    out.KeepFromViewer();
  };
  const db::Recordset event =
      state.db().query(QStringLiteral("select bewerbsbezeichnung from tblDisziplin where dtyp = ") +
                       QString::number(state.CurrentDisciplineType));
  QString name;
  if (event.empty()) {
    noData();
  } else {
    name = event.at(0, 0).toString();
    const qsizetype cut = name.indexOf(QLatin1String("\r\n"));
    if (cut >= 0) name = name.left(cut);
  }

  const int typ = state.Settings.typNumber();
  const PostingGrid g = PostingGridFor(options.landscape, !BestRunType(typ));
  const RaceData data =
      ReadRaceData(state.db(), state.CurrentDisciplineType, state.CurrentDisciplineCode);
  const std::vector<PostingRow> rows =
      PostingRows(data, options, typ, CompetitionSettings::on(state.Settings.jahrgang_aktiv));
  const bool grouped = options.grouping != QLatin1String("keine Unterteilung");

  pdf::PdfPen& pen = out.pen();
  pen.setLineWidth(2);
  pen.line(70, 70, g.right, 70);
  pen.setFont(QStringLiteral("Arial"));
  pen.setBold(true);
  pen.setSize(g.headingSize);
  QString rest = QStringLiteral("    ") + state.currentListTitle();
  if (grouped) rest += QStringLiteral("  -  ") + options.division;
  // On one line above the rule.
  pen.centered(70, g.right, g.headingY, pen.cutBefore(name, rest, g.right - 70));
  pen.line(70, g.headingRule, g.right, g.headingRule);
  if (rows.empty() && !event.empty()) noData();

  int y = g.headingRule;
  int top = g.headingRule;
  auto closeGrid = [&] {
    pen.line(70, 70, 70, y);
    pen.line(g.right, 70, g.right, y);
    for (int x : {g.bibName, g.nameYear, g.yearClub, g.clubRun1, g.run1Run2})
      pen.line(x, top, x, y);
    if (g.total) pen.line(g.run2Total, top, g.run2Total, y);
  };
  for (const PostingRow& row : rows) {
    if (y > g.threshold) {
      closeGrid();
      pdf::PdfCheck(out.doc(), out.doc().NewPage());
      pen.line(70, 70, g.right, 70);
      y = top = 70;
    }
    const int t = y + g.textOffset;
    pen.setSize(g.rowSize);
    pen.setBold(true);
    pen.centered(70, g.bibName, t, row.bib);
    pen.setBold(false);
    // The texts at the row size first, the shrunk ones last: fewer font changes.
    const bool nameFits = pen.textWidth(row.name) <= g.nameYear - g.nameX;
    if (nameFits) pen.textOut(g.nameX, t, row.name);
    pen.centered(g.nameYear, g.yearClub, t, row.year);
    pen.drawText(g.clubRun1, t, g.run1Run2 - 20, pdf::kAlignRight, row.run1);
    pen.drawText(g.run1Run2, t, g.run2Total - 20, pdf::kAlignRight, row.run2);
    if (g.total) pen.drawText(g.run2Total, t, g.right - 20, pdf::kAlignRight, row.total);
    if (!nameFits) {
      QString shown = row.name;
      const int drop = pen.fitInto(shown, g.rowSize, g.nameYear - g.nameX);
      pen.textOut(g.nameX, t + drop, shown);
    }
    if (!row.club.isEmpty()) {
      QString club = row.club;
      const int drop = pen.fitInto(club, g.clubSize, g.clubRun1 - g.clubX, 2, g.clubDrop);
      pen.textOut(g.clubX, t + drop, club);
    }
    y = t + g.lowerRule;
    pen.line(70, y, g.right, y);
  }
  closeGrid();
  pen.setBold(false);
  pen.setSize(8);
  pen.centered(130, g.creditRight, g.creditY, state.CreditLine);
  out.FinishDoc(static_cast<int>(rows.size()));
  return out.result();
}

}  // namespace kx
