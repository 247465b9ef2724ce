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
  // True while a request waits for its reply.
  bool busy() const { return busy_; }
  // Whether the last request failed as a connection (not answered "nok" by the service).
  bool lastFailed() const { return failed_; }

  // Sends the body as UTF-8 and returns the decoded reply body, whatever the HTTP status.
  // A refused, unreachable, broken or timed-out request returns "nok"; with
  // `reportFailure` the connection message is shown first. While the request waits, user
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
  bool busy_ = false;
  bool failed_ = false;
};

}  // namespace kx
