#include "app/panelregistry.h"

namespace kx {

const std::vector<PanelInfo>& PanelTable() {
  // Close order: imports, administration tools, devices, live timing, lists, officials,
  // results, certificates.
  static const std::vector<PanelInfo> table{
      {"ImportCSV", "Import Läufer aus EXCEL-(CSV)-Datei", {"ImportCSV"}},
      {"ImportKlassenCSV", "Import Klassen aus EXCEL-(CSV)-Datei", {"ImportKlassenCSV"}},
      {"Bewerbstyp", "Ändern Bewerbstyp", {"BearbeitenBewerbstyp"}},
      {"Teilnehmerloeschen", "Alle Teilnehmer aus dem Bewerb löschen", {"TeilnehmerLoeschen"}},
      {"Mannschaftenloeschen",
       "Alle Mannschaften aus dem Bewerb löschen",
       {"MannschaftenLoeschen"}},
      {"Finalteilnehmer", "Finalteilnehmer ermitteln und im Bewerb speichern", {"Finalteilnehmer"}},
      {"Startnrnueb", "Übernahme Startnummern von anderer Disziplin", {"StartnummernUebernahme"}},
      {"KSFIDPkteueb", "Übernahme KSF-Ids und aktuelle Punkte", {"KSFIdPunkte"}},
      {"BearbeitenRichtungsaenderungen",
       "Anzahl Richtungsänderungen gegen Höhendifferenz prüfen",
       {"BearbeitenRichtungsaenderungen"}},
      {"DIGISport", "Übernahme Zeiten von DIGI Sport", {"HandzeitLadenDIGISport"}},
      {"ALGETimy", "Übernahme Zeiten von ALGE Timy", {"HandzeitLadenALGETimy"}},
      {"TAGHeuer", "Übernahme Zeiten von TAG Heuer Pocket Pro", {"HandzeitLadenTAGHeuer"}},
      {"LadenDatei", "Laden Zeiten aus Datei", {"HandzeitLadenDatei"}, false},
      {"LiveTiming", "LiveTiming bei Startora", {"LiveTiming"}},
      {"Startliste", "Ausgabe Startliste", {"BearbeitenStartliste"}},
      {"StartListeDG2", "Ausgabe Startliste 2. Durchgang", {"BearbeitenStartlisteDG2"}},
      {"Namensliste", "Ausgabe Namensliste", {"BearbeitenNamensliste"}},
      {"Kautionsliste", "Ausgabe Kautionsliste", {"BearbeitenKautionsliste"}},
      {"Tafelliste", "Ausgabe Liste für Schreibtafel", {"BearbeitenTafelliste"}},
      {"TafellisteDG2",
       "Ausgabe Liste für Schreibtafel - 2. Durchgang",
       {"BearbeitenTafellisteDG2"}},
      {"Torrichterkarte", "Ausgabe Torrichterkarte", {"BearbeitenTorrichterkarte"}},
      {"Schiedsrichterprotokoll",
       "Ausgabe Schiedsrichterprotokoll",
       {"BearbeitenSchiedsrichterprotokoll"}},
      {"PenaltyProtokoll", "Ausgabe Penalty-Protokoll", {"BearbeitenPenaltyProtokoll"}},
      {"Aushangliste", "Ausgabe Aushangliste", {"BearbeitenAushangliste"}},
      {"Ergebnisliste", "Ausgabe Ergebnisliste", {"BearbeitenErgebnisliste"}},
      {"Teilnehmerdaten", "Ausgabe Teilnehmerdaten für Kombination", {"BearbeitenTeilnehmerdaten"}},
      {"Mannschaftsergebnisliste",
       "Ausgabe Ergebnisliste Mannschaftswertung",
       {"BearbeitenMannschaftsergebnisliste"}},
      {"ISFErgebnisliste",
       "Ausgabe Ergebnisliste ISF Mannschaftswertung",
       {"BearbeitenISFErgebnisliste"}},
      {"UrkundenBearbeiten",
       "Bearbeiten Urkunden",
       {"UrkundenBearbeiten", "UrkundenMannschaftBearbeiten"}},
      {"UrkundenDrucken",
       "Urkunden drucken",
       {"UrkundenDruck", "UrkundenMannschaftDruck", "UrkundenExport"}},
  };
  return table;
}

const PanelInfo* FindPanel(const QString& name) {
  for (const PanelInfo& info : PanelTable()) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

}  // namespace kx
