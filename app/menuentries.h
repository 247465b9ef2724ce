#pragma once

#include <QStringList>

namespace kx {

// The discipline entries of the menu by discipline type 0..5.
inline const QStringList kDisciplineEntries{"DisziplinDH", "DisziplinSG",   "DisziplinRS",
                                            "DisziplinSL", "DisziplinKOSL", "DisziplinPSL"};

// The entries that need an open competition file: disabled at start-up and by closing
// the file (which also disables its own entry "DateiSchliessen").
inline const QStringList kFileEntries{"ImportCSV",
                                      "ImportKlassenCSV",
                                      "BearbeitenBewerbstyp",
                                      "TeilnehmerLoeschen",
                                      "MannschaftenLoeschen",
                                      "Finalteilnehmer",
                                      "StartnummernUebernahme",
                                      "KSFIdPunkte",
                                      "LiveTiming",
                                      "BearbeitenStartliste",
                                      "BearbeitenStartlisteDG2",
                                      "BearbeitenNamensliste",
                                      "BearbeitenKautionsliste",
                                      "BearbeitenTafelliste",
                                      "BearbeitenTafellisteDG2",
                                      "BearbeitenTorrichterkarte",
                                      "BearbeitenPenaltyProtokoll",
                                      "BearbeitenAushangliste",
                                      "BearbeitenErgebnisliste",
                                      "BearbeitenSchiedsrichterprotokoll",
                                      "SR_Bericht_anzeigen",
                                      "BearbeitenTeilnehmerdaten",
                                      "BearbeitenMannschaftsergebnisliste",
                                      "BearbeitenISFErgebnisliste",
                                      "Zeituebernahme",
                                      "ZeituebernahmeH",
                                      "UrkundenBearbeiten",
                                      "UrkundenDruck",
                                      "UrkundenMannschaft",
                                      "UrkundenMannschaftBearbeiten",
                                      "UrkundenMannschaftDruck",
                                      "UrkundenExport"};

}  // namespace kx
