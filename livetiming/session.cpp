#include "livetiming/session.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "livetiming/choices.h"
#include "livetiming/livefiles.h"
#include "livetiming/protocol.h"
#include "startorder/startorder.h"

#include <algorithm>

namespace kx {

LiveTimingSession::LiveTimingSession(AppState& state, LiveTimingConnection& connection)
    : state_(state), connection_(connection) {
  timer_.setInterval(1000);
  ConnectGuarded(*state_.Ui, &timer_, &QTimer::timeout, this, [this] { LiveTimerTick(); });
}

LiveTimingSession::~LiveTimingSession() = default;

int LiveTimingSession::servedRuns() const {
  return std::clamp(state_.RunCount, 0, kMaxRuns);
}

bool LiveTimingSession::SendFile(const QString& datei, const QString& content) {
  return connection_.LiveTimingPost(SendFileBody(LiveToken, LiveEventNo, datei, content)) !=
         kLiveNok;
}

bool LiveTimingSession::Run1Complete() {
  const QString sql = QStringLiteral("select count(*) as Anzahl from tblTeilnehmer where ") +
                      state_.CurrentDisciplineCode +
                      QStringLiteral(
                          "aktiv = true and id not in (select teilnehmer from tblZeit where "
                          "disziplin=") +
                      QString::number(state_.CurrentDisciplineType) +
                      QStringLiteral(" and durchgang=1)");
  return state_.db().scalar(sql).toLongLong() == 0;
}

LiveTimingSession::Sent LiveTimingSession::SendStartOrder(int run, const QString& rule) {
  const QString used = rule.isEmpty() ? kFallbackRule : rule;
  const int count = run == 1 ? BuildStartOrderRun1(state_, used, false, 15, QString(), false)
                             : BuildStartOrderRun2(state_, used, 0, false, 999, QString(), false);
  if (count <= 0) return Sent::Nothing;
  const QString content = StaliFileContent(run, state_.StartOrder);
  if (content.isEmpty()) return Sent::Nothing;
  return SendFile(QStringLiteral("Stali.txt"), content) ? Sent::Accepted : Sent::Refused;
}

LiveTimingSession::StartOutcome LiveTimingSession::Start(const LiveStartChoices& choices) {
  StopLiveTimer();
  // A replaced file is not uploaded from the stale copy (the ticks check it as well).
  state_.db().ensureInPlace();
  const int stops = stops_;
  // Each upload waits for its reply; the window may be closed meanwhile.
  auto send = [&](const QString& datei, const QString& content) {
    return SendFile(datei, content) && stops == stops_;
  };
  StartOutcome outcome;
  if (!send(QStringLiteral("Bewerb.txt"),
            BewerbFileContent(state_.RunCount, state_.Settings.typNumber(), choices.grouping,
                              choices.organizer, choices.webInfo)) ||
      !send(QStringLiteral("Info.txt"), choices.webInfo) ||
      !send(QStringLiteral("Klassen.txt"),
            KlassenFileContent(state_.db(), choices.groupingEntries)) ||
      !send(QStringLiteral("Teilnehmer.txt"),
            TeilnehmerFileContent(state_, GroupingUsesClasses(choices.groupingEntries)))) {
    return outcome;
  }
  timesSent_.fill(std::nullopt);
  tickFailureShown_ = false;
  readProblemShown_ = false;

  const int run = state_.RunCount > 1 && Run1Complete() ? 2 : 1;
  const Sent sent = SendStartOrder(run, run == 1 ? choices.rule1 : choices.rule2);
  if (sent == Sent::Refused || stops != stops_) return outcome;
  if (sent == Sent::Accepted) outcome.staliRun = run;
  timer_.start();
  outcome.started = true;
  return outcome;
}

void LiveTimingSession::StopLiveTimer() {
  timer_.stop();
  ++stops_;
}

void LiveTimingSession::LiveTimerTick() {
  if (ticking_ || connection_.busy() || !running() || !state_.fileOpen()) return;
  ticking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{ticking_};

  db::Connection& file = state_.db();
  if (file.hasMoved()) {
    StopLiveTimer();
    emit stoppedForMovedFile();
    state_.Ui->message(file.movedText() + QStringLiteral("\nLiveTiming wurde beendet."),
                       MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return;
  }
  const QTime now = state_.Ui->now().time();
  const int nowSeconds = now.hour() * 3600 + now.minute() * 60 + now.second();
  for (int run = 1; run <= servedRuns(); ++run) {
    QString content;
    try {
      content = TimesFileContent(file, state_.CurrentDisciplineType, run, nowSeconds);
    } catch (const db::Error& e) {
      // Skipped; the next tick reads again.
      if (!readProblemShown_) emit readProblem(DatabaseErrorText(e));
      readProblemShown_ = true;
      return;
    }
    if (readProblemShown_) emit readProblem(QString());
    readProblemShown_ = false;
    auto& sent = timesSent_[static_cast<size_t>(run)];
    if (sent && *sent == content) continue;
    const QString body =
        SendFileBody(LiveToken, LiveEventNo, QStringLiteral("ZeitDG%1.txt").arg(run), content);
    // The connection message of the timer is shown once until an upload gets through.
    const QString reply = connection_.LiveTimingPost(body, false);
    if (!running()) return;  // stopped while the request waited
    if (reply == kLiveNok) {
      if (connection_.lastFailed() && !tickFailureShown_) {
        tickFailureShown_ = true;
        state_.Ui->message(connection_.lastFailureText());
      }
      return;
    }
    tickFailureShown_ = false;
    sent = std::move(content);
  }
}

}  // namespace kx
