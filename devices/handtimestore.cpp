#include "devices/handtimestore.h"

#include "common/safefile.h"
#include "common/userinterface.h"
#include "devices/handtimetext.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace kx {

namespace {

// A line of a hand-time file as the save writes it: "hh:mm:ss,hh" or with a point, blanks
// around it allowed. The reading by position would take a short field's neighbours into it
// ("12:34:56,7" as 12:34:05,67), so a file edited by hand must keep this shape exactly.
// Its fields are those of a time of day, hours to 23, minutes and seconds to 59, or else
// a field would be carried silently into the next ("12:34:75,00" as 12:35:15,00). Files
// saved before the save carried on hold a field of 60, or an hour of 24, followed only by
// zeros ("12:60:00,00"): such a line still reads as the time it stands for.
bool IsHandTimeFileLine(QStringView line) {
  line = line.trimmed();
  if (line.size() != 11) return false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    const bool ok = i == 2 || i == 5 ? c == u':'
                    : i == 8         ? c == u',' || c == u'.'
                                     : c >= u'0' && c <= u'9';
    if (!ok) return false;
  }
  const int hours = line.mid(0, 2).toInt();
  const int minutes = line.mid(3, 2).toInt();
  const int seconds = line.mid(6, 2).toInt();
  const int hundredths = line.mid(9, 2).toInt();
  if (hours == 24) return minutes == 0 && seconds == 0 && hundredths == 0;
  if (minutes == 60) return seconds == 0 && hundredths == 0;
  if (seconds == 60) return hundredths == 0;
  return hours < 24 && minutes < 60 && seconds < 60;
}

}  // namespace

std::vector<HandTime>& HandTimeStore(AppState& state, const QString& receiveMode) {
  return receiveMode == QLatin1String("S") ? state.HzStart : state.HzZiel;
}

bool AppendHandTime(std::vector<HandTime>& store, const HandTime& entry) {
  if (store.size() >= static_cast<size_t>(kHandTimeCapacity)) return false;
  store.push_back(entry);
  return true;
}

void ReplaceHandTimes(std::vector<HandTime>& store, const std::vector<double>& times) {
  const size_t kept = std::min(store.size(), times.size());
  store.resize(times.size());
  for (size_t i = 0; i < times.size(); ++i) {
    if (i < kept) {
      store[i].dayTime = times[i];
    } else {
      store[i] = HandTime{times[i]};
    }
  }
}

QString HandTimeCountText(const std::vector<HandTime>& store) {
  return QString::number(store.size()) + QStringLiteral(" Zeiten im Speicher");
}

QByteArray HandTimeFileBytes(const std::vector<HandTime>& store) {
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(store.size()) * 13);
  for (const HandTime& entry : store) {
    bytes += FormatHandTime(entry.dayTime, QStringLiteral("rnd")).toLatin1();
    bytes += "\r\n";
  }
  return bytes;
}

HandTimeFileContent ParseHandTimeFile(const QByteArray& bytes) {
  HandTimeFileContent content;
  QStringDecoder decode("windows-1252");
  const QString text = decode.isValid() ? decode.decode(bytes) : QString::fromLatin1(bytes);
  // A line ends at CR LF, CR or LF.
  qsizetype start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    qsizetype end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    const QString line = text.mid(start, end - start);
    ++lineNumber;
    start = end;
    if (start < text.size() && text[start] == u'\r') ++start;
    if (start < text.size() && text[start] == u'\n') ++start;

    if (line.trimmed().isEmpty()) continue;
    const std::optional<double> t =
        IsHandTimeFileLine(line) ? ParseHandTime(line.trimmed()) : std::nullopt;
    if (!t) {
      content.times.clear();
      content.error = QStringLiteral(
                          "Die Zeile %1 der Datei ist keine Handzeit (hh:mm:ss,hh): "
                          "\"%2\".\nEs wurden keine Zeiten geladen.")
                          .arg(lineNumber)
                          .arg(line.left(40));
      return content;
    }
    if (content.times.size() >= static_cast<size_t>(kHandTimeCapacity)) {
      content.times.clear();
      content.error = QStringLiteral(
                          "Die Datei enthält mehr als %1 Zeiten.\n"
                          "Es wurden keine Zeiten geladen.")
                          .arg(kHandTimeCapacity);
      return content;
    }
    content.times.push_back(*t);
  }
  return content;
}

HandTimeFileContent ReadHandTimeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    HandTimeFileContent content;
    content.error = QStringLiteral("Die Datei %1 kann nicht gelesen werden:\n%2")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
    return content;
  }
  return ParseHandTimeFile(file.readAll());
}

QString WriteHandTimeFile(const QString& path, const std::vector<HandTime>& store) {
  return WriteWholeFile(path, HandTimeFileBytes(store));
}

QString ProposedHandTimeFileName(const AppState& state, bool start) {
  const QString tail =
      start ? QStringLiteral("Handzeit-Start.txt") : QStringLiteral("Handzeit-Ziel.txt");
  if (!state.fileOpen() || !state.validType()) return tail;
  return state.CompetitionFileName + QLatin1Char('-') + state.currentListTitle() +
         QLatin1Char('-') + tail;
}

std::optional<QString> LoadHandTimesFromFile(AppState& state, UserInterface& ui,
                                             int handzeitIndex) {
  const QString path = ui.openFileName(
      {QString(), state.DataDir, QStringLiteral("txt-Dateien(*.txt)|*.txt"), QString()});
  if (path.isEmpty()) return std::nullopt;
  const HandTimeFileContent content = ReadHandTimeFile(path);
  if (!content.error.isEmpty()) {
    ui.message(content.error, MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return std::nullopt;
  }
  const bool start = handzeitIndex == kHandzeitStart;
  ReplaceHandTimes(start ? state.HzStart : state.HzZiel, content.times);
  return QString::number(content.times.size()) +
         (start ? QStringLiteral(" Start-Zeiten geladen") : QStringLiteral(" Ziel-Zeiten geladen"));
}

void SaveHandTimesToFile(const AppState& state, UserInterface& ui, int handzeitIndex) {
  if (handzeitIndex != kHandzeitStart && handzeitIndex != kHandzeitZiel) {
    ui.message(QStringLiteral("Bitte zuerst wählen ob Start- oder Ziel-Handzeit"));
    return;
  }
  const bool start = handzeitIndex == kHandzeitStart;
  const std::vector<HandTime>& store = start ? state.HzStart : state.HzZiel;
  if (store.empty()) {
    ui.message(start ? QStringLiteral("Keine Start-Handzeiten geladen!")
                     : QStringLiteral("Keine Ziel-Handzeiten geladen!"));
    return;
  }
  const QString proposed = ProposedHandTimeFileName(state, start);
  const QString path = ui.saveFileName({QStringLiteral("Datei auswählen"), state.CompetitionDir,
                                        QStringLiteral("txt-Dateien|*.txt"), proposed});
  if (path.isEmpty() || path == proposed) return;
  const QString error = WriteHandTimeFile(path, store);
  if (!error.isEmpty()) {
    ui.message(error, MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return;
  }
  ui.message(QStringLiteral("Zeiten in ") + path + QStringLiteral(" gespeichert"));
}

}  // namespace kx
