#pragma once

// A live-timing session with the registration service: the token and event of the login,
// the uploads of the start, the one-second timer and its tick, and the record of the times
// files the service accepted. The panel drives it; tests call its routines directly.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <optional>

namespace kx {

struct AppState;
class LiveTimingConnection;

// What the start uploads take from the panel.
struct LiveStartChoices {
  QStringList groupingEntries;  // every entry of the grouping list
  QString grouping;             // the selected entry
  QString rule1, rule2;         // the selected start-order rules; empty when none
  QString webInfo;
  QString organizer;  // OrganizerText
};

class LiveTimingSession : public QObject {
  Q_OBJECT
 public:
  // The highest run that live timing serves.
  static constexpr int kMaxRuns = 3;

  LiveTimingSession(AppState& state, LiveTimingConnection& connection);
  ~LiveTimingSession() override;

  // Set by the login (token) and the start (event position, from 1).
  QString LiveToken;
  int LiveEventNo = 0;

  // Whether the timer runs (its id is not 0).
  bool running() const { return timer_.isActive(); }
  void setTickInterval(int milliseconds) { timer_.setInterval(milliseconds); }

  // The uploads of a start, in order: "Bewerb.txt", "Info.txt", "Klassen.txt",
  // "Teilnehmer.txt", then the record of sent times files is reset and "Stali.txt" of run 1
  // (run 2 once every entered participant has a run-1 row); then the timer starts. Any
  // "nok" ends the start with nothing running; a competition file that was replaced throws
  // db::Error before anything is sent.
  struct StartOutcome {
    bool started = false;
    int staliRun = 0;  // the run whose start order was accepted, 0 when none was sent
  };
  StartOutcome Start(const LiveStartChoices& choices);
  // Kills the timer; harmless when none runs.
  void StopLiveTimer();
  // One tick: for each run served, the times file is built and uploaded when it differs
  // from the one last accepted. A "nok" ends the tick. A tick that finds another tick or a
  // request running returns at once. A tick that cannot read the competition file (another
  // program holds it) is skipped and says so once through readProblem; the next tick reads
  // again. When the file has been replaced or deleted, live timing stops with a message
  // (the times of the file now there are not sent unseen).
  void LiveTimerTick();

  // Builds the start order of `run` under `rule` (the fallback rule when empty) and sends
  // it as "Stali.txt". Nothing is sent when the order has no entries.
  enum class Sent { Accepted, Refused, Nothing };
  Sent SendStartOrder(int run, const QString& rule);
  // Uploads one file; true unless the reply is "nok".
  bool SendFile(const QString& datei, const QString& content);
  // Whether every participant entered in the current discipline has a run-1 row.
  bool Run1Complete();

  // The number of runs served: RunCount, at most three.
  int servedRuns() const;

 signals:
  // The ticks could not read the file: what went wrong; an empty text once they read again.
  void readProblem(const QString& text);
  // Live timing stopped by itself because the competition file was replaced.
  void stoppedForMovedFile();

 private:
  AppState& state_;
  LiveTimingConnection& connection_;
  QTimer timer_;
  // Per run (1..3) the content of the times file last accepted; nothing after each start.
  std::array<std::optional<QString>, kMaxRuns + 1> timesSent_;
  int stops_ = 0;  // stops so far: a start that sees one while it uploads gives up
  bool ticking_ = false;
  bool tickFailureShown_ = false;
  bool readProblemShown_ = false;
};

}  // namespace kx
