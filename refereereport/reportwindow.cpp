#include "refereereport/reportwindow.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "refereereport/reportoutput.h"
#include "refereereport/reportstore.h"
#include "workpanel/panelhost.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

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

}  // namespace

RefereeReportWindow::RefereeReportWindow(PanelHost& host) : QWidget(nullptr), host_(host) {
  setObjectName(QStringLiteral("SR_Bericht"));
  setWindowTitle(QStringLiteral("Alpiner Schiedsrichterbericht (für nationale Veranstaltungen)"));
  setFixedSize(Px(10485), Px(7695));
  build();
}

RefereeReportWindow::~RefereeReportWindow() = default;

void RefereeReportWindow::build() {
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

  auto label = [this](const QString& text, int x, int y, int w, bool bold = false) {
    auto* l = new QLabel(text, frame_);
    l->setFont(FormFont(bold));
    l->setGeometry(Px(x), Px(y + 30), Px(w), Px(240));
    return l;
  };
  auto field = [this](const char* key, int x, int y, int w) {
    auto* e = new QLineEdit(frame_);
    const int index = ReportKeyIndex(QString::fromLatin1(key));
    e->setObjectName(QString::fromLatin1(key));
    e->setFont(FormFont());
    e->setGeometry(Px(x), Px(y), Px(w), Px(kRowHeight));
    LimitTyping(e);
    edits_[static_cast<size_t>(index)] = e;
    return e;
  };
  auto rule = [this](int y) {
    auto* line = new QFrame(frame_);
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(Px(60), Px(y), Px(10095), 2);
  };

  // Event.
  label(QStringLiteral("Organisator:"), 120, 240, 1200, true);
  field("Organisator", 1320, 240, 3240);
  label(QStringLiteral("Landesverband:"), 4680, 240, 1200);
  association_ = new QComboBox(frame_);
  association_->setObjectName(QStringLiteral("Landesverband"));
  association_->setFont(FormFont());
  association_->setEditable(true);
  association_->setInsertPolicy(QComboBox::NoInsert);
  association_->setGeometry(Px(5880), Px(240), Px(1560), Px(kRowHeight + 30));
  LimitTyping(association_->lineEdit());
  label(QStringLiteral("Datum:"), 7560, 240, 700);
  field("Datum", 8280, 240, 1800);
  label(QStringLiteral("Veranstaltung:"), 120, 600, 1200, true);
  field("Veranstaltung", 1320, 600, 3240);
  label(QStringLiteral("Disziplin:"), 4680, 600, 1200);
  field("Disziplin", 5880, 600, 700);
  label(QStringLiteral("Renn-Nr.:"), 7500, 600, 780);
  field("RennNr", 8280, 600, 1800);
  rule(990);

  // Jury and officials.
  label(QStringLiteral("Jury/Kampfgericht:"), 120, 1080, 3000, true);
  label(QStringLiteral("Name"), 2400, 1380, 2000, true);
  label(QStringLiteral("Verein/Verband"), 5400, 1380, 2000, true);
  const struct {
    const char* label;
    const char* name;
    const char* club;
    const char* role;
  } officials[] = {
      {"Schiedsrichter", "Schiedsrichter", "Schiedsrichter_V", "Jury"},
      {"Rennleiter", "Rennleiter", "Rennleiter_V", "Jury"},
      {"Trainervertreter", "Trainervertreter", "Trainervertreter_V", "Jury"},
      {"Zeitnehmer", "EDVKR", "EDVKR_V", "Kampfgericht"},
      {"Startrichter", "Startrichter", "Startrichter_V", "Kampfgericht"},
      {"Zielrichter", "Zielrichter", "Zielrichter_V", "Kampfgericht"},
  };
  int y = 1680;
  for (const auto& row : officials) {
    label(QString::fromUtf8(row.label), 120, y, 2200);
    field(row.name, 2400, y, 2900);
    field(row.club, 5400, y, 2900);
    label(QString::fromUtf8(row.role), 8400, y, 1500);
    y += 285;
  }
  rule(3420);

  // Organisation.
  label(QStringLiteral("Organisation"), 120, 3480, 3000, true);
  label(QStringLiteral("Auslosung"), 120, 3780, 1500);
  field("Org_Auslosung", 1680, 3780, 3000);
  label(QStringLiteral("Siegerehrung"), 4800, 3780, 1500);
  field("Org_Siegerehrung", 6360, 3780, 3240);
  label(QStringLiteral("Medizinischer Leiter"), 120, 4080, 1500);
  field("Org_MedLeiter", 1680, 4080, 3000);
  label(QStringLiteral("Torrichter"), 4800, 4080, 1500);
  field("Org_Torrichter", 6360, 4080, 3240);
  rule(4470);

  // Timing and evaluation.
  label(QStringLiteral("Zeitmessung und Auswertung"), 120, 4560, 4000, true);
  label(QStringLiteral("Soll das Rennen für die KSF-Punkteberechnung in Betracht gezogen werden?"),
        120, 4860, 6960);
  field("Punkteberechnung", 7200, 4860, 1000);
  const struct {
    const char* label;
    const char* key;
  } timing[3][4] = {
      {{"Zeitmessgerät", "Zeitmessgeraet"},
       {"Einschaltzeit", "Einschaltzeit"},
       {"Synchronzeit", "Synchronzeit"},
       {"Start 1. Läufer", "StartersterLaeufer"}},
      {{"Kabelverbindung", "Kabelverbindung"},
       {"Anz. Teilnehmer", "Anz_Teilnehmer"},
       {"Anz. Klassifiz.", "Anz_Klassifizierte"},
       {"NAS DG1", "Anz_NichtamStartDG1"}},
      {{"Funkverbindung", "Funkverbindung"},
       {"Synchzeit n. 1 Min.", "SyncZeit1Min"},
       {"Zeitstreifen liegt vor", "Zeitstreifen"},
       {nullptr, nullptr}},
  };
  y = 5160;
  for (const auto& row : timing) {
    int x = 120;
    for (const auto& cell : row) {
      if (!cell.key) break;
      label(QString::fromUtf8(cell.label), x, y, 1560);
      field(cell.key, x + 1560, y, 900);
      x += 2520;
    }
    y += 300;
  }
  rule(6060);

  // Course.
  label(QStringLiteral("Rennstrecke"), 120, 6120, 3000, true);
  label(QStringLiteral("Ort und Name der Rennstrecke"), 120, 6420, 2400);
  field("Rennstrecke", 2520, 6420, 3300);
  label(QStringLiteral("Ist die Strecke FIS homologiert?"), 5940, 6420, 2700);
  field("homologiert", 8700, 6420, 900);
  label(QStringLiteral("Vorbereitung und Schneeverhältnisse"), 120, 6720, 2900);
  field("Streckenzustand", 3060, 6720, 6540);
  label(QStringLiteral("1. Lauf / DG"), 2520, 6960, 2000);
  label(QStringLiteral("2. Lauf / DG"), 4920, 6960, 2000);
  label(QStringLiteral("Bemerkungen"), 7320, 6960, 2000);
  rule(7200);
  for (int x : {2460, 4860, 7260}) {
    auto* line = new QFrame(frame_);
    line->setFrameShape(QFrame::VLine);
    line->setGeometry(Px(x), Px(6960), 2, Px(8820 - 6960));
  }
  const struct {
    const char* label;
    const char* run1;
    const char* run2;
    const char* remark;
  } course[] = {
      {"Kurssetzer", "DG1_Kurssetzer", "DG2_Kurssetzer", "Bem_Kurssetzer"},
      {"Streckenlänge", "DG1_Streckenlaenge", "DG2_Streckenlaenge", "Bem_Streckenlaenge"},
      {"Höhendifferenz", "DG1_Hoehendifferenz", "DG2_Hoehendifferenz", "Bem_Hoehendifferenz"},
      {"Anzahl Tore/Richt.Änd.", nullptr, nullptr, "Bem_Tore"},
      {"Bestzeit", "DG1_Bestzeit", "DG2_Bestzeit", "Bem_Bestzeit"},
  };
  y = 7260;
  for (const auto& row : course) {
    label(QString::fromUtf8(row.label), 120, y, 2300);
    if (row.run1) {
      field(row.run1, 2520, y, 2280);
      field(row.run2, 4920, y, 2280);
    } else {
      field("DG1_Tore", 2520, y, 1000);
      label(QStringLiteral("/"), 3600, y, 120);
      field("DG1_Richtaend", 3780, y, 1020);
      field("DG2_Tore", 4920, y, 1000);
      label(QStringLiteral("/"), 6000, y, 120);
      field("DG2_Richtaend", 6180, y, 1020);
    }
    field(row.remark, 7320, y, 2280);
    y += 300;
  }
  rule(8880);

  // Safety and race conduct.
  const struct {
    int y;
    const char* label;
    const char* key;
  } questions[] = {
      {9300, "Spezielle Gefahren der Strecke", "StreckeGefahren"},
      {9600, "Verwendete Stangen und Flaggen", "Stangen"},
      {9900, "Streckenverbesserung durch die Jury?", "Streckenverbesserung"},
      {10200, "Rettungsdienst ausreichend?", "Rettungsdienst"},
      {10500, "Gab es Unfälle während des Rennens?", "Unfaelle"},
      {11220, "Witterungs- und Sichtverhältnisse", "Witterung"},
      {11520, "Wurden Proteste eingereicht?", "Proteste"},
      {11820, "Sanktionen gegen Athleten?", "Sanktionen"},
  };
  label(QStringLiteral("Sicherheit"), 120, 9000, 3000, true);
  label(QStringLiteral("Rennabwicklung"), 120, 10920, 3000, true);
  for (const auto& row : questions) {
    label(QString::fromUtf8(row.label), 120, row.y, 3600);
    field(row.key, 3780, row.y, 5820);
  }
  rule(10830);
  rule(12150);

  // Contact data.
  const struct {
    int y;
    const char* heading;
    const char* name;
    const char* phone;
    const char* mail;
  } contacts[] = {
      {12240, "Angaben Zeitnehmer", "Zeitnehmer_Name", "Zeitnehmer_Telefon", "Zeitnehmer_Email"},
      {12960, "Angaben Schiedsrichter", "Schiedsrichter_Name", "Schiedsrichter_Telefon",
       "Schiedsrichter_Email"},
  };
  for (const auto& c : contacts) {
    label(QString::fromUtf8(c.heading), 120, c.y, 3000, true);
    label(QStringLiteral("Name, Vorname"), 120, c.y + 300, 1300);
    field(c.name, 1440, c.y + 300, 3000);
    label(QStringLiteral("Tel."), 4560, c.y + 300, 500);
    field(c.phone, 5100, c.y + 300, 1800);
    label(QStringLiteral("E-Mail"), 7020, c.y + 300, 700);
    field(c.mail, 7740, c.y + 300, 1860);
    rule(c.y + 660);
  }

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

  // Tab order: the keys in their order, the points question after the medical head.
  QList<QWidget*> order;
  for (int i = 0; i < kReportFieldCount; ++i) {
    if (i == kOrgRennstrecke || i == kMedLeiter) continue;
    if (i == ReportKeyIndex(QStringLiteral("Punkteberechnung"))) continue;
    order << (i == kLandesverband ? static_cast<QWidget*>(association_)
                                  : edits_[static_cast<size_t>(i)]);
    if (i == ReportKeyIndex(QStringLiteral("Org_MedLeiter"))) {
      order << edits_[static_cast<size_t>(ReportKeyIndex(QStringLiteral("Punkteberechnung")))];
    }
  }
  order << output << cancel << remove;
  for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  // Every key passes the window first, then reaches the control that has the focus.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);
}

void RefereeReportWindow::showReport() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  keyEvent_ = nullptr;  // a release taken by a dialog of the last opening
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
  file_ = state.CompetitionDb.get();
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

void RefereeReportWindow::SRBericht_ausgeben_Click() {
  RunGuarded(host_.ui(), [this] {
    const ReportValues values = readControls();
    if (const std::optional<QString> key = TooLongReportValue(values)) {
      host_.ui().message(QStringLiteral("Der Text im Feld %1 ist länger als %2 Zeichen und kann "
                                        "nicht gespeichert werden")
                             .arg(*key)
                             .arg(kReportValueLength));
      return;
    }
    AppState& state = host_.state();
    if (!file_ || state.CompetitionDb.get() != file_) return;
    StoreReport(state.db(), discipline_.type, values);
    if (WriteRefereeReport(OutputContext::Of(state), values, host_.ui().now().date()) !=
        ReportOutcome::NotWritable) {
      dismiss();
    }
  });
}

void RefereeReportWindow::SRBericht_Abbruch_Click() {
  dismiss();
}

void RefereeReportWindow::SRBericht_del_Click() {
  RunGuarded(host_.ui(), [this] {
    if (host_.ui().message(QStringLiteral("Wollen Sie den Schiedsrichterbericht wirklich "
                                          "löschen?\r\n\r\nAchtung: Diese Aktion kann nicht "
                                          "rückgängig gemacht werden!"),
                           MsgIcon::None, QStringLiteral("SR-Bericht löschen"),
                           MsgButtons::YesNo) != MsgAnswer::Yes) {
      return;
    }
    AppState& state = host_.state();
    if (!file_ || state.CompetitionDb.get() != file_) return;
    DeleteStoredReport(state.db(), discipline_.type);
    dismiss();
  });
}

void RefereeReportWindow::dismiss() {
  file_ = nullptr;
  hide();
}

void RefereeReportWindow::scrollTo(int page) {
  scroll_->setValue(page);
}

bool RefereeReportWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) keyEvent_ = nullptr;
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
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
        SRBericht_Abbruch_Click();
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
  // The close box cancels like "Abbruch (Esc)".
  dismiss();
  event->accept();
}

}  // namespace kx
