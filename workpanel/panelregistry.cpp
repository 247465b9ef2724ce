#include "workpanel/panelregistry.h"

#include "workpanel/menuentries.h"

#include <algorithm>
#include <stdexcept>

namespace kx {

const std::vector<PanelInfo>& PanelTable() {
  // Close order: imports, administration tools, devices, live timing, lists, officials,
  // results, certificates.
  static const std::vector<PanelInfo> table{
      {"ImportCSV", "Import Läufer aus EXCEL-(CSV)-Datei", {menu::ImportCSV}},
      {"ImportKlassenCSV", "Import Klassen aus EXCEL-(CSV)-Datei", {menu::ImportKlassenCSV}},
      {"Bewerbstyp", "Ändern Bewerbstyp", {menu::BearbeitenBewerbstyp}},
      {"Teilnehmerloeschen", "Alle Teilnehmer aus dem Bewerb löschen", {menu::TeilnehmerLoeschen}},
      {"Mannschaftenloeschen",
       "Alle Mannschaften aus dem Bewerb löschen",
       {menu::MannschaftenLoeschen}},
      {"Finalteilnehmer",
       "Finalteilnehmer ermitteln und im Bewerb speichern",
       {menu::Finalteilnehmer}},
      {"Startnrnueb",
       "Übernahme Startnummern von anderer Disziplin",
       {menu::StartnummernUebernahme}},
      {"KSFIDPkteueb", "Übernahme KSF-Ids und aktuelle Punkte", {menu::KSFIdPunkte}},
      {"BearbeitenRichtungsaenderungen",
       "Anzahl Richtungsänderungen gegen Höhendifferenz prüfen",
       {menu::BearbeitenRichtungsaenderungen}},
      {"DIGISport", "Übernahme Zeiten von DIGI Sport", {menu::HandzeitLadenDIGISport}},
      {"ALGETimy", "Übernahme Zeiten von ALGE Timy", {menu::HandzeitLadenALGETimy}},
      {"TAGHeuer", "Übernahme Zeiten von TAG Heuer Pocket Pro", {menu::HandzeitLadenTAGHeuer}},
      {"LadenDatei", "Laden Zeiten aus Datei", {menu::HandzeitLadenDatei}, false},
      {"LiveTiming", "LiveTiming bei Startora", {menu::LiveTiming}},
      {"Startliste", "Ausgabe Startliste", {menu::BearbeitenStartliste}},
      {"StartListeDG2", "Ausgabe Startliste 2. Durchgang", {menu::BearbeitenStartlisteDG2}},
      {"Namensliste", "Ausgabe Namensliste", {menu::BearbeitenNamensliste}},
      {"Kautionsliste", "Ausgabe Kautionsliste", {menu::BearbeitenKautionsliste}},
      {"Tafelliste", "Ausgabe Liste für Schreibtafel", {menu::BearbeitenTafelliste}},
      {"TafellisteDG2",
       "Ausgabe Liste für Schreibtafel - 2. Durchgang",
       {menu::BearbeitenTafellisteDG2}},
      {"Torrichterkarte", "Ausgabe Torrichterkarte", {menu::BearbeitenTorrichterkarte}},
      {"Schiedsrichterprotokoll",
       "Ausgabe Schiedsrichterprotokoll",
       {menu::BearbeitenSchiedsrichterprotokoll}},
      {"PenaltyProtokoll", "Ausgabe Penalty-Protokoll", {menu::BearbeitenPenaltyProtokoll}},
      {"Aushangliste", "Ausgabe Aushangliste", {menu::BearbeitenAushangliste}},
      {"Ergebnisliste", "Ausgabe Ergebnisliste", {menu::BearbeitenErgebnisliste}},
      {"Teilnehmerdaten",
       "Ausgabe Teilnehmerdaten für Kombination",
       {menu::BearbeitenTeilnehmerdaten}},
      {"Mannschaftsergebnisliste",
       "Ausgabe Ergebnisliste Mannschaftswertung",
       {menu::BearbeitenMannschaftsergebnisliste}},
      {"ISFErgebnisliste",
       "Ausgabe Ergebnisliste ISF Mannschaftswertung",
       {menu::BearbeitenISFErgebnisliste}},
      {"UrkundenBearbeiten",
       "Bearbeiten Urkunden",
       {menu::UrkundenBearbeiten, menu::UrkundenMannschaftBearbeiten}},
      {"UrkundenDrucken",
       "Urkunden drucken",
       {menu::UrkundenDruck, menu::UrkundenMannschaftDruck, menu::UrkundenExport}},
  };
  return table;
}

const PanelInfo* FindPanel(const QString& name) {
  for (const PanelInfo& info : PanelTable()) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

PanelRegistry::PanelRegistry() : rows_(PanelTable()) {}

const PanelInfo* PanelRegistry::find(const QString& name) const {
  for (const PanelInfo& info : rows_) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

void PanelRegistry::bindPanel(const QString& name, PanelFactory factory) {
  auto row = std::find_if(rows_.begin(), rows_.end(),
                          [&](const PanelInfo& info) { return info.name == name; });
  if (row == rows_.end()) {
    throw std::logic_error("PanelRegistry: no panel named '" + name.toStdString() + "'");
  }
  if (row->factory) {
    throw std::logic_error("PanelRegistry: panel '" + name.toStdString() + "' bound twice");
  }
  row->factory = std::move(factory);
}

void PanelRegistry::bindMenuEntry(const QString& entry, MenuHandler handler) {
  if (!menu::All().contains(entry)) {
    throw std::logic_error("PanelRegistry: no menu entry named '" + entry.toStdString() + "'");
  }
  for (const BoundEntry& bound : handlers_) {
    if (bound.entry == entry) {
      throw std::logic_error("PanelRegistry: menu entry '" + entry.toStdString() + "' bound twice");
    }
  }
  handlers_.push_back({entry, std::move(handler)});
}

void PanelRegistry::onStartUp(std::function<void(PanelHost&)> step) {
  startUp_.push_back(std::move(step));
}

}  // namespace kx
