#include "refereereport/reportwindow.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "refereereport/reportoutput.h"
#include "refereereport/reportstore.h"
#include "workpanel/panelhost.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <utility>

namespace kx {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kPageShift = 6800;
constexpr int kRowHeight = 285;

int Px(int twips) {
  return twips / kTwipsPerPixel;
}

QFont FormFont(bool bold = false) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8.25);
  font.setBold(bold);
  return font;
}

// Typing stops at the length a stored value holds; a longer text set by the program
// (a prefilled value) is kept whole.
void LimitTyping(QLineEdit* edit) {
  // No guard: both handlers only edit the field's own text.
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
    // Like a maximum length: what was typed or pasted is cut at its end, before the cursor.
    const qsizetype allowed =
        std::max<qsizetype>(kReportValueLength, edit->property("kxLastText").toString().size());
    if (text.size() > allowed) {
      const int excess = static_cast<int>(text.size() - allowed);
      const int cursor = std::max(edit->cursorPosition() - excess, 0);
      edit->setText(QString(text).remove(cursor, excess));
      edit->setCursorPosition(cursor);
      return;
    }
    edit->setProperty("kxLastText", text);
  });
  // The text set by the program; a refused edit announces its text after the refusal has
  // put the earlier text back, and that announcement is not the text any more.
  // No guard: as above.
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    if (text == edit->text()) edit->setProperty("kxLastText", text);
  });
}

// The file behind a path, the same for every spelling of it while it exists.
QString FileIdentity(const QString& path) {
  if (path.isEmpty()) return path;
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// One piece of Frame1 (label, field, line); positions and sizes in twips. The form is
// built in the table's order.
struct FormItem {
  enum Kind { kLabel, kBoldLabel, kField, kAssociation, kRule, kColumnLine };
  Kind kind;
  int x;
  int y;
  int width;         // of a column line: its length
  const char* text;  // a label's text, a field's key
};

using enum FormItem::Kind;

constexpr char kPointsQuestion[] =
    "Soll das Rennen für die KSF-Punkteberechnung in Betracht gezogen werden?";

constexpr FormItem kForm[] = {
    // Event.
    {kBoldLabel, 120, 240, 1200, "Organisator:"},
    {kField, 1320, 240, 3240, "Organisator"},
    {kLabel, 4680, 240, 1200, "Landesverband:"},
    {kAssociation, 5880, 240, 1560, "Landesverband"},
    {kLabel, 7560, 240, 700, "Datum:"},
    {kField, 8280, 240, 1800, "Datum"},
    {kBoldLabel, 120, 600, 1200, "Veranstaltung:"},
    {kField, 1320, 600, 3240, "Veranstaltung"},
    {kLabel, 4680, 600, 1200, "Disziplin:"},
    {kField, 5880, 600, 700, "Disziplin"},
    {kLabel, 7500, 600, 780, "Renn-Nr.:"},
    {kField, 8280, 600, 1800, "RennNr"},
    {kRule, 60, 990, 10095, ""},

    // Jury and officials: label, name, club, role.
    {kBoldLabel, 120, 1080, 3000, "Jury/Kampfgericht:"},
    {kBoldLabel, 2400, 1380, 2000, "Name"},
    {kBoldLabel, 5400, 1380, 2000, "Verein/Verband"},
    {kLabel, 120, 1680, 2200, "Schiedsrichter"},
    {kField, 2400, 1680, 2900, "Schiedsrichter"},
    {kField, 5400, 1680, 2900, "Schiedsrichter_V"},
    {kLabel, 8400, 1680, 1500, "Jury"},
    {kLabel, 120, 1965, 2200, "Rennleiter"},
    {kField, 2400, 1965, 2900, "Rennleiter"},
    {kField, 5400, 1965, 2900, "Rennleiter_V"},
    {kLabel, 8400, 1965, 1500, "Jury"},
    {kLabel, 120, 2250, 2200, "Trainervertreter"},
    {kField, 2400, 2250, 2900, "Trainervertreter"},
    {kField, 5400, 2250, 2900, "Trainervertreter_V"},
    {kLabel, 8400, 2250, 1500, "Jury"},
    {kLabel, 120, 2535, 2200, "Zeitnehmer"},
    {kField, 2400, 2535, 2900, "EDVKR"},
    {kField, 5400, 2535, 2900, "EDVKR_V"},
    {kLabel, 8400, 2535, 1500, "Kampfgericht"},
    {kLabel, 120, 2820, 2200, "Startrichter"},
    {kField, 2400, 2820, 2900, "Startrichter"},
    {kField, 5400, 2820, 2900, "Startrichter_V"},
    {kLabel, 8400, 2820, 1500, "Kampfgericht"},
    {kLabel, 120, 3105, 2200, "Zielrichter"},
    {kField, 2400, 3105, 2900, "Zielrichter"},
    {kField, 5400, 3105, 2900, "Zielrichter_V"},
    {kLabel, 8400, 3105, 1500, "Kampfgericht"},
    {kRule, 60, 3420, 10095, ""},

    // Organisation.
    {kBoldLabel, 120, 3480, 3000, "Organisation"},
    {kLabel, 120, 3780, 1500, "Auslosung"},
    {kField, 1680, 3780, 3000, "Org_Auslosung"},
    {kLabel, 4800, 3780, 1500, "Siegerehrung"},
    {kField, 6360, 3780, 3240, "Org_Siegerehrung"},
    {kLabel, 120, 4080, 1500, "Medizinischer Leiter"},
    {kField, 1680, 4080, 3000, "Org_MedLeiter"},
    {kLabel, 4800, 4080, 1500, "Torrichter"},
    {kField, 6360, 4080, 3240, "Org_Torrichter"},
    {kRule, 60, 4470, 10095, ""},

    // Timing and evaluation: three rows of up to four label and field pairs.
    {kBoldLabel, 120, 4560, 4000, "Zeitmessung und Auswertung"},
    {kLabel, 120, 4860, 6960, kPointsQuestion},
    {kField, 7200, 4860, 1000, "Punkteberechnung"},
    {kLabel, 120, 5160, 1560, "Zeitmessgerät"},
    {kField, 1680, 5160, 900, "Zeitmessgeraet"},
    {kLabel, 2640, 5160, 1560, "Einschaltzeit"},
    {kField, 4200, 5160, 900, "Einschaltzeit"},
    {kLabel, 5160, 5160, 1560, "Synchronzeit"},
    {kField, 6720, 5160, 900, "Synchronzeit"},
    {kLabel, 7680, 5160, 1560, "Start 1. Läufer"},
    {kField, 9240, 5160, 900, "StartersterLaeufer"},
    {kLabel, 120, 5460, 1560, "Kabelverbindung"},
    {kField, 1680, 5460, 900, "Kabelverbindung"},
    {kLabel, 2640, 5460, 1560, "Anz. Teilnehmer"},
    {kField, 4200, 5460, 900, "Anz_Teilnehmer"},
    {kLabel, 5160, 5460, 1560, "Anz. Klassifiz."},
    {kField, 6720, 5460, 900, "Anz_Klassifizierte"},
    {kLabel, 7680, 5460, 1560, "NAS DG1"},
    {kField, 9240, 5460, 900, "Anz_NichtamStartDG1"},
    {kLabel, 120, 5760, 1560, "Funkverbindung"},
    {kField, 1680, 5760, 900, "Funkverbindung"},
    {kLabel, 2640, 5760, 1560, "Synchzeit n. 1 Min."},
    {kField, 4200, 5760, 900, "SyncZeit1Min"},
    {kLabel, 5160, 5760, 1560, "Zeitstreifen liegt vor"},
    {kField, 6720, 5760, 900, "Zeitstreifen"},
    {kRule, 60, 6060, 10095, ""},

    // Course; then its grid: run 1, run 2 and remark per row.
    {kBoldLabel, 120, 6120, 3000, "Rennstrecke"},
    {kLabel, 120, 6420, 2400, "Ort und Name der Rennstrecke"},
    {kField, 2520, 6420, 3300, "Rennstrecke"},
    {kLabel, 5940, 6420, 2700, "Ist die Strecke FIS homologiert?"},
    {kField, 8700, 6420, 900, "homologiert"},
    {kLabel, 120, 6720, 2900, "Vorbereitung und Schneeverhältnisse"},
    {kField, 3060, 6720, 6540, "Streckenzustand"},
    {kLabel, 2520, 6960, 2000, "1. Lauf / DG"},
    {kLabel, 4920, 6960, 2000, "2. Lauf / DG"},
    {kLabel, 7320, 6960, 2000, "Bemerkungen"},
    {kRule, 60, 7200, 10095, ""},
    {kColumnLine, 2460, 6960, 1860, ""},
    {kColumnLine, 4860, 6960, 1860, ""},
    {kColumnLine, 7260, 6960, 1860, ""},
    {kLabel, 120, 7260, 2300, "Kurssetzer"},
    {kField, 2520, 7260, 2280, "DG1_Kurssetzer"},
    {kField, 4920, 7260, 2280, "DG2_Kurssetzer"},
    {kField, 7320, 7260, 2280, "Bem_Kurssetzer"},
    {kLabel, 120, 7560, 2300, "Streckenlänge"},
    {kField, 2520, 7560, 2280, "DG1_Streckenlaenge"},
    {kField, 4920, 7560, 2280, "DG2_Streckenlaenge"},
    {kField, 7320, 7560, 2280, "Bem_Streckenlaenge"},
    {kLabel, 120, 7860, 2300, "Höhendifferenz"},
    {kField, 2520, 7860, 2280, "DG1_Hoehendifferenz"},
    {kField, 4920, 7860, 2280, "DG2_Hoehendifferenz"},
    {kField, 7320, 7860, 2280, "Bem_Hoehendifferenz"},
    {kLabel, 120, 8160, 2300, "Anzahl Tore/Richt.Änd."},
    {kField, 2520, 8160, 1000, "DG1_Tore"},
    {kLabel, 3600, 8160, 120, "/"},
    {kField, 3780, 8160, 1020, "DG1_Richtaend"},
    {kField, 4920, 8160, 1000, "DG2_Tore"},
    {kLabel, 6000, 8160, 120, "/"},
    {kField, 6180, 8160, 1020, "DG2_Richtaend"},
    {kField, 7320, 8160, 2280, "Bem_Tore"},
    {kLabel, 120, 8460, 2300, "Bestzeit"},
    {kField, 2520, 8460, 2280, "DG1_Bestzeit"},
    {kField, 4920, 8460, 2280, "DG2_Bestzeit"},
    {kField, 7320, 8460, 2280, "Bem_Bestzeit"},
    {kRule, 60, 8880, 10095, ""},

    // Safety and race conduct: one question and its answer per row.
    {kBoldLabel, 120, 9000, 3000, "Sicherheit"},
    {kBoldLabel, 120, 10920, 3000, "Rennabwicklung"},
    {kLabel, 120, 9300, 3600, "Spezielle Gefahren der Strecke"},
    {kField, 3780, 9300, 5820, "StreckeGefahren"},
    {kLabel, 120, 9600, 3600, "Verwendete Stangen und Flaggen"},
    {kField, 3780, 9600, 5820, "Stangen"},
    {kLabel, 120, 9900, 3600, "Streckenverbesserung durch die Jury?"},
    {kField, 3780, 9900, 5820, "Streckenverbesserung"},
    {kLabel, 120, 10200, 3600, "Rettungsdienst ausreichend?"},
    {kField, 3780, 10200, 5820, "Rettungsdienst"},
    {kLabel, 120, 10500, 3600, "Gab es Unfälle während des Rennens?"},
    {kField, 3780, 10500, 5820, "Unfaelle"},
    {kLabel, 120, 11220, 3600, "Witterungs- und Sichtverhältnisse"},
    {kField, 3780, 11220, 5820, "Witterung"},
    {kLabel, 120, 11520, 3600, "Wurden Proteste eingereicht?"},
    {kField, 3780, 11520, 5820, "Proteste"},
    {kLabel, 120, 11820, 3600, "Sanktionen gegen Athleten?"},
    {kField, 3780, 11820, 5820, "Sanktionen"},
    {kRule, 60, 10830, 10095, ""},
    {kRule, 60, 12150, 10095, ""},

    // Contact data of the timekeeper and the referee.
    {kBoldLabel, 120, 12240, 3000, "Angaben Zeitnehmer"},
    {kLabel, 120, 12540, 1300, "Name, Vorname"},
    {kField, 1440, 12540, 3000, "Zeitnehmer_Name"},
    {kLabel, 4560, 12540, 500, "Tel."},
    {kField, 5100, 12540, 1800, "Zeitnehmer_Telefon"},
    {kLabel, 7020, 12540, 700, "E-Mail"},
    {kField, 7740, 12540, 1860, "Zeitnehmer_Email"},
    {kRule, 60, 12900, 10095, ""},
    {kBoldLabel, 120, 12960, 3000, "Angaben Schiedsrichter"},
    {kLabel, 120, 13260, 1300, "Name, Vorname"},
    {kField, 1440, 13260, 3000, "Schiedsrichter_Name"},
    {kLabel, 4560, 13260, 500, "Tel."},
    {kField, 5100, 13260, 1800, "Schiedsrichter_Telefon"},
    {kLabel, 7020, 13260, 700, "E-Mail"},
    {kField, 7740, 13260, 1860, "Schiedsrichter_Email"},
    {kRule, 60, 13620, 10095, ""},
};

// Creates one piece of the form on `frame`; returns it.
QWidget* AddFormItem(QWidget* frame, const FormItem& item) {
  const QString text = QString::fromUtf8(item.text);
  switch (item.kind) {
    case kLabel:
    case kBoldLabel: {
      auto* label = new QLabel(text, frame);
      label->setFont(FormFont(item.kind == kBoldLabel));
      label->setGeometry(Px(item.x), Px(item.y + 30), Px(item.width), Px(240));
      return label;
    }
    case kField: {
      auto* edit = new QLineEdit(frame);
      edit->setObjectName(text);
      edit->setFont(FormFont());
      edit->setGeometry(Px(item.x), Px(item.y), Px(item.width), Px(kRowHeight));
      LimitTyping(edit);
      return edit;
    }
    case kAssociation: {
      auto* combo = new QComboBox(frame);
      combo->setObjectName(text);
      combo->setFont(FormFont());
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setGeometry(Px(item.x), Px(item.y), Px(item.width), Px(kRowHeight + 30));
      LimitTyping(combo->lineEdit());
      return combo;
    }
    case kRule:
    case kColumnLine:
      break;
  }
  auto* line = new QFrame(frame);
  if (item.kind == kRule) {
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(Px(item.x), Px(item.y), Px(item.width), 2);
  } else {
    line->setFrameShape(QFrame::VLine);
    line->setGeometry(Px(item.x), Px(item.y), 2, Px(item.width));
  }
  return line;
}

}  // namespace

RefereeReportWindow::RefereeReportWindow(PanelHost& host) : QWidget(nullptr), host_(host) {
  setObjectName(QStringLiteral("SR_Bericht"));
  setWindowTitle(QStringLiteral("Alpiner Schiedsrichterbericht (für nationale Veranstaltungen)"));
  setFixedSize(Px(10485), Px(7695));
  build();
}

RefereeReportWindow::~RefereeReportWindow() = default;

void RefereeReportWindow::build() {
  addScrolledFrame();
  addFormItems();
  const QList<QWidget*> buttons = addButtons();
  setFormTabOrder(buttons);
  // Every key passes the window first, then reaches the control that has the focus.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);
}

void RefereeReportWindow::addScrolledFrame() {
  frame_ = new QWidget(this);
  frame_->setObjectName(QStringLiteral("Frame1"));
  frame_->setGeometry(0, 0, Px(10215), Px(14535));
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName(QStringLiteral("VScroll1"));
  scroll_->setGeometry(Px(10485 - 300), 0, Px(300), Px(7695));
  scroll_->setRange(1, 2);
  scroll_->setSingleStep(1);
  scroll_->setPageStep(1);
  ConnectGuarded(host_.ui(), scroll_, &QScrollBar::valueChanged, this,
                 [this](int page) { frame_->move(0, Px(frameTop_ - (page - 1) * kPageShift)); });
}

void RefereeReportWindow::addFormItems() {
  for (const FormItem& item : kForm) {
    QWidget* control = AddFormItem(frame_, item);
    if (item.kind == kField) {
      edits_[static_cast<size_t>(ReportKeyIndex(control->objectName()))] =
          static_cast<QLineEdit*>(control);
    } else if (item.kind == kAssociation) {
      association_ = static_cast<QComboBox*>(control);
      association_->view();  // its list exists from the start, so that the window sees its keys
    }
  }
}

QList<QWidget*> RefereeReportWindow::addButtons() {
  auto button = [this](const QString& name, const QString& caption, int x, int w, bool bold,
                       void (RefereeReportWindow::*slot)()) {
    auto* b = new QPushButton(caption, frame_);
    b->setObjectName(name);
    b->setFont(FormFont(bold));
    b->setGeometry(Px(x), Px(13920), Px(w), Px(375));
    b->setAutoDefault(false);
    ConnectGuarded(host_.ui(), b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
    return b;
  };
  QPushButton* output =
      button(QStringLiteral("SRBericht_ausgeben"), QStringLiteral("Ausgabe SR-Bericht (F2)"), 120,
             2700, true, &RefereeReportWindow::SRBericht_ausgeben_Click);
  QPushButton* remove =
      button(QStringLiteral("SRBericht_del"), QStringLiteral("SR-Bericht löschen"), 3900, 2400,
             false, &RefereeReportWindow::SRBericht_del_Click);
  QPushButton* cancel = button(QStringLiteral("SRBericht_Abbruch"), QStringLiteral("Abbruch (Esc)"),
                               7200, 2400, false, &RefereeReportWindow::SRBericht_Abbruch_Click);
  return {output, cancel, remove};
}

void RefereeReportWindow::setFormTabOrder(const QList<QWidget*>& buttons) {
  // The keys in their order, the points question after the medical head; then the buttons.
  const int points = ReportKeyIndex(QStringLiteral("Punkteberechnung"));
  QList<QWidget*> order;
  for (int i = 0; i < kReportFieldCount; ++i) {
    if (i == kOrgRennstrecke || i == kMedLeiter || i == points) continue;
    order << (i == kLandesverband ? static_cast<QWidget*>(association_)
                                  : edits_[static_cast<size_t>(i)]);
    if (i == ReportKeyIndex(QStringLiteral("Org_MedLeiter"))) {
      order << edits_[static_cast<size_t>(points)];
    }
  }
  order << buttons;
  for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void RefereeReportWindow::showReport() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  keyEvent_ = nullptr;  // a release taken by a dialog of the last opening
  listEscape_ = false;
  if (!RunGuarded(host_.ui(), [this] { LoadRefereeReport(); })) return;
  show();
  raise();
  activateWindow();
}

void RefereeReportWindow::LoadRefereeReport() {
  AppState& state = host_.state();
  db::Connection& db = state.db();
  discipline_ = {state.CurrentDisciplineType, state.CurrentDisciplineCode, state.RunCount};
  ReportValues values = DefaultReportValues();
  PrefillRefereeReport(db, discipline_, values);
  frameTop_ = 0;
  scroll_->setValue(1);
  frame_->move(0, 0);
  association_->clear();
  association_->addItems(RegionalAssociations());
  EnsureReportTable(db);
  LoadStoredReport(db, discipline_.type, values);

  for (int i = 0; i < kReportFieldCount; ++i) {
    if (QLineEdit* edit = edits_[static_cast<size_t>(i)]) {
      edit->setText(values[static_cast<size_t>(i)]);
      edit->setCursorPosition(0);  // a long value shows its beginning
    }
  }
  const QString& association = values[kLandesverband];
  const int entry = association_->findText(association, Qt::MatchExactly | Qt::MatchCaseSensitive);
  association_->setCurrentIndex(entry);
  if (entry < 0) association_->setEditText(association);
  filePath_ = FileIdentity(state.CompetitionFilePath);
  race_ = ReadReportRace(db, discipline_.type);
  shown_ = readControls();
}

ReportValues RefereeReportWindow::readControls() const {
  ReportValues values;
  for (int i = 0; i < kReportFieldCount; ++i) {
    if (QLineEdit* edit = edits_[static_cast<size_t>(i)])
      values[static_cast<size_t>(i)] = edit->text();
  }
  // The association as shown: the chosen entry, or the text typed.
  values[kLandesverband] = association_->currentText();
  return values;
}

bool RefereeReportWindow::hasChanges() const {
  return isVisible() && readControls() != shown_;
}

bool RefereeReportWindow::mayDiscard(const QString& question) {
  if (!hasChanges() || host_.ui().message(question, MsgIcon::Question, QString(),
                                          MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes) {
    return true;
  }
  // The texts kept are in front again: the question may have come from the main window.
  raise();
  activateWindow();
  return false;
}

bool RefereeReportWindow::belongsToOpenFile() const {
  const AppState& state = host_.state();
  return !filePath_.isEmpty() && state.fileOpen() &&
         FileIdentity(state.CompetitionFilePath) == filePath_ &&
         ReadReportRace(state.db(), discipline_.type) == race_;
}

std::optional<QString> RefereeReportWindow::fileRefusal(const QString& verb) const {
  if (belongsToOpenFile()) return std::nullopt;
  const QString reason = host_.state().fileOpen()
                             ? QStringLiteral("Es ist eine andere Bewerbsdatei geöffnet.")
                             : QStringLiteral("Es ist keine Bewerbsdatei geöffnet.");
  return reason + QStringLiteral(
                      "\n\nDer SR-Bericht gehört zur Datei '%1' und kann erst %2 "
                      "werden, wenn diese Datei wieder geöffnet ist.")
                      .arg(QDir::toNativeSeparators(filePath_), verb);
}

void RefereeReportWindow::SRBericht_ausgeben_Click() {
  RunGuarded(host_.ui(), [this] {
    // The texts stay in the window until the file they were written for is open again.
    if (const std::optional<QString> refusal = fileRefusal(QStringLiteral("gespeichert"))) {
      host_.ui().message(*refusal, MsgIcon::Exclamation);
      return;
    }
    const ReportValues values = readControls();
    if (const std::optional<QString> key = TooLongReportValue(values)) {
      host_.ui().message(QStringLiteral("Der Text im Feld %1 ist länger als %2 Zeichen und kann "
                                        "nicht gespeichert werden")
                             .arg(*key)
                             .arg(kReportValueLength));
      return;
    }
    AppState& state = host_.state();
    EnsureReportTable(state.db());  // the file may be a copy from before the first report
    StoreReport(state.db(), discipline_.type, values);
    shown_ = values;  // stored: nothing typed is lost any more
    if (WriteRefereeReport(OutputContext::Of(state), values, host_.ui().now().date()) !=
        ReportOutcome::NotWritable) {
      dismiss();
    }
  });
}

void RefereeReportWindow::SRBericht_Abbruch_Click() {
  if (mayDiscard()) dismiss();
}

void RefereeReportWindow::SRBericht_del_Click() {
  RunGuarded(host_.ui(), [this] {
    if (const std::optional<QString> refusal = fileRefusal(QStringLiteral("gelöscht"))) {
      host_.ui().message(*refusal, MsgIcon::Exclamation, QStringLiteral("SR-Bericht löschen"));
      return;
    }
    if (host_.ui().message(QStringLiteral("Wollen Sie den Schiedsrichterbericht wirklich "
                                          "löschen?\r\n\r\nAchtung: Diese Aktion kann nicht "
                                          "rückgängig gemacht werden!"),
                           MsgIcon::None, QStringLiteral("SR-Bericht löschen"),
                           MsgButtons::YesNo) != MsgAnswer::Yes) {
      return;
    }
    EnsureReportTable(host_.state().db());
    DeleteStoredReport(host_.state().db(), discipline_.type);
    dismiss();
  });
}

void RefereeReportWindow::dismiss() {
  filePath_.clear();
  hide();
}

void RefereeReportWindow::scrollTo(int page) {
  scroll_->setValue(page);
}

bool RefereeReportWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) keyEvent_ = nullptr;
  // Esc in the open list of "Landesverband" closes the list while the key is checked for
  // shortcuts; the key then arrives at the box. It was meant for the list, not the window.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && association_->view()->isVisible())
    listEscape_ = true;
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  // That Esc ends with its press, wherever the press goes: the closed list's own window may
  // take it, and the next Esc is the window's again.
  const bool listEscape = std::exchange(listEscape_, false);
  // A key is handled once, where it is first delivered: at one of the window's controls,
  // or at the window itself when it reaches it without passing a control. It then goes on
  // to the control.
  auto* widget = qobject_cast<QWidget*>(watched);
  const bool control =
      widget && widget != frame_ && (widget->parentWidget() == frame_ || widget == scroll_);
  if (control || (watched == this && keyEvent_ != event)) {
    keyEvent_ = event;
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_F2:
        SRBericht_ausgeben_Click();
        break;
      case Qt::Key_Escape:
        if (!listEscape) SRBericht_Abbruch_Click();
        break;
      case Qt::Key_PageUp:
      case Qt::Key_Up:
        scrollTo(1);
        break;
      case Qt::Key_PageDown:
      case Qt::Key_Down:
        scrollTo(2);
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void RefereeReportWindow::closeEvent(QCloseEvent* event) {
  // The close box cancels like "Abbruch (Esc)", and asks like it.
  if (!mayDiscard()) {
    event->ignore();
    return;
  }
  dismiss();
  event->accept();
}

}  // namespace kx
