#include "admin/adminpanels.h"

#include "admin/bibtakeover.h"
#include "admin/competitiontype.h"
#include "admin/deletions.h"
#include "admin/directionchange.h"
#include "admin/finals.h"
#include "admin/pointstakeover.h"
#include "common/guarded.h"
#include "common/masterdata.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/listpanelsupport.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelhost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kx {

namespace {

const QString kAttention = QStringLiteral("Achtung");
const QString kIrreversible =
    QStringLiteral("\n\nAchtung: Diese Aktion kann nicht rückgängig gemacht werden!");

void SetColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

const QString kNoMasterData =
    QStringLiteral("Im Programmverzeichnis des Kandrix fehlt die Datei STAMMDAT.mdb");

}  // namespace

// ---------------------------------------------------------------- competition type

CompetitionTypePanel::CompetitionTypePanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

void CompetitionTypePanel::build() {
  addLabel(QStringLiteral("Label01"), QStringLiteral("Bewerbstyp"), Arial(9),
           {600, 1260, 1335, 255});
  type_ = addComboBox(QStringLiteral("Bewerbstyp"), Arial(9), 2040, 1220, 3735);
  type_->addItems(kCompetitionTypes);
  bool ok = false;
  const int typ = state().Settings.typ.toInt(&ok);
  type_->setCurrentIndex(ok && typ >= 0 && typ < kCompetitionTypes.size() ? typ : -1);
  InstallComboTypeAhead(*type_);
  addButton(QStringLiteral("Bewerbstypspeichern"), QStringLiteral("Speichern (F2)"),
            SansSerif(8, true), {600, 1940, 1935, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Bewerbstyp_schliessen"), QStringLiteral("Verwerfen (Esc)"),
            SansSerif(8), {2760, 1940, 1935, 375}, [this] { closeSelf(); });
}

void CompetitionTypePanel::mainAction() {
  guarded([this] {
    // Only an offered entry is saved; typed text that selects nothing writes nothing.
    const int newType = type_->currentIndex();
    if (newType < 0 || type_->currentText() != type_->itemText(newType)) return;
    CompetitionSettings& settings = state().Settings;
    SaveCompetitionType(state().db(), settings.typ.toInt(), newType);
    settings.typ = QString::number(newType);
    // The save may have given the race numbers other letters: the number held since the
    // open is read again, so that the direction check preselects by the new type.
    settings.bewerbsnummer =
        state()
            .db()
            .scalar(QStringLiteral("select bewerbsnummer from tblDisziplin where dtyp=?"),
                    {settings.bewerbsnummerDtyp})
            .toString();
    // The referee report belongs to a single discipline, never to the combination.
    const int current = state().CurrentDisciplineType;
    host().enable(menu::SR_Bericht_anzeigen, current >= 0 && current <= 5);
    closeSelf();
  });
}

// ---------------------------------------------------------------- deletions

DeletionPanel::DeletionPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row), participants_(row.name == QLatin1String("Teilnehmerloeschen")) {}

void DeletionPanel::build() {
  const bool people = participants_;
  QLabel* heading = addLabel(QStringLiteral("Label01"), QStringLiteral("Achtung:"),
                             Arial(9, true, true), {1080, 1820, 3375, 255});
  SetColor(heading, QColor(192, 0, 0));
  QLabel* warning = addLabel(
      QStringLiteral("Label02"),
      people ? QStringLiteral("Es werden alle Teilnehmer für alle Disziplinen gelöscht! Dieser "
                              "Vorgang kann nicht rückgängig gemacht werden.")
             : QStringLiteral("Es werden alle Mannschaften für alle Disziplinen gelöscht! Dieser "
                              "Vorgang kann nicht rückgängig gemacht werden."),
      Arial(9, true), {1080, 2060, 2535, 975});
  SetColor(warning, QColor(255, 0, 0));
  const QString prefix =
      people ? QStringLiteral("Teilnehmerloeschen") : QStringLiteral("Mannschaftenloeschen");
  addButton(prefix + QStringLiteral("_speichern"),
            people ? QStringLiteral("Teilnehmer löschen (F2)")
                   : QStringLiteral("Mannschaften löschen (F2)"),
            SansSerif(8, true), {1080, 3140, people ? 2295 : 2595, 375}, [this] { mainAction(); });
  addButton(prefix + QStringLiteral("_schliessen"), QStringLiteral("Abbruch (Esc)"),
            SansSerif(8, true), {4560, 3140, 2055, 375}, [this] { closeSelf(); });
}

void DeletionPanel::mainAction() {
  guarded([this] {
    const bool people = participants_;
    const QString question = people
                                 ? QStringLiteral("Wollen Sie wirklich alle Teilnehmer löschen?")
                                 : QStringLiteral("Wollen Sie wirklich alle Mannschaften löschen?");
    const QString caption = people ? QStringLiteral("Alle Teilnehmer löschen")
                                   : QStringLiteral("Alle Mannschaften löschen");
    if (ui().message(question + kIrreversible, MsgIcon::None, caption, MsgButtons::YesNo) !=
        MsgAnswer::Yes) {
      return;
    }
    PanelHost& w = host();
    if (people) {
      DeleteAllParticipants(state().db());
      closeSelf();
      w.UpdateParticipantMenus();
      w.UpdateTeamMenus();
      w.UpdateTimeMenus();
      w.disable(menu::TeilnehmerLoeschen);
      w.enable(menu::Finalteilnehmer);
    } else {
      DeleteAllTeams(state().db());
      closeSelf();
      w.UpdateTeamMenus();
      w.disable(menu::MannschaftenLoeschen);
    }
    w.frameTitel()->clear();
  });
}

// ---------------------------------------------------------------- finals participants

FinalsPanel::FinalsPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

FinalsPanel::~FinalsPanel() {
  // The program ended with the panel open: no work table stays behind in the file.
  if (tablePath_.isEmpty()) return;
  try {
    DropFinalsTable(*db::Connection::open(tablePath_));
  } catch (const db::Error&) {
    // Dropped at the panel's next opening.
  }
}

void FinalsPanel::build() {
  addLabel(QStringLiteral("Label01"), QStringLiteral("Anzahl Damen"), Arial(9),
           {600, 1220, 1335, 255});
  women_ = addTextBox(QStringLiteral("FinalteilnehmerDamen"), QStringLiteral("20"), Arial(9),
                      {2040, 1220, 735, 285});
  addLabel(QStringLiteral("Label02"), QStringLiteral("Anzahl Herren"), Arial(9),
           {600, 1580, 1335, 255});
  men_ = addTextBox(QStringLiteral("FinalteilnehmerHerren"), QStringLiteral("30"), Arial(9),
                    {2040, 1580, 735, 285});
  addLabel(QStringLiteral("Label03"), QStringLiteral("Startnummern beibehalten"), Arial(9),
           {600, 2060, 2295, 255});
  keepBibs_ = addCheckBox(QStringLiteral("FinalteilnehmerStartnrn"), QStringLiteral(" "), true,
                          SansSerif(8), {3000, 2060, 255, 255});
  addButton(QStringLiteral("Finalteilnehmer_Bewerb"), QStringLiteral("Bewerb hinzufügen"),
            SansSerif(8, true), {600, 2540, 1935, 375}, [this] { addFile(); });
  addLabel(QStringLiteral("Label04"),
           QStringLiteral("Hier die Bewerbe hinzufügen, aus denen die Finalteilnehmer ermittelt "
                          "werden sollen"),
           Arial(8), {3000, 2510, 3375, 420});
  files_ = addLabel(QStringLiteral("FinalteilnehmerBewerbsliste"), QString(), Arial(9),
                    {600, 3140, 6495, 1095});
  addButton(QStringLiteral("Finalteilnehmer_speichern"), QStringLiteral("Speichern (F2)"),
            SansSerif(8, true), {600, 4940, 1455, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Finalteilnehmer_schliessen"), QStringLiteral("Verwerfen (Esc)"),
            SansSerif(8), {5640, 4940, 1455, 375}, [this] { closeSelf(); });
  CreateFinalsTable(state().db());
  tablePath_ = state().CompetitionFilePath;
}

void FinalsPanel::addFile() {
  const QString path = ui().openFileName(
      {QString(), state().DataDir, QStringLiteral("Bewerbsdatei|*.mdb"), QString()});
  if (path.isEmpty()) return;
  const FinalsAddResult result = AddFinalsFile(
      state().db(), path, {state().CurrentDisciplineType, state().CurrentDisciplineCode},
      keepBibs_->isChecked());
  if (!result.message.isEmpty()) {
    ui().message(result.message);
    return;
  }
  ShowUnknownCodes(state(), result.unknownCodes, QStringLiteral("Finalteilnehmer"));
  const QString line = QStringLiteral("-> ") + QFileInfo(path).completeBaseName();
  files_->setText(files_->text().isEmpty() ? line : files_->text() + QStringLiteral("\r\n") + line);
  keepBibs_->setEnabled(false);
}

void FinalsPanel::mainAction() {
  guarded([this] {
    const std::optional<double> women = ParseBoxValue(women_->text());
    if (!women) {
      ui().message(QStringLiteral("Anzahl Finalteilnehmer Damen ist nicht numerisch"));
      return;
    }
    const std::optional<double> men = ParseBoxValue(men_->text());
    if (!men) {
      ui().message(QStringLiteral("Anzahl Finalteilnehmer Herren ist nicht numerisch"));
      return;
    }
    if (files_->text().isEmpty()) {
      ui().message(QStringLiteral("Keine Bewerbsdateien ausgewählt"));
      return;
    }
    const bool withSvid =
        state().FileVersionClass != QLatin1String("40") &&
        state().db().hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"));
    const FinalsSaveResult saved =
        SaveFinalists(state().db(), *women, *men, keepBibs_->isChecked(),
                      {state().CurrentDisciplineType, state().CurrentDisciplineCode}, withSvid);
    if (!saved.message.isEmpty()) {
      ui().message(saved.message);
      return;
    }
    ui().message(QString::number(saved.inserted) + QStringLiteral(" Teilnehmer importiert!"));
    host().enable(menu::TeilnehmerLoeschen);
    host().disable(menu::Finalteilnehmer);
    closeSelf();
  });
}

void FinalsPanel::afterClose() {
  if (tablePath_.isEmpty()) return;
  RunGuarded(ui(), [this] {
    // Closing the file closes the panels after the file: the table is then dropped through
    // a connection of its own, so that no work table stays behind in the file.
    if (state().CompetitionDb && state().CompetitionFilePath == tablePath_) {
      DropFinalsTable(state().db());
    } else {
      DropFinalsTable(*db::Connection::open(tablePath_));
    }
    tablePath_.clear();
  });
}

// ---------------------------------------------------------------- bib takeover

BibTakeoverPanel::BibTakeoverPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

void BibTakeoverPanel::build() {
  addLabel(QStringLiteral("Label01"), QStringLiteral("Bewerbsbezeichnung"),
           SansSerif(10, true, true), {480, 980, 2535, 255});
  addLabel(QStringLiteral("Label02"), QStringLiteral("Veranstaltungsdatum"),
           SansSerif(10, true, true), {3960, 980, 2535, 255});
  QLabel* name = addLabel(QStringLiteral("StartNrnBezVeranst"), QStringLiteral(" "), Arial(10),
                          {480, 1340, 3375, 860});
  QLabel* date = addLabel(QStringLiteral("StartNrnDatumVeranst"), QStringLiteral(" "), Arial(10),
                          {3960, 1340, 3375, 615});
  label_ = addLabel(QStringLiteral("StartNrnLabel"), QStringLiteral("Übernahme Start-Nrn von"),
                    Arial(9), {480, 2825, 2295, 255});
  source_ = addComboBox(QStringLiteral("StartNrnDispvon"), Arial(9), 2880, 2780, 2775, false);
  save_ = addButton(QStringLiteral("Startnrn_speichern"), QStringLiteral("Speichern (F2)"),
                    SansSerif(8, true), {480, 4220, 2055, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("StartNrn_schliessen"), QStringLiteral("Schließen (Esc)"), SansSerif(8),
            {3960, 4220, 2055, 375}, [this] { closeSelf(); });

  FillEventLabels(state(), name, date, true);
  db::Connection& db = state().db();
  if (DisciplineHasBibs(db, state().CurrentDisciplineCode)) {
    hideChoice();
    ui().message(QStringLiteral("Achtung: Es sind bereits Startnummern für '%1' vorhanden")
                     .arg(state().currentListTitle()),
                 MsgIcon::Exclamation, kAttention);
    return;
  }
  bool anyRow = false;
  for (const BibSource& source : BibSourceDisciplines(db, state(), anyRow)) {
    source_->addItem(source.title);
    sourceCodes_ << source.code;
  }
  if (!anyRow)
    ui().message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation, kAttention);
  if (sourceCodes_.isEmpty()) {
    hideChoice();
    ui().message(QStringLiteral("Keine Startnummern zur Übernahme vorhanden!"),
                 MsgIcon::Exclamation, kAttention);
    return;
  }
  source_->setCurrentIndex(0);
}

void BibTakeoverPanel::hideChoice() {
  label_->hide();
  source_->hide();
  save_->hide();
}

void BibTakeoverPanel::mainAction() {
  // F2 also arrives while the choice is hidden: then there is nothing to save.
  const int item = source_->currentIndex();
  if (save_->isHidden() || item < 0 || item >= sourceCodes_.size()) return;
  guarded([this, item] {
    CopyBibs(state().db(), state().CurrentDisciplineCode, sourceCodes_[item]);
    closeSelf();
  });
}

// ---------------------------------------------------------------- points takeover

PointsTakeoverPanel::PointsTakeoverPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

void PointsTakeoverPanel::Open(PanelHost& host) {
  // The lists are checked before the editor guard and before any panel is closed.
  try {
    const PointsListVersions versions =
        ReadPointsListVersions(*OpenMasterData(host.state().ProgramDir));
    if (versions.refusal) {
      host.ui().message(*versions.refusal);
      return;
    }
  } catch (const db::Error& e) {
    host.ui().message(MasterDataFailureText(host.state().ProgramDir, e, kNoMasterData));
    return;
  }
  host.openRegisteredPanel(QStringLiteral("KSFIDPkteueb"), menu::KSFIdPunkte);
}

void PointsTakeoverPanel::build() {
  PointsListVersions versions;
  try {
    versions = ReadPointsListVersions(*OpenMasterData(state().ProgramDir));
  } catch (const db::Error&) {
    // The list was readable a moment ago; the labels stay empty.
  }
  addLabel(QStringLiteral("Label01"), QStringLiteral("Listen Version KSF allgemein:"), Arial(10),
           {600, 1220, 3015, 255});
  // The versions are read in full: the official sees which list will overwrite the points.
  addLabel(QStringLiteral("KSFIdPkteAllgemein"), versions.adult, Arial(10),
           {3720, 1220, 5400, 255});
  addLabel(QStringLiteral("Label02"), QStringLiteral("Listen Version KSF Schüler:"), Arial(10),
           {600, 1580, 3015, 255});
  addLabel(QStringLiteral("KSFIdPkteSchueler"), versions.youth, Arial(10), {3720, 1580, 5400, 255});
  addButton(QStringLiteral("KSFIdPkte_speichern"), QStringLiteral("Speichern (F2)"), SansSerif(8),
            {600, 2300, 2055, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("KSFIdPkte_schliessen"), QStringLiteral("Schließen (Esc)"), SansSerif(8),
            {3720, 2300, 2055, 375}, [this] { closeSelf(); });
}

void PointsTakeoverPanel::mainAction() {
  guarded([this] {
    std::unique_ptr<db::Connection> master;
    try {
      master = OpenMasterData(state().ProgramDir);
    } catch (const db::Error& e) {
      ui().message(MasterDataFailureText(state().ProgramDir, e, kNoMasterData));
      return;
    }
    db::Connection& db = state().db();
    const bool withSvid = db.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"));
    const PointsTakeoverResult result = TakeOverPoints(db, *master, withSvid);
    if (result.participants == 0) {
      ui().message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation, kAttention);
    }
    if (!result.conflicts.isEmpty()) {
      ui().message(QStringLiteral("Die KSF-Id folgender Teilnehmer ist bereits einem anderen "
                                  "Teilnehmer zugeordnet, sie wurden nicht übernommen:\n") +
                   result.conflicts.join(QLatin1Char('\n')));
    }
    closeSelf();
  });
}

// ---------------------------------------------------------------- direction-change check

DirectionChangePanel::DirectionChangePanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

void DirectionChangePanel::build() {
  ready_ = false;
  constexpr int kLeft = 600, kValue = 3720;
  category_ = addComboBox(QStringLiteral("DisziplinKategorie"), Arial(9), kLeft, 1220, 3375);
  category_->addItems(kDirectionChangeCategories);
  category_->setCurrentIndex(0);
  rule_ = DirectionChangeRule{0, 0, 0, 0, 0, {}};

  const AppState& s = state();
  const int preset =
      PreselectedDirectionChangeCategory(s.CurrentDisciplineType, s.Settings.bewerbsnummer);
  if (const std::optional<int> row = DirectionChangeRuleRow(preset);
      row && *row < static_cast<int>(s.DirectionChangeRules.size())) {
    rule_ = s.DirectionChangeRules[static_cast<size_t>(*row)];
  }
  category_->setCurrentIndex(preset);
  connectGuarded(category_, &QComboBox::currentIndexChanged,
                 [this](int index) { categoryChosen(index); });
  // Typing always ends in a category choice, also when it selects the item already chosen
  // (the combo reports only a changed index).
  connectGuarded(category_->lineEdit(), &QLineEdit::textEdited,
                 [this] { indexBeforeTyping_ = category_->currentIndex(); });
  InstallComboTypeAhead(*category_);
  connectGuarded(category_->lineEdit(), &QLineEdit::textEdited, [this] {
    if (category_->currentIndex() == indexBeforeTyping_) categoryChosen(indexBeforeTyping_);
  });

  addLabel(QStringLiteral("Label02"), SeasonRulesHeading(ui().now().date()), Arial(9),
           {kLeft, 1700, 3015, 255});
  addLabel(QStringLiteral("Label03"), QStringLiteral("- Höhendifferenz:"), Arial(9),
           {kLeft, 2060, 3015, 255});
  dropRange_ = addLabel(QStringLiteral("Label04"), QString(), Arial(9), {kValue, 2060, 3375, 255});
  addLabel(QStringLiteral("Label05"), QStringLiteral("- Anzahl Richtungsänderungen:"), Arial(9),
           {kLeft, 2420, 3015, 255});
  percentRange_ =
      addLabel(QStringLiteral("Label06"), QString(), Arial(9), {kValue, 2420, 3735, 255});
  if (preset != 0) showRule();

  addLabel(QStringLiteral("Label07"), QStringLiteral("Höhendifferenz:"), Arial(9),
           {kLeft, 2900, 1875, 255});
  drop_ =
      addTextBox(QStringLiteral("Hoehendifferenz"), QString(), Arial(9), {2520, 2880, 855, 285});
  const int typ = s.Settings.typ.toInt();
  if (!s.Settings.typ.isEmpty() && typ >= 2 && typ <= 7 &&
      (s.CurrentDisciplineType == 2 || s.CurrentDisciplineType == 3) &&
      !s.Settings.bewerbsnummer.isEmpty()) {
    const db::Field value = state().db().scalar(
        QStringLiteral("select value from tblListenkopf where disziplin=? and id=18"),
        {s.CurrentDisciplineType});
    if (!value.isNull()) drop_->setText(value.toString());
  }
  allowed_ = addLabel(QStringLiteral("Label08"), QString(), Arial(9), {kValue, 2900, 3735, 255});
  addLabel(QStringLiteral("Label09"), QStringLiteral("Richtungsänderungen"), Arial(9),
           {kLeft, 3380, 1875, 255});
  count_ = addTextBox(QStringLiteral("Richtungsaenderungen"), QString(), Arial(9),
                      {2520, 3360, 855, 285});
  dropResult_ =
      addLabel(QStringLiteral("Label010"), QString(), Arial(9), {kValue, 3380, 3735, 255});
  addButton(QStringLiteral("BearbeitenRichtungsaenderungen_berechnen"),
            QStringLiteral("Berechnen (F2)"), SansSerif(8), {kLeft, 4000, 2055, 375},
            [this] { mainAction(); });
  addButton(QStringLiteral("BearbeitenRichtungsaenderungen_schliessen"),
            QStringLiteral("Schließen (Esc)"), SansSerif(8), {kValue, 4000, 2055, 375},
            [this] { closeSelf(); });
  mainAction();
  ready_ = true;
}

void DirectionChangePanel::showRule() {
  dropRange_->setText(DropRangeText(rule_));
  percentRange_->setText(PercentRangeText(rule_));
}

void DirectionChangePanel::categoryChosen(int index) {
  if (!ready_) return;
  if (index == 0) {
    for (QLabel* label : {dropRange_, percentRange_, allowed_, dropResult_}) label->clear();
    return;
  }
  if (const std::optional<int> row = DirectionChangeRuleRow(index);
      row && *row < static_cast<int>(state().DirectionChangeRules.size())) {
    rule_ = state().DirectionChangeRules[static_cast<size_t>(*row)];
  }
  showRule();
  mainAction();
}

void DirectionChangePanel::mainAction() {
  const DirectionChangeResult result = CheckDirectionChanges(rule_, drop_->text(), count_->text());
  allowed_->setText(result.allowedChanges);
  dropResult_->setText(result.dropRange);
  if (!result.message.isEmpty()) ui().message(result.message);
}

}  // namespace kx
