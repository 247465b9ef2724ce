#pragma once

// The wire format of the registration service: the request bodies of its two functions
// ("Login" and "SendFile"), the decoding of its replies, and the blocking POST through which
// every live-timing request goes.

#include <QByteArray>
#include <QString>

#include <memory>

class QNetworkAccessManager;

namespace kx {

class UserInterface;

// The failure reply of the service; the post returns it also after a failed connection.
inline const QString kLiveNok = QStringLiteral("nok");
inline const QString kLiveConnectionMessage =
    QStringLiteral("Fehler bei der Verbindung mit Startora");
// The path of the service endpoint on its host.
inline const QString kLiveEndpointPath = QStringLiteral("/cgi-bin/lt.cgi");
// A reply larger than this is refused like a broken connection.
inline constexpr qint64 kLiveMaxReplyBytes = 1024 * 1024;

// Request bodies. Values go in exactly as they are: nothing is escaped or encoded, so an
// "&" or "=" in a value stays as typed (the service reads the content as the last field).
QString LoginBody(const QString& bewerbsNr, const QString& passwort);
QString SendFileBody(const QString& token, int eventNo, const QString& datei,
                     const QString& inhalt);

// The reply decoding: "+" becomes a blank first, then "%" and the next two characters
// become one byte (the value of the hexadecimal digits read from the left as far as they
// go, 0 when none; both characters are consumed whatever they are); the bytes are UTF-8,
// invalid sequences become replacement characters.
QString UrlDecodeUtf8(const QByteArray& reply);

// The service endpoint from the settings value "host" or "host:port"; empty when the value
// names no host.
QString LiveEndpointUrl(const QString& server);

// What a message box shows of a reply: its first lines (a long answer is cut short); for an
// empty reply that the server answered without text.
QString ReplyForMessage(const QString& reply);

// One blocking POST at a time to the service endpoint.
class LiveTimingConnection {
 public:
  // `server` is the settings value "host[:port]".
  LiveTimingConnection(UserInterface& ui, const QString& server);
  ~LiveTimingConnection();

  // Whether the settings name a host at all.
  bool configured() const { return !url_.isEmpty(); }
  // A request that makes no progress for this long fails (30 s unless set).
  void setTransferTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
  // A request that has not finished this long after it was sent fails, however its
  // answer trickles in (30 s unless set).
  void setDeadline(int milliseconds) { deadlineMs_ = milliseconds; }
  // True while a request waits for its reply.
  bool busy() const { return busy_; }
  // Whether the last request failed as a connection or with an HTTP status not 2xx (not
  // answered "nok" by the service).
  bool lastFailed() const { return failed_; }
  // The message of the last failed request (the connection message, and why: an HTTP
  // status names its number).
  const QString& lastFailureText() const { return failureText_; }
  // The HTTP status of the last answer; 0 when there was none.
  int lastStatus() const { return status_; }

  // Sends the body as UTF-8 and returns the decoded reply body of a 2xx answer (with any
  // body, an empty one too). A refused, unreachable, broken, timed-out or overdue request, a
  // reply larger than kLiveMaxReplyBytes and an answer with any other status (a redirect,
  // which is never followed, 4xx, 5xx: nothing was delivered, whatever page came with it)
  // return "nok"; with `reportFailure` the connection message is shown first, for a status
  // with its number. While the request waits, user
  // input is held back and the wait cursor shows; a call made while another waits returns
  // "nok" at once and sends nothing.
  QString LiveTimingPost(const QString& body, bool reportFailure = true);

 private:
  UserInterface& ui_;
  QString url_;
  // Kept for the connection's life so that each request does not start the network anew;
  // it keeps no cookies (every request loads and saves none).
  std::unique_ptr<QNetworkAccessManager> manager_;
  int timeoutMs_ = 30000;
  int deadlineMs_ = 30000;
  bool busy_ = false;
  bool failed_ = false;
  QString failureText_;
  int status_ = 0;
};

}  // namespace kx
