#pragma once

// The lists of menu entries that the open, the close and the start-up switch together.

#include "workpanel/menuentries.h"

#include <QStringList>

namespace kx {

// The discipline entries of the menu by discipline type 0..5.
inline const QStringList kDisciplineEntries{menu::DisziplinDH,   menu::DisziplinSG,
                                            menu::DisziplinRS,   menu::DisziplinSL,
                                            menu::DisziplinKOSL, menu::DisziplinPSL};

// The entries that need an open competition file: disabled at start-up and by closing
// the file (which also disables its own entry menu::DateiSchliessen).
inline const QStringList kFileEntries{menu::ImportCSV,
                                      menu::ImportKlassenCSV,
                                      menu::BearbeitenBewerbstyp,
                                      menu::TeilnehmerLoeschen,
                                      menu::MannschaftenLoeschen,
                                      menu::Finalteilnehmer,
                                      menu::StartnummernUebernahme,
                                      menu::KSFIdPunkte,
                                      menu::LiveTiming,
                                      menu::BearbeitenStartliste,
                                      menu::BearbeitenStartlisteDG2,
                                      menu::BearbeitenNamensliste,
                                      menu::BearbeitenKautionsliste,
                                      menu::BearbeitenTafelliste,
                                      menu::BearbeitenTafellisteDG2,
                                      menu::BearbeitenTorrichterkarte,
                                      menu::BearbeitenPenaltyProtokoll,
                                      menu::BearbeitenAushangliste,
                                      menu::BearbeitenErgebnisliste,
                                      menu::BearbeitenSchiedsrichterprotokoll,
                                      menu::SR_Bericht_anzeigen,
                                      menu::BearbeitenTeilnehmerdaten,
                                      menu::BearbeitenMannschaftsergebnisliste,
                                      menu::BearbeitenISFErgebnisliste,
                                      menu::Zeituebernahme,
                                      menu::ZeituebernahmeH,
                                      menu::UrkundenBearbeiten,
                                      menu::UrkundenDruck,
                                      menu::UrkundenMannschaft,
                                      menu::UrkundenMannschaftBearbeiten,
                                      menu::UrkundenMannschaftDruck,
                                      menu::UrkundenExport};

}  // namespace kx
