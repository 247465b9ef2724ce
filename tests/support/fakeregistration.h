#pragma once

// A stand-in for the registration service inside a test: an HTTP server on 127.0.0.1 (port
// chosen by the system) that speaks the live-timing wire format. It records every request
// body as raw bytes with its arrival time, counts the connections open at once, answers the
// login with a percent-encoded reply and can be scripted per file name. A redirect answer
// names a page of its own (`redirectTo`) that it serves to any GET with 200.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <deque>

class QTcpServer;
class QTcpSocket;

namespace kx::test {

class FakeRegistrationService : public QObject {
 public:
  // How a request is answered.
  enum class Answer {
    Ok,           // 200 with "ok"
    Nok,          // 200 with "nok"
    Empty,        // 200 with an empty body
    ServerError,  // 500 with an HTML page
    BadRequest,   // 400 with an HTML page
    Moved,        // 301 to `redirectTo`
    Found,        // 302 to `redirectTo`
    NotFound,     // 404 with an empty body
    Silent,       // no answer at all (the client times out)
    Trickle,      // 200 announcing 100 bytes, sent a blank every 50 ms
    Chunked,      // 200 with the reply of an accepted upload in chunks, without a length
  };

  struct Request {
    QByteArray method;  // "POST", "GET"
    QByteArray path;
    QByteArray body;
    qint64 arrivalMs = 0;  // since the service started

    QByteArray field(const QByteArray& name) const;  // up to the next "&" (content: to the end)
    QString datei() const { return QString::fromUtf8(field("Datei")); }
    QString inhalt() const;  // everything after "&Dateiinhalt=", as UTF-8
    bool isLogin() const { return body.startsWith("Fkt=Login&"); }
  };

  FakeRegistrationService();
  ~FakeRegistrationService() override;

  // The settings value that points the program here ("127.0.0.1:<port>").
  QString server() const;
  // Stops listening: later connections are refused.
  void stopListening();

  // The raw (percent-encoded) reply to every login.
  QByteArray loginReply = "ok%7CTOKEN12345%7CRS+1234%C2%B0SL+MB77";
  // The reply of an accepted upload.
  QByteArray okReply = "ok";
  // The answers to uploads of `datei` (logins: "Login"), one per request in turn; then "ok".
  void script(const QString& datei, std::initializer_list<Answer> answers);
  // Where a redirect points: "/ok" serves the reply of an accepted upload, any other path an
  // HTML page (a venue network's login page).
  QByteArray redirectTo = "/ok";
  // Answers this many milliseconds after the request arrived.
  int delayMs = 0;

  QList<Request> requests;
  int gets = 0;  // GET requests since the service started (a POST sent on by a redirect)
  QStringList dateien() const;  // file names of the uploads, in arrival order
  QList<Request> uploadsOf(const QString& datei) const;
  int openConnections() const { return open_; }
  int maxOpenConnections() const { return maxOpen_; }
  void clear() { requests.clear(); }

 private:
  void onConnection();
  void onData(QTcpSocket* socket);
  void answer(QTcpSocket* socket, const Request& request);

  QTcpServer* server_ = nullptr;
  quint16 port_ = 0;
  QElapsedTimer clock_;
  QHash<QTcpSocket*, QByteArray> buffers_;
  QHash<QString, std::deque<Answer>> scripts_;
  int open_ = 0;
  int maxOpen_ = 0;
};

}  // namespace kx::test
