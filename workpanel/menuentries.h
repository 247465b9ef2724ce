#pragma once

// The names of the main window's menu entries (each entry's objectName), one constant per
// entry, menus and submenus included. Code names an entry only through these constants:
// a misspelt name then fails to compile, and binding or enabling a name the menu does not
// have fails at start-up (PanelRegistry, MainWindow::enable).

#include <QString>
#include <QStringList>

namespace kx::menu {

inline const QString Datei = QStringLiteral("Datei");
inline const QString DateiOeffnen = QStringLiteral("DateiOeffnen");
inline const QString DateiImport = QStringLiteral("DateiImport");
inline const QString ImportCSV = QStringLiteral("ImportCSV");
inline const QString ImportKlassenCSV = QStringLiteral("ImportKlassenCSV");
inline const QString DateiSchliessen = QStringLiteral("DateiSchliessen");
inline const QString DateiBeenden = QStringLiteral("DateiBeenden");
inline const QString Bearbeiten = QStringLiteral("Bearbeiten");
inline const QString BearbeitenBewerbstyp = QStringLiteral("BearbeitenBewerbstyp");
inline const QString BearbeitenDisziplin = QStringLiteral("BearbeitenDisziplin");
inline const QString DisziplinDH = QStringLiteral("DisziplinDH");
inline const QString DisziplinSG = QStringLiteral("DisziplinSG");
inline const QString DisziplinRS = QStringLiteral("DisziplinRS");
inline const QString DisziplinSL = QStringLiteral("DisziplinSL");
inline const QString DisziplinKOSL = QStringLiteral("DisziplinKOSL");
inline const QString DisziplinPSL = QStringLiteral("DisziplinPSL");
inline const QString Strich = QStringLiteral("Strich");
inline const QString DisziplinKombination = QStringLiteral("DisziplinKombination");
inline const QString Teilnehmer = QStringLiteral("Teilnehmer");
inline const QString TeilnehmerLoeschen = QStringLiteral("TeilnehmerLoeschen");
inline const QString MannschaftenLoeschen = QStringLiteral("MannschaftenLoeschen");
inline const QString Finalteilnehmer = QStringLiteral("Finalteilnehmer");
inline const QString KSFIdPunkte = QStringLiteral("KSFIdPunkte");
inline const QString BearbeitenStartnummern = QStringLiteral("BearbeitenStartnummern");
inline const QString StartnummernUebernahme = QStringLiteral("StartnummernUebernahme");
inline const QString BearbeitenRichtungsaenderungen =
    QStringLiteral("BearbeitenRichtungsaenderungen");
inline const QString Zeiten = QStringLiteral("Zeiten");
inline const QString HandzeitLaden = QStringLiteral("HandzeitLaden");
inline const QString HandzeitLadenALGETimy = QStringLiteral("HandzeitLadenALGETimy");
inline const QString HandzeitLadenDIGISport = QStringLiteral("HandzeitLadenDIGISport");
inline const QString HandzeitLadenTAGHeuer = QStringLiteral("HandzeitLadenTAGHeuer");
inline const QString HandzeitLadenDatei = QStringLiteral("HandzeitLadenDatei");
inline const QString Zeituebernahme = QStringLiteral("Zeituebernahme");
inline const QString ZeituebernahmeH = QStringLiteral("ZeituebernahmeH");
inline const QString LiveTiming = QStringLiteral("LiveTiming");
inline const QString Ausgabe = QStringLiteral("Ausgabe");
inline const QString BearbeitenStartliste = QStringLiteral("BearbeitenStartliste");
inline const QString BearbeitenStartlisteDG2 = QStringLiteral("BearbeitenStartlisteDG2");
inline const QString BearbeitenNamensliste = QStringLiteral("BearbeitenNamensliste");
inline const QString BearbeitenKautionsliste = QStringLiteral("BearbeitenKautionsliste");
inline const QString BearbeitenTafelliste = QStringLiteral("BearbeitenTafelliste");
inline const QString BearbeitenTafellisteDG2 = QStringLiteral("BearbeitenTafellisteDG2");
inline const QString BearbeitenTorrichterkarte = QStringLiteral("BearbeitenTorrichterkarte");
inline const QString BearbeitenPenaltyProtokoll = QStringLiteral("BearbeitenPenaltyProtokoll");
inline const QString BearbeitenAushangliste = QStringLiteral("BearbeitenAushangliste");
inline const QString BearbeitenErgebnisliste = QStringLiteral("BearbeitenErgebnisliste");
inline const QString BearbeitenSchiedsrichterprotokoll =
    QStringLiteral("BearbeitenSchiedsrichterprotokoll");
inline const QString SR_Bericht_anzeigen = QStringLiteral("SR_Bericht_anzeigen");
inline const QString BearbeitenTeilnehmerdaten = QStringLiteral("BearbeitenTeilnehmerdaten");
inline const QString BearbeitenMannschaftsergebnisliste =
    QStringLiteral("BearbeitenMannschaftsergebnisliste");
inline const QString BearbeitenISFErgebnisliste = QStringLiteral("BearbeitenISFErgebnisliste");
inline const QString Urkunden = QStringLiteral("Urkunden");
inline const QString UrkundenBearbeiten = QStringLiteral("UrkundenBearbeiten");
inline const QString UrkundenDruck = QStringLiteral("UrkundenDruck");
inline const QString UrkundenExport = QStringLiteral("UrkundenExport");
inline const QString UrkundenMannschaft = QStringLiteral("UrkundenMannschaft");
inline const QString UrkundenMannschaftBearbeiten = QStringLiteral("UrkundenMannschaftBearbeiten");
inline const QString UrkundenMannschaftDruck = QStringLiteral("UrkundenMannschaftDruck");
inline const QString Hilfe = QStringLiteral("Hilfe");
inline const QString Info = QStringLiteral("Info");

// Every name above, in the order of the menu.
inline const QStringList& All() {
  static const QStringList all{Datei,
                               DateiOeffnen,
                               DateiImport,
                               ImportCSV,
                               ImportKlassenCSV,
                               DateiSchliessen,
                               DateiBeenden,
                               Bearbeiten,
                               BearbeitenBewerbstyp,
                               BearbeitenDisziplin,
                               DisziplinDH,
                               DisziplinSG,
                               DisziplinRS,
                               DisziplinSL,
                               DisziplinKOSL,
                               DisziplinPSL,
                               Strich,
                               DisziplinKombination,
                               Teilnehmer,
                               TeilnehmerLoeschen,
                               MannschaftenLoeschen,
                               Finalteilnehmer,
                               KSFIdPunkte,
                               BearbeitenStartnummern,
                               StartnummernUebernahme,
                               BearbeitenRichtungsaenderungen,
                               Zeiten,
                               HandzeitLaden,
                               HandzeitLadenALGETimy,
                               HandzeitLadenDIGISport,
                               HandzeitLadenTAGHeuer,
                               HandzeitLadenDatei,
                               Zeituebernahme,
                               ZeituebernahmeH,
                               LiveTiming,
                               Ausgabe,
                               BearbeitenStartliste,
                               BearbeitenStartlisteDG2,
                               BearbeitenNamensliste,
                               BearbeitenKautionsliste,
                               BearbeitenTafelliste,
                               BearbeitenTafellisteDG2,
                               BearbeitenTorrichterkarte,
                               BearbeitenPenaltyProtokoll,
                               BearbeitenAushangliste,
                               BearbeitenErgebnisliste,
                               BearbeitenSchiedsrichterprotokoll,
                               SR_Bericht_anzeigen,
                               BearbeitenTeilnehmerdaten,
                               BearbeitenMannschaftsergebnisliste,
                               BearbeitenISFErgebnisliste,
                               Urkunden,
                               UrkundenBearbeiten,
                               UrkundenDruck,
                               UrkundenExport,
                               UrkundenMannschaft,
                               UrkundenMannschaftBearbeiten,
                               UrkundenMannschaftDruck,
                               Hilfe,
                               Info};
  return all;
}

}  // namespace kx::menu
