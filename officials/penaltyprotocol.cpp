#include "officials/penaltyprotocol.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "officials/officialdocframe.h"
#include "pdf/pdfpen.h"

#include <QStringList>

#include <cmath>

namespace kx {

namespace {

const QString kPercentText = QString::number(kPenaltyPercent);

// The sex codes of the two groups and their headings.
const std::array<QString, 2> kGroupCodes{QStringLiteral("('D','W')"), QStringLiteral("('H','M')")};
const std::array<QString, 2> kGroupHeadings{QStringLiteral("Mädchen"), QStringLiteral("Buben")};

// Rows of the list part: a row below this starts a new page; rows of a continuation page
// start here.
constexpr int kLastRowTop = 2790;
constexpr int kContinuationTop = 340;
constexpr int kRowHeight = 43;
// Space between a group heading and its first row.
constexpr int kHeadingGap = 80;
constexpr int kHeadingToRow = 53;

QString NameOf(const db::Recordset& rs, int row) {
  return rs.at(row, "nachname").toString() + QStringLiteral(" ") + rs.at(row, "vorname").toString();
}

// The table of best times: its top, its outer edges and the lines between its columns.
constexpr int kTableTop = 340;
constexpr int kTableLeft = 130;
constexpr int kTableRight = 2015;

// The rule and the heads of the table of best times; returns the top of its first row.
int DrawRuleAndTableHeads(pdf::PdfPen& pen) {
  pen.setBold(true);
  pen.setSize(10);
  pen.textOut(130, 290,
              QStringLiteral("PENALTY-REGEL plus ") + kPercentText +
                  QStringLiteral("% Zeitzuschlag auf die Bestzeit:"));
  int y = kTableTop;
  pen.setLineWidth(4);
  pen.line(kTableLeft, y, kTableRight, y);
  y += 30;
  pen.setSize(9);
  pen.centered(130, 275, y, QStringLiteral("Start-Nr"));
  pen.textOut(290, y, QStringLiteral("Name Vorname"));
  pen.centered(875, 1020, y, QStringLiteral("Kat"));
  pen.centered(1020, 1350, y, QStringLiteral("Bestzeit"));
  pen.centered(1350, 1680, y, QStringLiteral("+ ") + kPercentText + QStringLiteral(" %"));
  pen.centered(1680, 2015, y, QStringLiteral("PENALTY-Zeit"));
  y += 60;
  pen.line(kTableLeft, y, kTableRight, y);
  y += 20;
  pen.setBold(false);
  return y;
}

// A group's fastest racer with his best time, the surcharge and the penalty time; returns
// the line below the row.
int DrawBestTimeRow(pdf::PdfPen& pen, int y, const PenaltyGroup& group) {
  pen.setSize(14);
  pen.centered(130, 275, y, group.bib);
  pen.setSize(10);
  pen.textOut(290, y + 8, pen.cut(group.name, 570));  // up to the category column
  pen.setSize(14);
  pen.centered(875, 1020, y, group.fastestCode);
  pen.centered(1020, 1350, y, PenaltyTimeText(group.best));
  pen.centered(1350, 1680, y, PenaltyTimeText(group.surcharge));
  pen.centered(1680, 2015, y, PenaltyTimeText(group.penalty));
  y += 70;
  pen.setLineWidth(2);
  pen.line(kTableLeft, y, kTableRight, y);
  return y;
}

// The frame of the table of best times and the lines between its columns, down to `bottom`.
void DrawTableFrame(pdf::PdfPen& pen, int bottom) {
  pen.setLineWidth(4);
  pen.line(kTableLeft, bottom, kTableRight, bottom);
  pen.line(kTableLeft, kTableTop, kTableLeft, bottom);
  pen.line(kTableRight, kTableTop, kTableRight, bottom);
  pen.setLineWidth(2);
  for (const int x : {275, 875, 1020, 1350, 1680}) pen.line(x, kTableTop, x, bottom);
}

// A group's heading in the list part, underlined; an empty heading draws nothing visible.
void DrawGroupHeading(pdf::PdfPen& pen, int y, const QString& heading) {
  pen.setBold(true);
  pen.setSize(10);
  pen.textOut(290, y, heading);
  if (!heading.isEmpty()) {
    pen.setLineWidth(3);
    pen.line(290, y + 38, 290 + pen.textWidth(heading), y + 38);
  }
}

// One listed racer: bib, name, birth year, club, and his time or why he has none.
void DrawListedRow(pdf::PdfPen& pen, int y, const PenaltyRow& row) {
  pen.setBold(false);
  pen.setItalic(false);
  pen.setSize(9);
  pen.drawText(90, y, 225, pdf::kAlignRight, row.bib);
  int drop = pen.fit(row.name, 9, 470);
  pen.textOut(290, y + drop, pen.cut(row.name, 470));
  pen.setSize(9);
  pen.drawText(150, y, 810, pdf::kAlignRight, row.jahrgang.mid(2, 2));
  if (!row.verein.isEmpty()) {
    drop = pen.fit(row.verein, 9, 500);
    pen.textOut(880, y + drop, pen.cut(row.verein, 500));
  }
  pen.setSize(9);
  const QString result = row.ergcode == 0   ? PenaltyTimeText(row.time)
                         : row.ergcode == 2 ? QStringLiteral("NiZ")
                                            : QStringLiteral("Dis");
  pen.drawText(1020, y, 1480, pdf::kAlignRight, result);
  // A long note shrinks to stay on the page.
  if (row.ergcode == 3) DrawInColumn(pen, 1505, 2015, y, pdf::kAlignLeft, row.disqualtext, 9);
}

}  // namespace

int RoundHundredths(double hundredths) {
  // The default rounding mode takes exact halves to the even neighbour.
  return static_cast<int>(std::nearbyint(hundredths));
}

QString PenaltyTimeText(int hundredths) {
  const int minutes = hundredths / 6000;
  const int rest = hundredths - 6000 * minutes;
  return QStringLiteral("%1:%2,%3")
      .arg(minutes)
      .arg(rest / 100, 2, 10, QLatin1Char('0'))
      .arg(rest % 100, 2, 10, QLatin1Char('0'));
}

PenaltyGroup PenaltyFromBest(double best) {
  PenaltyGroup group;
  group.hasBest = true;
  // A stored time reads back just beside its hundredth (45,65 as 4564.9999...): the best
  // time is taken as the whole hundredths it stands for, so that exact halves of the
  // surcharge and of P round to the even neighbour as printed.
  group.best = RoundHundredths(best);
  group.surcharge = RoundHundredths(group.best * kPenaltyRate);
  group.penalty = RoundHundredths(group.best * (1 + kPenaltyRate));
  return group;
}

PenaltyData ReadPenaltyData(const AppState& state, int run) {
  PenaltyData data;
  data.run = run;
  const QString c = state.CurrentDisciplineCode;
  const QVariantList where{state.CurrentDisciplineType, run};
  for (size_t g = 0; g < 2; ++g) {
    const db::Recordset best = state.db().query(
        QStringLiteral("select laufzeit(z.netto) as zeit,t.nachname,t.vorname,t.sex,t.startnr") +
            c +
            QStringLiteral(" as startnr from tblTeilnehmer t,tblZeit z "
                           "where t.id = z.teilnehmer and t.sex in ") +
            kGroupCodes[g] +
            QStringLiteral(" and z.disziplin=? and z.durchgang=? and z.ergcode=0 "
                           "and laufzeit(z.netto) > 0 and t.") +
            c + QStringLiteral("aktiv = true order by 1 limit 1"),
        where);
    if (best.empty()) continue;
    PenaltyGroup& group = data.groups[g];
    group = PenaltyFromBest(best.at(0, "zeit").toDouble());
    group.bib = best.at(0, "startnr").toString();
    group.name = NameOf(best, 0);
    group.fastestCode = best.at(0, "sex").toString();
    group.heading = kGroupHeadings[g];

    // Only codes 0, 2 and 3 as stored: a code the lists do not know (2.5, 0.4, a text) is
    // neither a failure nor a valid run, and its row is never given a penalty time.
    const db::Recordset rows = state.db().query(
        QStringLiteral("select z.teilnehmer,laufzeit(z.netto) as zeit,z.ergcode,z.disqualtext,"
                       "t.nachname,t.vorname,t.verein,t.jahrgang,t.startnr") +
            c +
            QStringLiteral(" as startnr from tblTeilnehmer t,tblZeit z "
                           "where t.id = z.teilnehmer and t.sex in ") +
            kGroupCodes[g] +
            QStringLiteral(" and z.disziplin=? and z.durchgang=? and z.ergcode in (0,2,3) and t.") +
            c + QStringLiteral("aktiv = true order by t.startnr") + c,
        where);
    std::vector<PenaltyRow>& listed = data.listed[g];
    for (int i = 0; i < rows.count(); ++i) {
      const int ergcode = rows.at(i, "ergcode").toInt();
      const int time = RoundHundredths(rows.at(i, "zeit").toDouble());
      const bool slower = ergcode == 0 && time > group.penalty;
      if (!slower && ergcode != 2 && ergcode != 3) continue;
      PenaltyRow row;
      row.teilnehmer = rows.at(i, "teilnehmer").toInt();
      row.bib = rows.at(i, "startnr").toString();
      row.name = NameOf(rows, i);
      row.jahrgang = rows.at(i, "jahrgang").toString();
      row.verein = rows.at(i, "verein").toString();
      row.ergcode = ergcode;
      row.time = time;
      row.disqualtext = rows.at(i, "disqualtext").toString();
      listed.push_back(std::move(row));
    }
  }
  return data;
}

void DrawPenaltyProtocol(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                         const PenaltyData& data) {
  const QString pageTitle = QStringLiteral("Penalty Protokoll");
  DrawProtocolHeader(pen, state, event, pageTitle, data.run);

  // The rule and the table of best times.
  int y = DrawRuleAndTableHeads(pen);
  for (size_t g = 0; g < 2; ++g) {
    if (g == 1) y += 20;
    if (data.groups[g].hasBest) y = DrawBestTimeRow(pen, y, data.groups[g]);
  }
  DrawTableFrame(pen, y);

  // The list part.
  y += 50;
  pen.setBold(true);
  pen.setSize(10);
  pen.textOut(130, y,
              QStringLiteral("Bei nachstehenden WettkämpferInnen wird die ") + kPercentText +
                  QStringLiteral("% PLUS Penalty-Regel angewandt:"));
  auto newPage = [&] {
    pdf::PdfCheck(pen.doc(), pen.doc().NewPage());
    DrawProtocolHeader(pen, state, event, pageTitle, data.run);
    y = kContinuationTop;
  };
  for (size_t g = 0; g < 2; ++g) {
    const std::vector<PenaltyRow>& rows = data.listed[g];
    y += kHeadingGap;
    // A heading whose first row would already start a new page goes there with it, and a
    // heading below the last row's place goes to a new page too: it neither stands alone at
    // the page foot nor runs into the credit line.
    const QString& heading = data.groups[g].heading;
    if ((!heading.isEmpty() && y > kLastRowTop) ||
        (!rows.empty() && y + kHeadingToRow > kLastRowTop)) {
      newPage();
    }
    DrawGroupHeading(pen, y, heading);
    y += kHeadingToRow;
    for (const PenaltyRow& row : rows) {
      if (y > kLastRowTop) newPage();
      DrawListedRow(pen, y, row);
      y += kRowHeight;
    }
  }
}

int WritePenaltyTimes(db::Connection& db, int discipline, const PenaltyData& data) {
  int changed = 0;
  for (size_t g = 0; g < 2; ++g) {
    // The time as a fraction of a day, computed here: an integer division in the database
    // would give 0.
    const double netto = static_cast<double>(data.groups[g].penalty) / 8640000.0;
    for (const PenaltyRow& row : data.listed[g]) {
      changed +=
          db.execute(QStringLiteral("update tblZeit set ergcode=0,start=null,ziel=null,netto=? "
                                    "where teilnehmer=? and disziplin=? and durchgang=?"),
                     {netto, row.teilnehmer, discipline, data.run});
    }
  }
  return changed;
}

QString PenaltyWriteBackQuestion(const PenaltyData& data) {
  QStringList groups;
  for (size_t g = 0; g < 2; ++g) {
    const PenaltyGroup& group = data.groups[g];
    if (!group.hasBest) continue;
    const auto replaced = data.listed[g].size();
    groups << QStringLiteral("%1 %2: beste Zeit %3, Penalty-Zeit %4, ")
                      .arg(group.bib, group.fastestCode, PenaltyTimeText(group.best),
                           PenaltyTimeText(group.penalty)) +
                  (replaced == 1 ? QStringLiteral("1 Laufzeit wird ersetzt")
                                 : QStringLiteral("%1 Laufzeiten werden ersetzt").arg(replaced));
  }
  QStringList parts{
      QStringLiteral("Wollen Sie wirklich die Penalty-Zeiten in die Bewerbsdatei übernehmen?")};
  if (!groups.isEmpty()) parts << groups.join(QStringLiteral("\r\n"));
  parts << QStringLiteral("Achtung: Diese Aktion kann nicht rückgängig gemacht werden!");
  return parts.join(QStringLiteral("\r\n\r\n"));
}

void WritePenaltyProtocol(AppState& state, bool writeBack, bool openAfterOutput,
                          ResultLine& result) {
  const int run = state.RunsWithTimes;
  result = ResultLine{};
  // Read before the question, which shows what will be written.
  const PenaltyData data = ReadPenaltyData(state, run);
  if (writeBack && state.Ui->message(PenaltyWriteBackQuestion(data), MsgIcon::None,
                                     QStringLiteral("Penalty-Zeiten übernehmen"),
                                     MsgButtons::YesNo) != MsgAnswer::Yes) {
    return;
  }
  OfficialDocFrame frame(state,
                         {QStringLiteral("PenaltyProtokoll"),
                          QStringLiteral("-DG") + QString::number(run), false, openAfterOutput},
                         result);
  if (!frame.Open()) return;
  DrawPenaltyProtocol(frame.pen(), state, frame.event(), data);
  if (!writeBack) {
    frame.Finish();
    return;
  }
  // Every listed racer or none: an output abandoned before the commit changes nothing.
  db::Transaction transaction = state.db().transaction();
  WritePenaltyTimes(state.db(), state.CurrentDisciplineType, data);
  frame.Finish([&] { transaction.commit(); });
}

}  // namespace kx
