#include "certificates/certificateoutput.h"

#include "certificates/certificaterenderer.h"
#include "certificates/certificaterows.h"
#include "certificates/templatestore.h"
#include "common/appstate.h"
#include "common/safefile.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "results/racepoints.h"

#include <memory>

namespace kx {

namespace {

QString EventDate(const db::Recordset& rs) {
  if (rs.empty()) return {};
  if (!rs.at(0, "datum_startliste").isNull()) return rs.at(0, "datum_startliste").toString();
  if (!rs.at(0, "datum_rangliste").isNull()) return rs.at(0, "datum_rangliste").toString();
  return {};
}

// The document's words and titles for a template key.
OutputContext CertificateContext(const AppState& state, int key) {
  OutputContext c = OutputContext::Of(state);
  const auto k = static_cast<size_t>(key);
  c.listTitle = state.DisciplineListTitles[k];
  const bool parallel8 = key != kTeamTemplateKey &&
                         state.DisciplineNames[k] == QLatin1String("Parallelslalom") &&
                         state.Settings.typ == QLatin1String("8");
  c.documentTitle = (parallel8 ? kParallelNameOfTyp8 : c.listTitle) + QStringLiteral(" (Vorschau)");
  return c;
}

const ListWords kCertificateWords{QStringLiteral("Urkunde"), QStringLiteral("-Urkunde-"),
                                  QStringLiteral("Urkunde ")};

void DrawPage(pdf::PdfDocument& doc, const CertificateTemplate& t, PictureCache& pictures,
              const PlaceholderValues& values, int offsetV, int offsetH) {
  for (const auto& [id, entry] : t.entries) {
    CertificateEntry e = entry;
    e.text = ReplacePlaceholders(entry.text, values);
    DrawCertificateEntry(doc, e, t.landscape, pictures, offsetV, offsetH);
  }
}

}  // namespace

CertificateRunResult RunCertificateOutput(AppState& state, const CertificateRunOptions& o) {
  CertificateRunResult result;
  UserInterface& ui = *state.Ui;
  db::Connection& db = state.db();
  const int type = state.CurrentDisciplineType;
  const int key = o.team ? kTeamTemplateKey : type;

  // Event data.
  QString raceNumber;
  QString eventDate;
  SelectionFilter filter;
  QString sumText;
  SelectedDisciplines selected{};
  if (type != 6) {
    const db::Recordset rs = db.query(
        QStringLiteral("select bewerbsnummer,datum_startliste,datum_rangliste from tblDisziplin "
                       "where dtyp = ?"),
        {type});
    if (rs.empty()) {
      ui.message(QStringLiteral("Keine Bewerbs-Daten gefunden!"), MsgIcon::Exclamation,
                 QStringLiteral("Achtung"));
    } else {
      raceNumber = rs.at(0, "bewerbsnummer").toString();
      eventDate = EventDate(rs);
    }
  } else {
    int ticked = 0;
    QStringList dates;
    for (int d = 0; d < 6; ++d) {
      const auto du = static_cast<size_t>(d);
      selected[du] = o.disciplines[du];
      if (!o.disciplines[du]) continue;
      ++ticked;
      const QString code = state.DisciplineCodes[du];
      sumText += QStringLiteral("+rpkte") + code;
      filter.text += QStringLiteral("and rpkte") + code + QStringLiteral("<9999 ");
      const db::Recordset rs =
          db.query(QStringLiteral(
                       "select datum_startliste,datum_rangliste from tblDisziplin where dtyp = ?"),
                   {d});
      if (rs.empty()) {
        ui.message(
            QStringLiteral("Keine Bewerbs-Daten (%1) gefunden!").arg(state.DisciplineNames[du]),
            MsgIcon::Exclamation, QStringLiteral("Achtung"));
        continue;
      }
      dates.append(EventDate(rs));
    }
    if (ticked < 2) {
      ui.message(QStringLiteral("Bitte mindestens 2 Disziplinen auswählen"));
      return result;
    }
    eventDate = CombinationDateText(dates);
  }

  // Input checks.
  const auto ranks = ParsePanelNumber(o.ranks);
  if (!ranks) {
    ui.message(QStringLiteral("Anzahl Ränge ist nicht numerisch"));
    return result;
  }
  const auto offsetV = ParsePanelNumber(o.offsetVertical);
  if (!offsetV) {
    ui.message(QStringLiteral("Vertikaler Versatz ist nicht numerisch"));
    return result;
  }
  const auto offsetH = ParsePanelNumber(o.offsetHorizontal);
  if (!offsetH) {
    ui.message(QStringLiteral("Horizontaler Versatz ist nicht numerisch"));
    return result;
  }
  const int shiftV = static_cast<int>(RoundHalfEven(*offsetV));
  const int shiftH = static_cast<int>(RoundHalfEven(*offsetH));

  RunValues run;
  run.today = ui.now().date();
  run.discipline = state.currentDocumentTitle();
  run.eventDate = eventDate;
  const CertificateTemplate tmpl = LoadTemplate(db, key);

  DocumentOutput out(CertificateContext(state, key), kCertificateWords);
  if (!out.AskFileName()) return result;

  // The certificates, before the document starts.
  std::vector<CertificateRow> rows;
  TeamRankingResult teams;
  std::vector<TeamCertificate> teamCertificates;
  if (o.team) {
    teams = ComputeTeamRanking(state, o.teamSettings);
    teamCertificates = TeamCertificates(teams.teams, *ranks, o.sorting == 1);
  } else {
    RankingSettings rs;
    rs.rankLimit = *ranks;
    rs.descending = o.sorting == 1;
    rs.categoryWords = o.grouping == 3;
    rs.raceNumber = raceNumber;
    AppendNationFilter(filter, CompetitionSettings::on(state.Settings.nation_aktiv), o.nationIndex,
                       o.nation);
    SelectionStatement statement;
    if (type == 6) {
      rs.combinationPoints = o.evaluation == 1;
      if (o.evaluation == 1) {
        // Points that cannot be computed (their message was shown) print nothing stale.
        if (!ComputeRacePoints(state, selected, static_cast<RacePointsMethod>(o.pointsMethod),
                               static_cast<RacePointsDivision>(o.pointsDivision))) {
          return result;
        }
      } else {
        StoreRunTimes(state, selected);
      }
      const QString S = QStringLiteral("(") + sumText.mid(1) + QStringLiteral(")*100");
      const QString cols =
          QStringLiteral(" as zeit,0 as erg,t.id,t.vorname,t.nachname,t.verein,t.jahrgang,");
      switch (o.grouping) {
        case 0:
          statement.sql = "select " + S + cols + "'' as klasse from tblTeilnehmer t where 1=1 " +
                          filter.text + "order by 1";
          break;
        case 1:
          statement.sql =
              "select " + S + cols +
              "k.klname as klasse from tblTeilnehmer t,tblKlasse k where t.klasse=k.id " +
              filter.text + "order by k.sortpos,1";
          break;
        case 2:
          statement.sql = "select " + S + cols +
                          "g.grpname as klasse from tblTeilnehmer t,tblKlasse k,tblGruppe g where "
                          "t.klasse=k.id and k.gruppe=g.id " +
                          filter.text + "order by g.sortpos,1";
          break;
        default:
          statement.sql = "select " + S + cols + "t.sex as klasse from tblTeilnehmer t where 1=1 " +
                          filter.text + "order by t.sex desc,1";
      }
      statement.params = filter.params;
    } else {
      const int count =
          db.scalar(QStringLiteral("select count(*) as anz from tblZeit where disziplin=?"), {type})
              .toInt();
      statement = SelectIndividualCertificates(type, state.CurrentDisciplineCode, o.grouping, count,
                                               state.Settings.typNumber(), filter);
    }
    rows = ReadCertificateRows(db, statement, rs);
    if (o.sorting == 2) SortByClub(rows);
  }

  // The list file is checked with the PDF, before the document starts.
  const QString listFile = ExportListPath(out.file());
  out.CreateDoc(!o.exportMode, tmpl.landscape);
  if (!out.ProbeFile()) return result;
  if (o.exportMode && !CanWriteFile(listFile)) {
    ui.message(
        listFile +
        QStringLiteral("\r\nkann nicht ausgegeben werden\r\n(ist vermutlich noch geöffnet)"));
    return result;
  }
  // The list waits complete beside its file and replaces it together with the PDF.
  std::unique_ptr<SafeFile> list;
  if (o.exportMode) {
    list = std::make_unique<SafeFile>(listFile);
    if (!list->create()) {
      ui.message(list->failureText(), MsgIcon::Exclamation, QStringLiteral("Achtung"));
      return result;
    }
  }
  out.BeginDoc();
  pdf::PdfDocument& doc = out.doc();
  PictureCache pictures(state.CompetitionDir);
  bool first = true;
  auto nextPage = [&] {
    if (!first) pdf::PdfCheck(doc, doc.NewPage());
    first = false;
  };
  if (o.team) {
    for (const TeamCertificate& c : teamCertificates) {
      nextPage();
      PlaceholderValues v;
      v[0] = QString::number(c.place);
      v[5] = TeamTimeText(c.team->total);
      v[6] = run.discipline;
      v[7] = run.eventDate;
      v[9] = run.today.toString(QStringLiteral("dd.MM.yyyy"));
      v[10] = TeamLabel(*c.team);
      QStringList names;
      const int shown =
          std::min<int>(o.teamSettings.count, static_cast<int>(c.team->members.size()));
      for (int k = 0; k < shown; ++k) {
        const db::Recordset m =
            db.query(QStringLiteral("select vorname,nachname from tblTeilnehmer where id=?"),
                     {c.team->members[static_cast<size_t>(k)].id});
        if (!m.empty())
          names.append(m.at(0, "vorname").toString() + " " + m.at(0, "nachname").toString());
      }
      v[11] = names.join(QStringLiteral(", "));
      DrawPage(doc, tmpl, pictures, v, shiftV, shiftH);
    }
    result.certificates = static_cast<int>(teamCertificates.size());
  } else {
    for (const CertificateRow& row : rows) {
      nextPage();
      DrawPage(doc, tmpl, pictures, IndividualValues(row, run), shiftV, shiftH);
    }
    result.certificates = static_cast<int>(rows.size());
  }
  if (list) list->write(ExportListBytes(rows));
  out.FinishDoc(1, true, [&] {
    if (list && (!list->finish() || !list->place())) {
      ui.message(list->failureText() +
                     QStringLiteral("\nDie PDF-Datei der Urkunden wurde darum nicht ersetzt."),
                 MsgIcon::Exclamation, QStringLiteral("Achtung"));
      throw pdf::PdfAbort();  // the new PDF is dropped, the earlier one stays
    }
  });
  if (list) result.listFile = listFile;
  result.written = true;
  result.file = out.file();
  if (o.exportMode) ui.message(QStringLiteral("2 Dateien für den Upload bei Startora erstellt"));
  return result;
}

QString PreviewCertificate(const AppState& state, const std::vector<CertificateEntry>& entries,
                           bool landscape) {
  UserInterface& ui = *state.Ui;
  if (const auto refusal = CheckTemplateEntries(entries, state.CompetitionDir, false)) {
    ui.message(*refusal);
    return {};
  }
  const int type = state.validType() ? state.CurrentDisciplineType : 0;
  DocumentOutput out(CertificateContext(state, type), kCertificateWords);
  if (!out.OpenDoc(true, landscape)) return {};
  pdf::PdfDocument& doc = out.doc();
  PictureCache pictures(state.CompetitionDir);
  for (const CertificateEntry& e : entries) {
    if (e.isPicture()) {
      if (FindPictureFile(state.CompetitionDir, e.text).isEmpty()) {
        ui.message(QStringLiteral("Bild-Datei %1 nicht gefunden!").arg(e.text));
        continue;
      }
      if (!AllowedPictureType(e.text)) {
        ui.message(
            QStringLiteral("Nur folgende Bild-Dateitypen zugelassen: BMP, JPG, ICO, WMF oder "
                           "EMF, Bild-Datei nicht ausgegeben!"));
        continue;
      }
      if (pictures.picture(e.text).isNull()) {
        ui.message(QStringLiteral("Bild-Datei %1 kann nicht gelesen werden, Bild-Datei nicht "
                                  "ausgegeben!")
                       .arg(e.text));
        continue;
      }
    }
    DrawCertificateEntry(doc, e, landscape, pictures);
  }
  out.FinishDoc(1, true);
  return out.file();
}

}  // namespace kx
