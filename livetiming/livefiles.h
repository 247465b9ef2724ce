#pragma once

// The contents of the files that live timing uploads: the five files of the start
// ("Bewerb.txt", "Info.txt", "Klassen.txt", "Teilnehmer.txt", "Stali.txt") and the times
// file of one run ("ZeitDG<r>.txt"). "|" separates the fields of a record, "°" ends it.

#include <QString>
#include <QStringList>

namespace kx {

struct AppState;
class StartOrderTable;
namespace db {
class Connection;
}

// "Bewerb.txt": runs | "best" or "add" | grouping | organiser | web information.
QString BewerbFileContent(int runCount, int typ, const QString& grouping, const QString& organizer,
                          const QString& webInfo);

// "Klassen.txt": for each grouping entry in turn ("Klasse", "Gruppe", "Kategorie") the
// rows of its table as "<entry>|key|name|sortpos°"; other entries add nothing.
QString KlassenFileContent(db::Connection& connection, const QStringList& groupingEntries);

// Whether the participant file joins the classes: the grouping list has "Klasse" or "Gruppe".
bool GroupingUsesClasses(const QStringList& groupingEntries);

// "Teilnehmer.txt": one record of eleven fields per participant entered in the current
// discipline (with classes: only those whose class exists).
QString TeilnehmerFileContent(const AppState& state, bool withClasses);

// "Stali.txt": "<run>!" and the participant ids of the start order, each followed by "°".
QString StaliFileContent(int run, const StartOrderTable& table);

// The time field of a valid run: hours, minutes and seconds with two decimals after a comma
// ("000102,34"), from the run time as a fraction of a day rounded once to hundredths.
QString LiveRunTime(double netto);

// "ZeitDG<run>.txt": one line per tblZeit row of the discipline and run, by participant id.
// `nowSeconds` is the time of day in whole seconds: a racer without finish (code 2) who started
// less than 120 seconds before is on the course (code 9). Rows without a result code, and valid
// rows without a run time, are left out.
QString TimesFileContent(db::Connection& connection, int disziplin, int run, int nowSeconds);

}  // namespace kx
