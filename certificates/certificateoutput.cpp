#include "certificates/certificateoutput.h"

#include "certificates/certificaterenderer.h"
#include "certificates/certificaterows.h"
#include "certificates/templatestore.h"
#include "common/appstate.h"
#include "common/resultcodes.h"
#include "common/safefile.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "results/racepoints.h"
#include "results/resultlist.h"

#include <memory>
#include <optional>

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

// What the run takes from the event: the race number and date of the current discipline, or
// in the combination the ticked disciplines, their date range, the condition that each has
// points and the sum of their points columns.
struct EventData {
  QString raceNumber;
  QString eventDate;
  SelectionFilter filter;
  QString pointsSum;  // "+rpkteXX+rpkteYY..."
  SelectedDisciplines selected{};
};

EventData DisciplineEventData(const AppState& state) {
  EventData event;
  const db::Recordset rs = state.db().query(
      QStringLiteral("select bewerbsnummer,datum_startliste,datum_rangliste from tblDisziplin "
                     "where dtyp = ?"),
      {state.CurrentDisciplineType});
  if (rs.empty()) {
    state.Ui->message(QStringLiteral("Keine Bewerbs-Daten gefunden!"), MsgIcon::Exclamation,
                      QStringLiteral("Achtung"));
  } else {
    event.raceNumber = rs.at(0, "bewerbsnummer").toString();
    event.eventDate = EventDate(rs);
  }
  return event;
}

// Nothing when fewer than two disciplines are ticked (the message was shown).
std::optional<EventData> CombinationEventData(const AppState& state,
                                              const CertificateRunOptions& o) {
  EventData event;
  int ticked = 0;
  QStringList dates;
  for (int d = 0; d < 6; ++d) {
    const auto du = static_cast<size_t>(d);
    event.selected[du] = o.disciplines[du];
    if (!o.disciplines[du]) continue;
    ++ticked;
    const QString code = state.DisciplineCodes[du];
    event.pointsSum += QStringLiteral("+rpkte") + code;
    event.filter.text += QStringLiteral("and rpkte") + code + QStringLiteral("<9999 ");
    const db::Recordset rs = state.db().query(
        QStringLiteral("select datum_startliste,datum_rangliste from tblDisziplin where dtyp = ?"),
        {d});
    if (rs.empty()) {
      state.Ui->message(
          QStringLiteral("Keine Bewerbs-Daten (%1) gefunden!").arg(state.DisciplineNames[du]),
          MsgIcon::Exclamation, QStringLiteral("Achtung"));
      continue;
    }
    dates.append(EventDate(rs));
  }
  if (ticked < 2) {
    state.Ui->message(QStringLiteral("Bitte mindestens 2 Disziplinen auswählen"));
    return std::nullopt;
  }
  event.eventDate = CombinationDateText(dates);
  return event;
}

// The numbers typed into the panel; the first that is not numeric is reported. The offsets
// are rounded half to even.
struct RunNumbers {
  double ranks = 0;
  int shiftV = 0;
  int shiftH = 0;
};

std::optional<RunNumbers> CheckRunNumbers(UserInterface& ui, const CertificateRunOptions& o) {
  const auto ranks = ParsePanelNumber(o.ranks);
  if (!ranks) {
    ui.message(QStringLiteral("Anzahl Ränge ist nicht numerisch"));
    return std::nullopt;
  }
  const auto offsetV = ParsePanelNumber(o.offsetVertical);
  if (!offsetV) {
    ui.message(QStringLiteral("Vertikaler Versatz ist nicht numerisch"));
    return std::nullopt;
  }
  const auto offsetH = ParsePanelNumber(o.offsetHorizontal);
  if (!offsetH) {
    ui.message(QStringLiteral("Horizontaler Versatz ist nicht numerisch"));
    return std::nullopt;
  }
  return RunNumbers{*ranks, static_cast<int>(RoundHalfEven(*offsetV)),
                    static_cast<int>(RoundHalfEven(*offsetH))};
}

// The combination's participants with points in every ticked discipline, ordered by the
// sum of their points (or run times) within the grouping.
SelectionStatement CombinationStatement(const EventData& event, int grouping) {
  const QString S = QStringLiteral("(") + event.pointsSum.mid(1) + QStringLiteral(")*100");
  const QString cols =
      QStringLiteral(" as zeit,0 as erg,t.id,t.vorname,t.nachname,t.verein,t.jahrgang,");
  const QString& filter = event.filter.text;
  SelectionStatement statement;
  switch (grouping) {
    case 0:
      statement.sql = "select " + S + cols + "'' as klasse from tblTeilnehmer t where 1=1 " +
                      filter + "order by 1";
      break;
    case 1:
      statement.sql = "select " + S + cols +
                      "k.klname as klasse from tblTeilnehmer t,tblKlasse k where t.klasse=k.id " +
                      filter + "order by k.sortpos,1";
      break;
    case 2:
      statement.sql = "select " + S + cols +
                      "g.grpname as klasse from tblTeilnehmer t,tblKlasse k,tblGruppe g where "
                      "t.klasse=k.id and k.gruppe=g.id " +
                      filter + "order by g.sortpos,1";
      break;
    default:
      statement.sql = "select " + S + cols + "t.sex as klasse from tblTeilnehmer t where 1=1 " +
                      filter + "order by t.sex desc,1";
  }
  statement.params = event.filter.params;
  return statement;
}

// The ranked participants of an individual run, in the order of their certificates. In the
// combination the points (or run times) are stored first; nothing when the points cannot be
// computed (their message was shown), so that nothing stale is printed.
std::optional<std::vector<CertificateRow>> IndividualCertificates(AppState& state,
                                                                  const CertificateRunOptions& o,
                                                                  EventData& event, double ranks) {
  RankingSettings rs;
  rs.rankLimit = ranks;
  rs.descending = o.sorting == 1;
  rs.categoryWords = o.grouping == 3;
  rs.raceNumber = event.raceNumber;
  AppendNationFilter(event.filter, CompetitionSettings::on(state.Settings.nation_aktiv),
                     o.nationIndex, o.nation);
  SelectionStatement statement;
  const int type = state.CurrentDisciplineType;
  if (type == 6) {
    rs.combinationPoints = o.evaluation == 1;
    if (o.evaluation == 1) {
      if (!ComputeRacePoints(state, event.selected, static_cast<RacePointsMethod>(o.pointsMethod),
                             static_cast<RacePointsDivision>(o.pointsDivision))) {
        return std::nullopt;
      }
    } else {
      StoreRunTimes(state, event.selected);
    }
    statement = CombinationStatement(event, o.grouping);
  } else {
    const int count =
        state.db()
            .scalar(QStringLiteral("select count(*) as anz from tblZeit where disziplin=?"), {type})
            .toInt();
    statement = SelectIndividualCertificates(type, state.CurrentDisciplineCode, o.grouping, count,
                                             state.Settings.typNumber(), event.filter);
  }
  std::vector<CertificateRow> rows = ReadCertificateRows(state.db(), statement, rs);
  if (o.sorting == 2) SortByClub(rows);
  return rows;
}

// The certificates of a run, picked before the document starts: ranked participants, or the
// teams of the team ranking (which the team certificates point into).
struct Certificates {
  std::vector<CertificateRow> rows;
  TeamRankingResult teams;
  std::vector<TeamCertificate> teamCertificates;
};

// The values of a team certificate; "<MS-Teilnehmer>" names the members that count.
PlaceholderValues TeamValues(db::Connection& db, const TeamCertificate& c, int counting,
                             const RunValues& run) {
  PlaceholderValues v;
  v[0] = QString::number(c.place);
  v[5] = TeamTimeText(c.team->total);
  v[6] = run.discipline;
  v[7] = run.eventDate;
  v[9] = run.today.toString(QStringLiteral("dd.MM.yyyy"));
  v[10] = TeamLabel(*c.team);
  QStringList names;
  const int shown = std::min<int>(counting, static_cast<int>(c.team->members.size()));
  for (int k = 0; k < shown; ++k) {
    const db::Recordset m =
        db.query(QStringLiteral("select vorname,nachname from tblTeilnehmer where id=?"),
                 {c.team->members[static_cast<size_t>(k)].id});
    if (!m.empty())
      names.append(m.at(0, "vorname").toString() + " " + m.at(0, "nachname").toString());
  }
  v[11] = names.join(QStringLiteral(", "));
  return v;
}

// One page per certificate, the first on the page the document began with. Returns the
// number of certificates.
int DrawCertificatePages(const AppState& state, pdf::PdfDocument& doc, const CertificateTemplate& t,
                         const CertificateRunOptions& o, const RunNumbers& numbers,
                         const RunValues& run, const Certificates& certificates) {
  PictureCache pictures(state.CompetitionDir);
  bool first = true;
  auto page = [&](const PlaceholderValues& values) {
    if (!first) pdf::PdfCheck(doc, doc.NewPage());
    first = false;
    DrawPage(doc, t, pictures, values, numbers.shiftV, numbers.shiftH);
  };
  if (o.team) {
    for (const TeamCertificate& c : certificates.teamCertificates)
      page(TeamValues(state.db(), c, o.teamSettings.count, run));
    return static_cast<int>(certificates.teamCertificates.size());
  }
  for (const CertificateRow& row : certificates.rows) page(IndividualValues(row, run));
  return static_cast<int>(certificates.rows.size());
}

// The export's list file, checked with the PDF before the document starts: it waits complete
// beside its file and replaces it together with the PDF. Nothing when it cannot be written
// (the message was shown).
std::unique_ptr<SafeFile> CreateListFile(UserInterface& ui, const QString& listFile) {
  if (const QString refusal = WriteCheckRefusal(
          listFile, QStringLiteral("ist vermutlich noch geöffnet"), QStringLiteral("\r\n"));
      !refusal.isEmpty()) {
    ui.message(refusal);
    return nullptr;
  }
  auto list = std::make_unique<SafeFile>(listFile);
  if (!list->create()) {
    ui.message(list->failureText(), MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return nullptr;
  }
  return list;
}

// Puts the finished list file in place; when that fails, the new PDF is dropped and the
// earlier one stays.
void PlaceListFile(UserInterface& ui, SafeFile& list) {
  if (!list.finish() || !list.place()) {
    ui.message(list.failureText() +
                   QStringLiteral("\nDie PDF-Datei der Urkunden wurde darum nicht ersetzt."),
               MsgIcon::Exclamation, QStringLiteral("Achtung"));
    throw pdf::PdfAbort();
  }
}

}  // namespace

CertificateRunResult RunCertificateOutput(AppState& state, const CertificateRunOptions& o) {
  CertificateRunResult result;
  UserInterface& ui = *state.Ui;
  const int key = o.team ? kTeamTemplateKey : state.CurrentDisciplineType;
  // The event, the panel's numbers, the values of every certificate, the template.
  std::optional<EventData> event = state.CurrentDisciplineType == 6 ? CombinationEventData(state, o)
                                                                    : DisciplineEventData(state);
  if (!event) return result;
  const std::optional<RunNumbers> numbers = CheckRunNumbers(ui, o);
  if (!numbers) return result;
  RunValues run;
  run.today = ui.now().date();
  run.discipline = state.currentDocumentTitle();
  run.eventDate = event->eventDate;
  const CertificateTemplate tmpl = LoadTemplate(state.db(), key);

  // The file, then the certificates, before the document starts.
  DocumentOutput out(CertificateContext(state, key), kCertificateWords);
  if (!out.AskFileName()) return result;
  Certificates certificates;
  if (o.team) {
    certificates.teams = ComputeTeamRanking(state, o.teamSettings);
    certificates.teamCertificates =
        TeamCertificates(certificates.teams.teams, numbers->ranks, o.sorting == 1);
  } else if (auto rows = IndividualCertificates(state, o, *event, numbers->ranks)) {
    certificates.rows = std::move(*rows);
  } else {
    return result;
  }
  if (state.CurrentDisciplineType == 6)
    WarnUnknownCodes(state, QStringLiteral("Urkunden"), o.disciplines, o.evaluation == 1);
  else
    WarnUnknownCodes(state, QStringLiteral("Urkunden"), 0, BestRunType(state.Settings.typNumber()));
  if (certificates.rows.empty() && certificates.teamCertificates.empty()) {
    // Nothing to print: no file is written (a refused team ranking has said why).
    if (!certificates.teams.refused) ReportNoData(ui);
    return result;
  }

  // The document with the export's list beside it, one page per certificate, the end.
  const QString listFile = ExportListPath(out.file());
  out.CreateDoc(!o.exportMode, tmpl.landscape);
  if (!out.ProbeFile()) return result;
  std::unique_ptr<SafeFile> list;
  if (o.exportMode && !(list = CreateListFile(ui, listFile))) return result;
  out.BeginDoc();
  result.certificates =
      DrawCertificatePages(state, out.doc(), tmpl, o, *numbers, run, certificates);
  if (list) list->write(ExportListBytes(certificates.rows));
  out.FinishDoc(result.certificates, false, [&] {
    if (list) PlaceListFile(ui, *list);
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
