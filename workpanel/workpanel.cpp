#include "workpanel/workpanel.h"

#include "common/guarded.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <stdexcept>

namespace kx {

namespace {

// Twips of the original forms: 15 to a pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;

QFont MakeFont(const PanelFont& f) {
  QFont font(f.family);
  font.setPointSize(f.size);
  font.setBold(f.bold);
  font.setUnderline(f.underline);
  return font;
}

}  // namespace

QRect TwipsToPixels(const Twips& t) {
  return QRect(t.left / kTwipsPerPixel, t.top / kTwipsPerPixel, t.width / kTwipsPerPixel,
               t.height / kTwipsPerPixel);
}

WorkPanel::WorkPanel(PanelHost& host, const PanelInfo& row)
    : QWidget(host.panelArea()), host_(host), name_(row.name), title_(row.title) {
  setObjectName(name_ + QStringLiteral("Panel"));
}

namespace {

const PanelInfo& RowOf(const QString& name) {
  const PanelInfo* row = FindPanel(name);
  if (!row) throw std::logic_error("WorkPanel: no panel named '" + name.toStdString() + "'");
  return *row;
}

}  // namespace

WorkPanel::WorkPanel(PanelHost& host, const QString& name) : WorkPanel(host, RowOf(name)) {}

WorkPanel::~WorkPanel() = default;

AppState& WorkPanel::state() const {
  return host_.state();
}
UserInterface& WorkPanel::ui() const {
  return host_.ui();
}

void WorkPanel::closeSelf() {
  host_.closePanel(name_);
}

void WorkPanel::guarded(const std::function<void()>& action) {
  RunGuarded(ui(), action);
}

QLabel* WorkPanel::addLabel(const QString& name, const QString& caption, const PanelFont& font,
                            const Twips& pos) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(name);
  label->setFont(MakeFont(font));
  label->setGeometry(TwipsToPixels(pos));
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->show();
  return label;
}

QLineEdit* WorkPanel::addTextBox(const QString& name, const QString& text, const PanelFont& font,
                                 const Twips& pos) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(name);
  edit->setFont(MakeFont(font));
  edit->setGeometry(TwipsToPixels(pos));
  edit->show();
  return edit;
}

QComboBox* WorkPanel::addComboBox(const QString& name, const PanelFont& font, int left, int top,
                                  int width, bool editable) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(name);
  combo->setFont(MakeFont(font));
  combo->setEditable(editable);
  if (editable) combo->setInsertPolicy(QComboBox::NoInsert);
  const QRect r = TwipsToPixels({left, top, width, 0});
  combo->move(r.topLeft());
  combo->resize(r.width(), combo->sizeHint().height());
  combo->show();
  return combo;
}

QCheckBox* WorkPanel::addCheckBox(const QString& name, const QString& caption, bool checked,
                                  const PanelFont& font, const Twips& pos) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(name);
  box->setFont(MakeFont(font));
  box->setChecked(checked);
  box->setGeometry(TwipsToPixels(pos));
  box->show();
  return box;
}

QPushButton* WorkPanel::addButton(const QString& name, const QString& caption,
                                  const PanelFont& font, const Twips& pos,
                                  std::function<void()> onClick) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setFont(MakeFont(font));
  button->setGeometry(TwipsToPixels(pos));
  button->setAutoDefault(false);
  connectGuarded(button, &QPushButton::clicked, std::move(onClick));
  button->show();
  return button;
}

WorkPanel::EventLabels WorkPanel::addEventHeader(const QString& nameLabel, const QString& dateLabel,
                                                 int dateLeft, const PanelFont& headingFont) {
  addLabel(QStringLiteral("Label01"), QStringLiteral("Bewerbsbezeichnung"), headingFont,
           {600, 980, 2535, 255});
  addLabel(QStringLiteral("Label02"), QStringLiteral("Veranstaltungsdatum"), headingFont,
           {dateLeft, 980, 2535, 255});
  return {addLabel(nameLabel, QStringLiteral(" "), Arial(10), {600, 1340, 3375, 860}),
          addLabel(dateLabel, QStringLiteral(" "), Arial(10), {dateLeft, 1340, 3375, 615})};
}

void SetComboItem(QComboBox& combo, int position, const QString& text) {
  if (position < combo.count()) {
    combo.setItemText(position, text);
  } else {
    combo.addItem(text);
  }
}

}  // namespace kx
