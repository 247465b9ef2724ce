#include "certificates/editorpanel.h"

#include "certificates/certificateoutput.h"
#include "certificates/certificaterenderer.h"
#include "common/appstate.h"
#include "common/guarded.h"
#include "common/textroutines.h"
#include "db/database.h"
#include "workpanel/menuentries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace kx {

namespace {

// Columns of the entry list.
enum Column { kText, kDisplay, kAlign, kVert, kHor, kVertNum, kHorNum, kColumns };

const QStringList kTeamFields{" ",        "<Mannschaft>",   "<MS-Teilnehmer>",
                              "<Klasse>", "<Disziplin>",    "<Platz>",
                              "<Zeit>",   "<Bewerbsdatum>", "<Datum>"};
const QStringList kIndividualFields{" ",        "<Vorname Name>", "<Vorname>",   "<Nachname>",
                                    "<Verein>", "<Klasse>",       "<Disziplin>", "<Platz>",
                                    "<Zeit>",   "<Bewerbsdatum>", "<Datum>"};

// The sort key of a position: five digits with leading zeros for 0 to 99999, else as typed.
QString SortKey(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 0 || value > 99999) return text;
  return QStringLiteral("%1").arg(value, 5, 10, QLatin1Char('0'));
}

// The width and height a picture entry shows; without an "x" all of the size is the width.
std::pair<QString, QString> ShownPictureSize(const QString& display) {
  return SplitPictureSize(display).value_or(std::pair{display.mid(5), QString()});
}

// The editor that is open, while one is.
QPointer<CertificateEditorPanel> g_openEditor;

const QString kHintText = QStringLiteral("gemessen von oben zur Oberkante Schrift");

}  // namespace

CertificateEditorPanel::CertificateEditorPanel(PanelHost& host, const PanelInfo& row,
                                               const QString& menuEntry)
    : WorkPanel(host, row), team_(menuEntry == menu::UrkundenMannschaftBearbeiten) {}

std::optional<bool> CertificateEditorPanel::OpenEditorIsTeam() {
  return g_openEditor ? std::optional(g_openEditor->team_) : std::nullopt;
}

bool CertificateEditorPanel::LeaveOpenEditor() {
  if (g_openEditor) g_openEditor->closeAction();
  return !g_openEditor;
}

QString CertificateEditorPanel::title() const {
  return team_ ? QStringLiteral("Bearbeiten Mannschaftsurkunden")
               : QStringLiteral("Bearbeiten Urkunden");
}

int CertificateEditorPanel::templateKey() const {
  return team_ ? kTeamTemplateKey : state().CurrentDisciplineType;
}

void CertificateEditorPanel::build() {
  g_openEditor = this;
  addEntryFields();
  addEntryList();
  addListButtons();
  field_->addItems(team_ ? kTeamFields : kIndividualFields);
  field_->setCurrentIndex(0);
  align_->addItems({"links", "zentriert", "rechts"});
  align_->setCurrentIndex(0);
  connectEntryFields();
  loadTemplate(LoadTemplate(state().db(), templateKey()));
  loadedEntries_ = entries();
  loadedLandscape_ = landscape();
}

void CertificateEditorPanel::addEntryFields() {
  const PanelFont f = Arial(9);
  label0_ = addLabel("UrkundeLabel0", "Text", f, {600, 700, 1500, 255});
  text_ = addTextBox("UrkundeText", "", f, {2200, 660, 7000, 300});
  label1_ = addLabel("UrkundeLabel1", "Feld einfügen", f, {600, 1100, 1500, 255});
  width_ = addTextBox("UrkundeBildbreite", "", f, {2200, 1060, 900, 300});
  label4_ = addLabel("UrkundeLabel4", "(1/10 mm)", f, {3200, 1100, 1000, 255});
  field_ = addComboBox("UrkundeFeld", f, 2200, 1060, 2400);
  label2_ = addLabel("UrkundeLabel2", "Schriftart", f, {600, 1500, 1500, 255});
  height_ = addTextBox("UrkundeBildhoehe", "", f, {2200, 1460, 900, 300});
  font_ = addButton("UrkundeSchrift", "wählen", SansSerif(8), {2200, 1460, 900, 330},
                    [this] { chooseFont(); });
  label5_ = addLabel("UrkundeLabel5", "(1/10 mm)", f, {3200, 1500, 1000, 255});
  fontShown_ = addLabel("UrkundeAusgabeSchrift", " ", f, {3200, 1500, 4000, 255});
  addLabel("Label01", "Ausrichtung", f, {600, 1900, 1500, 255});
  align_ = addComboBox("UrkundeAusrichtung", f, 2200, 1860, 1500);
  addLabel("Label02", "Position", f, {600, 2300, 1500, 255});
  addLabel("Label03", "vertikal", f, {1000, 2650, 1100, 255});
  vertical_ = addTextBox("Urkundevertikal", "", f, {2200, 2610, 900, 300});
  addLabel("Label04", "(1/10 mm)", f, {3200, 2650, 1000, 255});
  label3_ = addLabel("UrkundeLabel3", kHintText, Arial(7), {4200, 2670, 3600, 255});
  addLabel("Label05", "horizontal", f, {1000, 3050, 1100, 255});
  horizontal_ = addTextBox("Urkundehorizontal", "", f, {2200, 3010, 900, 300});
  addLabel("Label06", "(1/10 mm)", f, {3200, 3050, 1000, 255});
  addLabel("Label07", "gemessen von links", Arial(7), {4200, 3070, 3600, 255});
  addButton("Urkunde_kopieren", "Daten kopieren", SansSerif(8), {7600, 1860, 1600, 375},
            [this] { guarded([this] { copyFromFile(); }); });
  addButton("Urkunde_Vorschau", "Vorschau", SansSerif(8), {7600, 2300, 1600, 375},
            [this] { guarded([this] { preview(); }); });
}

void CertificateEditorPanel::addEntryList() {
  list_ = new QTreeWidget(this);
  list_->setObjectName("UrkundeInhalt");
  list_->setGeometry(TwipsToPixels({600, 3500, 8600, 3200}));
  list_->setColumnCount(kColumns);
  list_->setHeaderLabels({"Text / Bild-Datei", "Darstellung", "Ausr.", "vert.", "hor.", "", ""});
  list_->setRootIsDecorated(false);
  list_->setColumnWidth(kText, 260);
  list_->setColumnWidth(kDisplay, 140);
  list_->setColumnWidth(kAlign, 50);
  list_->setColumnWidth(kVert, 50);
  list_->setColumnWidth(kHor, 50);
  list_->setColumnHidden(kVertNum, true);
  list_->setColumnHidden(kHorNum, true);
  list_->header()->setSectionsClickable(true);
  list_->header()->setSortIndicatorShown(false);
  list_->show();
  connectGuarded(list_, &QTreeWidget::itemClicked,
                 [this](QTreeWidgetItem* clicked) { selectEntry(clicked); });
  connectGuarded(list_->header(), &QHeaderView::sectionClicked,
                 [this](int column) { columnClicked(column); });
}

void CertificateEditorPanel::addListButtons() {
  addButton("UrkundeAddText", "Text einfügen", SansSerif(8), {600, 6800, 1600, 375},
            [this] { guarded([this] { addNew(false); }); });
  addButton("UrkundeAddBild", "Bild einfügen", SansSerif(8), {2300, 6800, 1600, 375},
            [this] { guarded([this] { addNew(true); }); });
  remove_ = addButton("UrkundeDel", "Entfernen", SansSerif(8), {4000, 6800, 1600, 375},
                      [this] { guarded([this] { removeSelected(); }); });
  landscape_ = addCheckBox("UrkundeQuerformat", "", false, SansSerif(8), {600, 7400, 300, 300});
  addLabel("Label08", "Urkunde im Querformat", Arial(9), {950, 7430, 2500, 255});
  addButton("Urkunde_speichern", "Speichern (F2)", SansSerif(8, true), {5200, 7350, 1900, 375},
            [this] { mainAction(); });
  addButton("Urkunde_verwerfen", "Verwerfen (Esc)", SansSerif(8), {7300, 7350, 1900, 375},
            [this] { closeAction(); });
}

void CertificateEditorPanel::connectEntryFields() {
  // The field edits write into the selected entry only.
  auto intoEntry = [this](QLineEdit* edit, auto write) {
    connectGuarded(edit, &QLineEdit::textChanged, [this, write](const QString& t) {
      if (QTreeWidgetItem* it = selectedItem()) write(it, t);
    });
  };
  intoEntry(text_, [](QTreeWidgetItem* it, const QString& t) { it->setText(kText, t); });
  intoEntry(vertical_, [](QTreeWidgetItem* it, const QString& t) {
    it->setText(kVert, t);
    it->setText(kVertNum, SortKey(t));
  });
  intoEntry(horizontal_, [](QTreeWidgetItem* it, const QString& t) {
    it->setText(kHor, t);
    it->setText(kHorNum, SortKey(t));
  });
  intoEntry(width_, [](QTreeWidgetItem* it, const QString& t) {
    it->setText(kDisplay, "Bild " + t + "x" + ShownPictureSize(it->text(kDisplay)).second);
  });
  intoEntry(height_, [](QTreeWidgetItem* it, const QString& t) {
    it->setText(kDisplay, "Bild " + ShownPictureSize(it->text(kDisplay)).first + "x" + t);
  });
  connectGuarded(align_, &QComboBox::currentIndexChanged,
                 [this](int index) { chooseAlignment(index); });
  connectGuarded(field_, &QComboBox::currentIndexChanged,
                 [this](int index) { insertPlaceholder(index); });
  for (QComboBox* combo : {align_, field_}) connectTypeAhead(combo);
}

void CertificateEditorPanel::connectTypeAhead(QComboBox* combo) {
  // Typing into the list chooses by initial; typing has cleared the choice, so the list's
  // operation runs even when the same item is chosen again.
  connectGuarded(combo->lineEdit(), &QLineEdit::textEdited, [this, combo](const QString& typed) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    const int index = ComboTypeAhead(-1, typed, items).value_or(0);
    {
      const QSignalBlocker block(combo);
      combo->setCurrentIndex(index);
      combo->setEditText(combo->itemText(index));  // also when the same item is chosen
    }
    if (combo == align_) {
      chooseAlignment(index);
    } else {
      insertPlaceholder(index);
    }
  });
}

void CertificateEditorPanel::loadTemplate(const CertificateTemplate& t) {
  selectedKey_.clear();
  pendingKey_.clear();
  list_->clear();
  if (t.landscape) landscape_->setChecked(true);
  int last = 0;
  for (const auto& [id, entry] : t.entries) {
    addEntry(entry, id);
    last = id;
  }
  sortBy(kVertNum, sortDirection_ == QLatin1String("D") ? Qt::DescendingOrder : Qt::AscendingOrder);
  sortColumn_ = kVertNum;
  if (list_->topLevelItemCount() > 0) {
    pendingKey_ = list_->topLevelItem(0)->data(kText, Qt::UserRole).toString();
    selectEntry(nullptr);
  } else {
    emptyState(true);
  }
  entryCount_ = list_->topLevelItemCount();
  lastId_ = last;
}

void CertificateEditorPanel::addEntry(const CertificateEntry& e, int id) {
  auto* it = new QTreeWidgetItem(QStringList{e.text, e.display, e.align, e.vertical, e.horizontal,
                                             SortKey(e.vertical), SortKey(e.horizontal)});
  it->setData(kText, Qt::UserRole, QStringLiteral("T%1").arg(id));
  it->setTextAlignment(kVert, Qt::AlignRight | Qt::AlignVCenter);
  it->setTextAlignment(kHor, Qt::AlignRight | Qt::AlignVCenter);
  list_->addTopLevelItem(it);
}

QTreeWidgetItem* CertificateEditorPanel::item(const QString& key) const {
  if (key.isEmpty()) return nullptr;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* it = list_->topLevelItem(i);
    if (it->data(kText, Qt::UserRole).toString() == key) return it;
  }
  return nullptr;
}

QTreeWidgetItem* CertificateEditorPanel::selectedItem() const {
  return item(selectedKey_);
}

void CertificateEditorPanel::sortBy(int column, Qt::SortOrder order) {
  list_->sortItems(column, order);
}

void CertificateEditorPanel::setHighlight(QTreeWidgetItem* it, bool on) {
  for (int c = kText; c <= kHor; ++c) {
    it->setForeground(c, on ? QColor(0, 0, 255) : QColor(0, 0, 0));
    QFont font = list_->font();
    font.setBold(on);
    it->setFont(c, font);
  }
}

void CertificateEditorPanel::selectEntry(QTreeWidgetItem* clicked) {
  if (QTreeWidgetItem* old = selectedItem()) setHighlight(old, false);
  if (!pendingKey_.isEmpty()) {
    selectedKey_ = pendingKey_;
    pendingKey_.clear();
  } else if (clicked) {
    selectedKey_ = clicked->data(kText, Qt::UserRole).toString();
  }
  QTreeWidgetItem* it = selectedItem();
  if (!it) return;
  for (QWidget* w : std::initializer_list<QWidget*>{remove_, text_, field_, font_, align_,
                                                    vertical_, horizontal_}) {
    w->setEnabled(true);
  }
  setHighlight(it, true);
  // The fields show the entry without writing anything back into it.
  const QSignalBlocker b1(text_), b2(width_), b3(height_), b4(vertical_), b5(horizontal_),
      b6(align_), b7(field_);
  text_->setText(it->text(kText));
  const QString display = it->text(kDisplay);
  const bool picture = display.startsWith(QLatin1String("Bild"));
  fontShown_->setVisible(!picture);
  field_->setVisible(!picture);
  font_->setVisible(!picture);
  label1_->setVisible(true);
  label2_->setVisible(true);
  label4_->setVisible(picture);
  label5_->setVisible(picture);
  width_->setVisible(picture);
  height_->setVisible(picture);
  if (picture) {
    label0_->setText("Bild Datei");
    label1_->setText("max. Breite");
    label2_->setText("max. Höhe");
    label3_->setText("gemessen von oben zur Oberkante Bild");
    const auto [width, height] = ShownPictureSize(display);
    width_->setText(width);
    height_->setText(height);
  } else {
    fontShown_->setText(display);
    label0_->setText("Text");
    label1_->setText("Feld einfügen");
    label2_->setText("Schriftart");
    label3_->setText(kHintText);
  }
  vertical_->setText(it->text(kVert));
  horizontal_->setText(it->text(kHor));
  const QString a = it->text(kAlign);
  align_->setCurrentIndex(a == QLatin1String("links") ? 0 : a == QLatin1String("zentr.") ? 1 : 2);
}

void CertificateEditorPanel::emptyState(bool resetHint) {
  const QSignalBlocker b1(text_), b4(vertical_), b5(horizontal_), b6(align_), b7(field_);
  text_->clear();
  vertical_->clear();
  horizontal_->clear();
  fontShown_->clear();
  field_->setCurrentIndex(0);
  align_->setCurrentIndex(0);
  for (QWidget* w : std::initializer_list<QWidget*>{remove_, text_, field_, font_, align_,
                                                    vertical_, horizontal_}) {
    w->setEnabled(false);
  }
  label0_->setText("Text");
  if (resetHint) label3_->setText(kHintText);
  for (QWidget* w : std::initializer_list<QWidget*>{label1_, label2_, label4_, label5_, width_,
                                                    height_, field_, font_, fontShown_}) {
    w->setVisible(false);
  }
}

void CertificateEditorPanel::addNew(bool picture) {
  if (lastId_ >= 32767) {
    ui().message(QStringLiteral("Es können keine weiteren Einträge eingefügt werden"));
    return;
  }
  ++entryCount_;
  ++lastId_;
  addEntry({QString(), picture ? QStringLiteral("Bild 1x1") : QStringLiteral("Arial, 10"),
            QStringLiteral("links"), QStringLiteral("0"), QStringLiteral("0")},
           lastId_);
  pendingKey_ = QStringLiteral("T%1").arg(lastId_);
  selectEntry(nullptr);
}

void CertificateEditorPanel::removeSelected() {
  QTreeWidgetItem* it = selectedItem();
  if (!it) return;
  delete it;
  --entryCount_;
  selectedKey_.clear();
  emptyState(false);
}

void CertificateEditorPanel::chooseAlignment(int index) {
  QTreeWidgetItem* it = selectedItem();
  if (!it) return;
  if (index == 0) {
    it->setText(kAlign, "links");
    if (horizontal_->text() == QLatin1String("1050")) horizontal_->setText("0");
  } else if (index == 1) {
    it->setText(kAlign, "zentr.");
    if (horizontal_->text() == QLatin1String("0")) horizontal_->setText("1050");
  } else if (index == 2) {
    it->setText(kAlign, "rechts");
  }
}

void CertificateEditorPanel::insertPlaceholder(int index) {
  if (index < 0) return;
  text_->setText(text_->text() + field_->itemText(index));
  // Back to the blank item: a new choice, which appends one blank.
  field_->setCurrentIndex(0);
  text_->setFocus();
}

void CertificateEditorPanel::chooseFont() {
  FontChoice choice = lastFont_;
  QTreeWidgetItem* it = selectedItem();
  if (it) {
    if (const auto parsed = ParseFontText(it->text(kDisplay))) {
      choice = {parsed->family, parsed->bold, parsed->italic, parsed->size};
    }
  }
  ui().chooseFont(choice);  // a cancelled dialog leaves the preset
  lastFont_ = choice;
  const QString caption =
      FormatFontText({choice.family, choice.bold, choice.italic, choice.pointSize});
  fontShown_->setText(caption);
  if (it) it->setText(kDisplay, caption);
}

void CertificateEditorPanel::columnClicked(int column) {
  const int sortColumn = column == kVert ? kVertNum : column == kHor ? kHorNum : column;
  if (sortColumn == sortColumn_ && sortDirection_ == QLatin1String("A")) {
    sortDirection_ = "D";
    sortBy(sortColumn, Qt::DescendingOrder);
  } else {
    sortDirection_ = "A";
    sortBy(sortColumn, Qt::AscendingOrder);
  }
  sortColumn_ = sortColumn;
}

std::vector<CertificateEntry> CertificateEditorPanel::entries() const {
  std::vector<CertificateEntry> out;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* it = list_->topLevelItem(i);
    out.push_back(
        {it->text(kText), it->text(kDisplay), it->text(kAlign), it->text(kVert), it->text(kHor)});
  }
  return out;
}

bool CertificateEditorPanel::landscape() const {
  return landscape_->isChecked();
}

void CertificateEditorPanel::copyFromFile() {
  const QString path = ui().openFileName({QStringLiteral("Bewerbsdatei öffnen"), state().DataDir,
                                          QStringLiteral("Bewerbsdatei|*.mdb"), QString()});
  if (path.isEmpty()) return;
  std::unique_ptr<db::Connection> other;
  try {
    other = db::Connection::open(path);
    if (!other->hasTable(QStringLiteral("tblBewerb"))) other.reset();
  } catch (const db::Error& e) {
    if (e.locked()) {
      ui().message(FileInUseText(path), MsgIcon::Exclamation, QStringLiteral("Datei öffnen"));
      return;
    }
    other.reset();
  }
  if (!other) {
    ui().message(QStringLiteral("Die Datei '%1' ist keine Kandor-Bewerbsdatei").arg(path),
                 MsgIcon::Exclamation, QStringLiteral("Datei öffnen"));
    return;
  }
  if (!other->hasTable(kTemplateTable)) {
    ui().message(QStringLiteral("Bewerbsdatei enthält keine Urkunden"));
    return;
  }
  const db::Recordset keys =
      other->query(QStringLiteral("select distinct Disziplin from XtblUrkunde"));
  if (keys.empty()) {
    ui().message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation,
                 QStringLiteral("Achtung"));
    return;
  }
  static const QStringList words{"Abfahrts",    "Super-G",        "Riesenslalom", "Slalom",
                                 "K.O.-Slalom", "Parallelslalom", "Kombinations", "Mannschafts"};
  for (int r = 0; r < keys.count(); ++r) {
    const int key = keys.at(r, 0).toInt();
    const QString word = key >= 0 && key < words.size() ? words[key] : QString::number(key) + "-";
    if (ui().message(word + QStringLiteral("-Urkunde übernehmen?"), MsgIcon::Question,
                     QStringLiteral("Auswahl Disziplin"), MsgButtons::YesNo) != MsgAnswer::Yes) {
      continue;
    }
    // Only a chosen template replaces the list.
    loadTemplate(LoadTemplate(*other, key));
    return;
  }
}

void CertificateEditorPanel::preview() {
  PreviewCertificate(state(), entries(), landscape());
}

void CertificateEditorPanel::mainAction() {
  guarded([this] { save(); });
}

void CertificateEditorPanel::save() {
  const std::vector<CertificateEntry> list = entries();
  if (const auto refusal = CheckTemplateEntries(list, state().CompetitionDir, true)) {
    ui().message(*refusal);
    return;
  }
  // A database error is reported by the guard; the editor stays open with its entries.
  SaveTemplate(state().db(), templateKey(), landscape(), list);
  host().UpdateCertificateMenus();
  closeSelf();
}

void CertificateEditorPanel::closeAction() {
  // An Esc meant for a field (the editable alignment) must not throw a template away.
  const bool changed = entries() != loadedEntries_ || landscape() != loadedLandscape_;
  if (changed && ui().message(QStringLiteral("Änderungen verwerfen?"), MsgIcon::Question, QString(),
                              MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes) {
    return;
  }
  closeSelf();
}

void CertificateEditorPanel::afterClose() {
  g_openEditor.clear();
}

}  // namespace kx
