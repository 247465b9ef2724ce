#include "startorder/startlist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "lists/listframe.h"
#include "startorder/startorder.h"

#include <cmath>

namespace kx {

namespace {

bool NoPoints(double points) {
  return std::abs(points - 9999.99) < 0.0005;
}

}  // namespace

QString StartListPoints(double points) {
  if (NoPoints(points)) return QStringLiteral("---   ");
  return DecimalText(points);
}

ResultLine WriteStartList(AppState& state, const StartListOptions& options,
                          const std::function<void()>& closePanel) {
  const CompetitionSettings& s = state.Settings;
  const QString c = state.CurrentDisciplineCode;
  const QString credit = StartListCreditLine(state.CreditLine);

  // Every entered participant needs a bib.
  const int missing =
      state.db()
          .scalar(QStringLiteral("select count(*) as Anzahl from tblTeilnehmer where ") + c +
                  QStringLiteral("aktiv = true and startnr") + c + QStringLiteral(" is null"))
          .toInt();
  if (missing > 0) {
    state.Ui->message(QStringLiteral(
        "Startliste kann nicht erstellt werden, da Startnummern nicht vollständig vergeben"));
    return ResultLine{};
  }

  PdfListFrame frame(state, {QStringLiteral("Startliste"), QStringLiteral("-Startliste-"),
                             QStringLiteral("Startliste ")});
  frame.onProbeFailed = closePanel;
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  const ListEvent& event = frame.ReadListEvent();
  frame.ReadListHeadTexts();

  const int count =
      BuildStartOrderRun1(state, options.grouping, options.descending, 15, kClubLine, true);

  const bool codes = CompetitionSettings::on(s.code_aktiv);
  const bool years = CompetitionSettings::on(s.jahrgang_aktiv);
  const bool nations = CompetitionSettings::on(s.nation_aktiv);
  const bool clubs = CompetitionSettings::on(s.verein_aktiv);
  const bool points = CompetitionSettings::on(s.punktewertung);
  const int typ = s.typNumber();
  const bool fis = typ == 0 || typ == 1;
  const bool regionalColumn = nations && !fis;  // "VB" moves the club column right
  const int clubX = regionalColumn ? 1160 : 1125;
  const int clubWidth = regionalColumn ? 465 : 500;

  std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Stnr"), 285)};
  if (codes) heads.push_back(HeadRightAt(QStringLiteral("Code"), 460));
  heads.push_back(HeadAt(QStringLiteral("Teilnehmer"), 475));
  if (years) heads.push_back(HeadRightAt(QStringLiteral("JG"), 980));
  if (nations) heads.push_back(HeadAt(fis ? QStringLiteral("NAT") : QStringLiteral("VB"), 1000));
  if (clubs) heads.push_back(HeadAt(QStringLiteral("Verein"), clubX));
  if (points) heads.push_back(HeadRightAt(QStringLiteral("Punkte"), 1730));
  heads.push_back(HeadRightAt(QStringLiteral("L-Zeit"), 2005));

  const QString title = event.durchgaenge == 1 ? QStringLiteral("STARTLISTE")
                                               : QStringLiteral("STARTLISTE  1. Durchgang");
  // Marked bibs tell the referee that a bib is out of its place.
  const bool marking = options.grouping != QLatin1String("Kategorie / IdNr") && points && typ <= 7;

  pdf::PdfPen& pen = frame.pen();
  int y = 3000;
  QString previousGroup;
  qint64 previousBib = 0;
  int page = 0;
  for (const int i : state.StartOrder.order()) {
    const StartOrderEntry& e = state.StartOrder[i];
    const bool groupChange = e.klasse != previousGroup;
    if (y > frame.limit(2610) || (groupChange && y > frame.limit(2420))) {
      if (groupChange) previousGroup.clear();
      ++page;
      y = frame.StartListPage(page, title, heads, credit);
    }
    if (groupChange) {
      if (!previousGroup.isEmpty()) y += 30;
      if (e.klasse != QLatin1String("-")) {
        pen.setSize(10);
        pen.setBold(true);
        pen.textOut(475, y, e.klasse);
        pen.setLineWidth(3);
        pen.line(475, y + 38, 475 + pen.textWidth(e.klasse), y + 38);
        y += 53;
      }
      previousGroup = e.klasse;
      previousBib = 0;
    }

    pen.setSize(9);
    const qint64 bib = e.startnr.toLongLong();
    const bool marked = marking && (e.moved || (bib > previousBib + 1 && previousBib > 0));
    pen.setBold(marked);
    pen.setItalic(marked);
    pen.numberIn(150, 285, y, pdf::kAlignRight, e.startnr, 9);
    pen.setBold(false);
    pen.setItalic(false);
    previousBib = bib;

    if (codes) pen.rightAt(460, y, e.code);
    int drop = pen.fit(e.name, 9, 470);
    pen.textOut(475, y + drop, pen.cut(e.name, 470));
    pen.setSize(9);
    pen.rightAt(980, y, e.jahrgang.mid(2, 2));
    if (nations) pen.textOut(1000, y, e.nation);
    drop = pen.fit(e.verein, 9, clubWidth);
    pen.textOut(clubX, y + drop, pen.cut(e.verein, clubWidth));
    pen.setSize(9);
    if (points) pen.rightAt(1730, y, StartListPoints(e.punkte));
    pen.setLineWidth(1);
    pen.line(1895, y + 30, 2005, y + 30);
    y += 43;
  }

  frame.FinishDoc(count);
  frame.AddResultNote(LeftOutLine(state, count, true));
  return frame.result();
}

}  // namespace kx
