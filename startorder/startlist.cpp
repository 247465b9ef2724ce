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

// The pages of the run-1 start list on the frame's document: each group under its heading,
// a row per racer with a line to write the run time on.
class StartListPages {
 public:
  StartListPages(const AppState& state, PdfListFrame& frame, const StartListOptions& options,
                 const ListEvent& event)
      : frame_(frame), pen_(frame.pen()), credit_(StartListCreditLine(state.CreditLine)) {
    const CompetitionSettings& s = state.Settings;
    codes_ = CompetitionSettings::on(s.code_aktiv);
    years_ = CompetitionSettings::on(s.jahrgang_aktiv);
    nations_ = CompetitionSettings::on(s.nation_aktiv);
    clubs_ = CompetitionSettings::on(s.verein_aktiv);
    points_ = CompetitionSettings::on(s.punktewertung);
    const int typ = s.typNumber();
    fis_ = typ == 0 || typ == 1;
    const bool regionalColumn = nations_ && !fis_;  // "VB" moves the club column right
    clubX_ = regionalColumn ? 1160 : 1125;
    clubWidth_ = regionalColumn ? 465 : 500;
    title_ = event.durchgaenge == 1 ? QStringLiteral("STARTLISTE")
                                    : QStringLiteral("STARTLISTE  1. Durchgang");
    // Marked bibs tell the referee that a bib is out of its place.
    marking_ = options.grouping != QLatin1String("Kategorie / IdNr") && points_ && typ <= 7;
    heads_ = heads();
  }

  void draw(const StartOrderTable& order) {
    for (const int i : order.order()) {
      const StartOrderEntry& e = order[i];
      const bool groupChange = e.klasse != previousGroup_;
      if (y_ > frame_.limit(2610) || (groupChange && y_ > frame_.limit(2420))) {
        if (groupChange) previousGroup_.clear();
        ++page_;
        y_ = frame_.StartListPage(page_, title_, heads_, credit_);
      }
      if (groupChange) groupHeading(e.klasse);
      row(e);
    }
  }

 private:
  std::vector<ColumnHead> heads() const {
    std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Stnr"), 285)};
    if (codes_) heads.push_back(HeadRightAt(QStringLiteral("Code"), 460));
    heads.push_back(HeadAt(QStringLiteral("Teilnehmer"), 475));
    if (years_) heads.push_back(HeadRightAt(QStringLiteral("JG"), 980));
    if (nations_)
      heads.push_back(HeadAt(fis_ ? QStringLiteral("NAT") : QStringLiteral("VB"), 1000));
    if (clubs_) heads.push_back(HeadAt(QStringLiteral("Verein"), clubX_));
    if (points_) heads.push_back(HeadRightAt(QStringLiteral("Punkte"), 1730));
    heads.push_back(HeadRightAt(QStringLiteral("L-Zeit"), 2005));
    return heads;
  }

  // A group's heading, underlined; the group "-" has none.
  void groupHeading(const QString& group) {
    if (!previousGroup_.isEmpty()) y_ += 30;
    if (group != QLatin1String("-")) {
      pen_.setSize(10);
      pen_.setBold(true);
      const QString shown = pen_.cut(group, 2005 - 475);  // up to the end of the rows
      pen_.textOut(475, y_, shown);
      pen_.setLineWidth(3);
      pen_.line(475, y_ + 38, 475 + pen_.textWidth(shown), y_ + 38);
      y_ += 53;
    }
    previousGroup_ = group;
    previousBib_ = 0;
  }

  // A racer's row; his bib bold and italic where the points rule moved it or it follows
  // a gap.
  void row(const StartOrderEntry& e) {
    pen_.setSize(9);
    const qint64 bib = e.startnr.toLongLong();
    const bool marked = marking_ && (e.moved || (bib > previousBib_ + 1 && previousBib_ > 0));
    pen_.setBold(marked);
    pen_.setItalic(marked);
    pen_.numberIn(150, 285, y_, pdf::kAlignRight, e.startnr, 9);
    pen_.setBold(false);
    pen_.setItalic(false);
    previousBib_ = bib;

    if (codes_) pen_.rightAt(460, y_, e.code);
    int drop = pen_.fit(e.name, 9, 470);
    pen_.textOut(475, y_ + drop, pen_.cut(e.name, 470));
    pen_.setSize(9);
    pen_.rightAt(980, y_, e.jahrgang.mid(2, 2));
    if (nations_) pen_.textOut(1000, y_, pen_.cut(e.nation, clubX_ - 1000));
    drop = pen_.fit(e.verein, 9, clubWidth_);
    pen_.textOut(clubX_, y_ + drop, pen_.cut(e.verein, clubWidth_));
    pen_.setSize(9);
    if (points_) pen_.rightAt(1730, y_, StartListPoints(e.punkte));
    pen_.setLineWidth(1);
    pen_.line(1895, y_ + 30, 2005, y_ + 30);
    y_ += 43;
  }

  PdfListFrame& frame_;
  pdf::PdfPen& pen_;
  QString credit_, title_;
  bool codes_, years_, nations_, clubs_, points_, fis_, marking_;
  int clubX_, clubWidth_;
  std::vector<ColumnHead> heads_;
  int y_ = 3000;
  int page_ = 0;
  QString previousGroup_;
  qint64 previousBib_ = 0;
};

}  // namespace

QString StartListPoints(double points) {
  if (NoPoints(points)) return QStringLiteral("---   ");
  return DecimalText(points);
}

ResultLine WriteStartList(AppState& state, const StartListOptions& options,
                          const std::function<void()>& closePanel) {
  const QString c = state.CurrentDisciplineCode;
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
  StartListPages pages(state, frame, options, event);
  pages.draw(state.StartOrder);
  frame.FinishDoc(count);
  frame.AddResultNote(LeftOutLine(state, count, true));
  return frame.result();
}

}  // namespace kx
