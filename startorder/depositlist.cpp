#include "startorder/depositlist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "lists/listframe.h"

#include <algorithm>

namespace kx {

namespace {

const QString kNoData = QStringLiteral("Keine Daten gefunden!");

// Columns and rows of the page, in tenths of a millimetre.
constexpr int kNameX = 130;
constexpr int kBoxLeft = 590;
constexpr int kBoxRight = 730;
constexpr int kBibsLeft = 770;
constexpr int kBibsRight = 2000;
constexpr int kFirstY = 350;   // y below the column heads
constexpr int kGroupGap = 15;  // space above every group
constexpr int kBoxAbove = 20;  // the deposit box reaches from 20 above the group's line ...
constexpr int kBoxBelow = 45;  // ... to 45 below it
// Nothing of a group may reach the credit line at 2900. A one-line group still fits
// wherever the page is not yet below 2800; a longer one only when its last bib line ends
// by here.
constexpr int kGroupBottom = 2860;

bool ByNation(const AppState& state) {
  const int typ = state.Settings.typNumber();
  return typ == 0 || typ == 1;
}

struct DepositPage {
  QString eventName;
  QString dateLine;  // list date, two blanks, discipline title
  QString groupHead;
  QString credit;
};

void StartDepositPage(pdf::PdfPen& pen, int page, const DepositPage& p) {
  if (page > 1) pdf::PdfCheck(pen.doc(), pen.doc().NewPage());
  pen.setFont(QStringLiteral("Arial"));
  pen.setSize(14);
  pen.setBold(false);
  pen.setItalic(false);
  pen.textOut(130, 130, QStringLiteral("Kaution für Startnummern"));
  pen.setBold(true);
  pen.textOut(760, 130, pen.cut(p.eventName, kBibsRight - 760));
  pen.textOut(760, 190, pen.cut(p.dateLine, kBibsRight - 760));
  pen.setBold(false);
  pen.setSize(8);
  pen.centered(130, 1970, 2900, p.credit);
  pen.setBold(true);
  pen.setSize(10);
  pen.textOut(kNameX, 290, p.groupHead);
  pen.centered(550, 770, 290, QStringLiteral("Kaution"));
  pen.textOut(760, 290, QStringLiteral("Startnummern"));
  pen.setBold(false);
  pdf::PdfSetNumProp(pen.doc(), pdf::kPropParagraph, 20);
}

}  // namespace

std::vector<DepositGroup> ReadDepositGroups(const AppState& state) {
  const QString c = state.CurrentDisciplineCode;
  const bool byNation = ByNation(state);
  const QString column = byNation ? QStringLiteral("nation") : QStringLiteral("verein");
  const QString entered =
      QStringLiteral(" from tblTeilnehmer where ") + c + QStringLiteral("aktiv = true");
  const db::Recordset values = state.db().query(QStringLiteral("select distinct ") + column +
                                                entered + QStringLiteral(" order by 1"));
  std::vector<DepositGroup> groups;
  groups.reserve(static_cast<size_t>(values.count()));
  for (int i = 0; i < values.count(); ++i) {
    const db::Field& value = values.at(i, 0);
    DepositGroup group;
    QString where;
    QVariantList params;
    if (value.isNull()) {
      group.name = byNation ? QStringLiteral("ohne Nation") : QStringLiteral("ohne Verein");
      where = QStringLiteral(" and ") + column + QStringLiteral(" is null");
    } else {
      const QString stored = value.toString();
      group.name = byNation ? stored : CapitalizeClubName(stored);
      // Looked up by the value as stored (a name with any character in it, or bytes), not
      // as printed.
      where = QStringLiteral(" and ") + column + QStringLiteral(" = ?");
      params = {value.value()};
    }
    const db::Recordset bibs = state.db().query(
        QStringLiteral("select startnr") + c + entered + where + QStringLiteral(" order by 1"),
        params);
    for (int b = 0; b < bibs.count(); ++b) {
      group.bibs += bibs.at(b, 0).toString() + QStringLiteral("  ");
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

ResultLine WriteDepositList(const AppState& state, const DepositListOptions& options) {
  // A failed write check leaves this panel open: the user closes the viewer and tries again.
  PdfListFrame frame(state, {QStringLiteral("Kautionsliste"), QStringLiteral("-Kautionsliste-"),
                             QStringLiteral("Kautionsliste ")});
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  pdf::PdfDocument& doc = frame.doc();
  pdf::PdfPen& pen = frame.pen();

  ListEvent event;
  const db::Recordset events = state.db().query(
      QStringLiteral("select bewerbsbezeichnung,datum_rangliste from tblDisziplin where dtyp = ") +
      QString::number(state.CurrentDisciplineType));
  if (events.empty()) {
    state.Ui->message(kNoData, MsgIcon::Exclamation, QStringLiteral("Achtung"));
    pdf::PdfSetNumProp(doc, pdf::kPropOpenViewer, 0);
  } else {
    const int last = events.count() - 1;
    event.bewerbsbezeichnung = events.at(last, "bewerbsbezeichnung").toString();
    event.datum_rangliste = events.at(last, "datum_rangliste").toString();
  }

  const std::vector<DepositGroup> groups = ReadDepositGroups(state);
  if (groups.empty()) {
    state.Ui->message(kNoData, MsgIcon::Exclamation, QStringLiteral("Achtung"));
    pdf::PdfSetNumProp(doc, pdf::kPropOpenViewer, 0);
  }

  const DepositPage frameTexts{
      event.firstLine(), event.datum_rangliste + QStringLiteral("  ") + state.currentListTitle(),
      ByNation(state) ? QStringLiteral("Nation") : QStringLiteral("Verein"), state.CreditLine};
  int page = 0;
  int y = 3000;  // the first group starts the first page
  auto newPage = [&] {
    ++page;
    StartDepositPage(pen, page, frameTexts);
    y = kFirstY;
  };

  for (const DepositGroup& group : groups) {
    // The bibs are measured before anything of the group is drawn: a group that would run
    // into the credit line starts a new page, unless it already stands at the top of one.
    pen.setSize(10);
    pen.setBold(false);
    const int height = std::max(pen.textHeight(kBibsLeft, kBibsRight, group.bibs), kBoxBelow);
    if (page == 0 || (y > kFirstY && y + kGroupGap + height > kGroupBottom)) newPage();
    y += kGroupGap;
    // A long club must not run into its box and the bibs.
    QString name = group.name;
    const int drop = pen.fitInto(name, 10, kBoxLeft - kNameX - 15);
    pen.textOut(kNameX, y + drop, name);
    pen.setSize(10);
    pen.rectangle(kBoxLeft, y - kBoxAbove, kBoxRight, y + kBoxBelow);

    // More bibs than a page holds continue on the next page, under the group's name again.
    QStringList lines = pen.wrapText(kBibsLeft, kBibsRight, group.bibs);
    while (true) {
      qsizetype fit = lines.size();
      while (fit > 1 &&
             y + pen.textHeight(kBibsLeft, kBibsRight, lines.first(fit).join(QLatin1Char('\n'))) >
                 kGroupBottom) {
        --fit;
      }
      pen.drawText(kBibsLeft, y, kBibsRight, pdf::kAlignLeft,
                   lines.first(fit).join(QLatin1Char('\n')));
      // A group takes at least the height of its box, so that the next group's box closes
      // on this one instead of overlapping it.
      y = std::max(pen.textBottom(), y + kBoxBelow + kBoxAbove - kGroupGap);
      lines.remove(0, fit);
      if (lines.isEmpty()) break;
      newPage();
      y += kGroupGap;
      QString again = group.name;
      pen.textOut(kNameX, y + pen.fitInto(again, 10, kBoxLeft - kNameX - 15), again);
      pen.setSize(10);
    }
  }

  frame.FinishDoc(static_cast<int>(groups.size()));
  return frame.result();
}

}  // namespace kx
