#include "startorder/namelist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "lists/listframe.h"
#include "startorder/startorder.h"

#include <vector>

namespace kx {

QString NameListSexWord(const QString& code, const QString& raceNumber) {
  // "D" (Damen) is a women's code just like "W"; "H", "M" and anything else are men's.
  const bool women = code == QLatin1String("W") || code == QLatin1String("D");
  return SexWord(women ? QStringLiteral("W") : QStringLiteral("M"), raceNumber);
}

NameListColumns NameListColumnsFor(const CompetitionSettings& settings) {
  NameListColumns c;
  c.years = CompetitionSettings::on(settings.jahrgang_aktiv);
  c.nations = CompetitionSettings::on(settings.nation_aktiv);
  c.clubs = CompetitionSettings::on(settings.verein_aktiv);
  const int typ = settings.typNumber();
  const bool fis = typ == 0 || typ == 1;
  c.nationHead = fis ? QStringLiteral("NAT") : QStringLiteral("VB");
  // The wider "VB" head moves the club column right; without clubs the class column
  // takes the club column's place.
  c.clubX = c.nations && !fis ? 1015 : 980;
  c.classX = c.clubs ? c.clubX + 430 : c.clubX;
  return c;
}

ResultLine WriteNameList(const AppState& state, const NameListOptions& options,
                         const std::function<void()>& closePanel) {
  const QString c = state.CurrentDisciplineCode;

  PdfListFrame frame(state, {QStringLiteral("Namensliste"), QStringLiteral("-Namensliste-"),
                             QStringLiteral("Namensliste ")});
  frame.onProbeFailed = closePanel;
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  const ListEvent& event = frame.ReadListEvent();
  frame.ReadListHeadTexts();

  // Class mode as soon as one entered participant has a class that exists; then the
  // participants without one drop out of the list.
  const bool classMode =
      state.db()
          .scalar(QStringLiteral("select count(*) as Anzahl from tblTeilnehmer t,tblKlasse k "
                                 "where ") +
                  c + QStringLiteral("aktiv = true and t.klasse=k.id"))
          .toInt() > 0;
  const QString sql =
      classMode
          ? QStringLiteral("select t.startnr") + c +
                QStringLiteral(
                    " as startnr,t.nachname,t.vorname,t.jahrgang,t.nation,t.verein,"
                    "k.klname as klasse from tblTeilnehmer t,tblKlasse k where ") +
                c + QStringLiteral("aktiv = true and t.klasse=k.id order by t.nachname,t.vorname")
          : QStringLiteral("select startnr") + c +
                QStringLiteral(
                    " as startnr,nachname,vorname,jahrgang,nation,verein,sex as klasse "
                    "from tblTeilnehmer where ") +
                c + QStringLiteral("aktiv = true order by nachname,vorname");
  const db::Recordset rs = state.db().query(sql);
  if (rs.empty()) {
    state.Ui->message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation,
                      QStringLiteral("Achtung"));
    pdf::PdfSetNumProp(frame.doc(), pdf::kPropOpenViewer, 0);
  }

  const NameListColumns col = NameListColumnsFor(state.Settings);
  std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Stnr"), 285),
                                HeadAt(QStringLiteral("Teilnehmer"), 330)};
  if (col.years) heads.push_back(HeadRightAt(QStringLiteral("JG"), 835));
  if (col.nations) heads.push_back(HeadAt(col.nationHead, 855));
  if (col.clubs) heads.push_back(HeadAt(QStringLiteral("Verein"), col.clubX));
  heads.push_back(HeadAt(QStringLiteral("Klasse"), col.classX));

  pdf::PdfPen& pen = frame.pen();
  int y = 3000;
  int page = 0;
  for (int r = 0; r < rs.count(); ++r) {
    if (y > frame.limit(2570)) {
      ++page;
      y = frame.StartListPage(page, QStringLiteral("NAMENSLISTE"), heads, state.CreditLine);
    }
    pen.setSize(9);
    pen.setBold(false);
    pen.numberIn(150, 285, y, pdf::kAlignRight, rs.at(r, "startnr").toString(), 9);

    const QString name =
        rs.at(r, "nachname").toString() + QLatin1Char(' ') + rs.at(r, "vorname").toString();
    const int drop = pen.fit(name, 9, 470);
    pen.textOut(330, y + drop, pen.cut(name, 470));
    pen.setSize(9);

    const QString year = rs.at(r, "jahrgang").toString();
    if (col.years && !year.isEmpty()) pen.rightAt(835, y, year.mid(2, 2));
    const QString nation = rs.at(r, "nation").toString();
    if (col.nations && !nation.isEmpty()) pen.textOut(855, y, pen.cut(nation, col.clubX - 855));
    QString club = rs.at(r, "verein").toString();
    if (col.clubs && !club.isEmpty()) {
      // A long club must not run into the class column.
      const int clubDrop = pen.fitInto(club, 9, col.classX - col.clubX - 15);
      pen.textOut(col.clubX, y + clubDrop, club);
      pen.setSize(9);
    }

    const QString klasse = rs.at(r, "klasse").toString();
    pen.textOut(col.classX, y,
                pen.cut(classMode ? klasse : NameListSexWord(klasse, event.bewerbsnummer),
                        2005 - col.classX));
    y += 43;
  }

  // An empty discipline writes nothing: an earlier list stays.
  frame.FinishDoc(rs.count());
  frame.AddResultNote(LeftOutLine(state, rs.count(), false));
  return frame.result();
}

}  // namespace kx
