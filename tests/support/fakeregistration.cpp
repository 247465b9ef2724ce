#include "tests/support/fakeregistration.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace kx::test {

QByteArray FakeRegistrationService::Request::field(const QByteArray& name) const {
  const QByteArray key = name + '=';
  qsizetype at = key.size();
  if (!body.startsWith(key)) {
    at = body.indexOf('&' + key);
    if (at < 0) return {};
    at += key.size() + 1;
  }
  if (name == "Dateiinhalt") return body.mid(at);
  const qsizetype end = body.indexOf('&', at);
  return body.mid(at, end < 0 ? -1 : end - at);
}

QString FakeRegistrationService::Request::inhalt() const {
  return QString::fromUtf8(field("Dateiinhalt"));
}

FakeRegistrationService::FakeRegistrationService() : server_(new QTcpServer(this)) {
  server_->listen(QHostAddress::LocalHost, 0);
  port_ = server_->serverPort();
  clock_.start();
  connect(server_, &QTcpServer::newConnection, this, &FakeRegistrationService::onConnection);
}

FakeRegistrationService::~FakeRegistrationService() = default;

QString FakeRegistrationService::server() const {
  return QStringLiteral("127.0.0.1:%1").arg(port_);
}

void FakeRegistrationService::stopListening() {
  server_->close();
}

void FakeRegistrationService::script(const QString& datei, std::initializer_list<Answer> answers) {
  auto& queue = scripts_[datei];
  queue.insert(queue.end(), answers);
}

QStringList FakeRegistrationService::dateien() const {
  QStringList names;
  for (const Request& r : requests) {
    if (!r.isLogin()) names.append(r.datei());
  }
  return names;
}

QList<FakeRegistrationService::Request> FakeRegistrationService::uploadsOf(
    const QString& datei) const {
  QList<Request> found;
  for (const Request& r : requests) {
    if (!r.isLogin() && r.datei() == datei) found.append(r);
  }
  return found;
}

void FakeRegistrationService::onConnection() {
  while (QTcpSocket* socket = server_->nextPendingConnection()) {
    ++open_;
    maxOpen_ = std::max(maxOpen_, open_);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onData(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      --open_;
      buffers_.remove(socket);
      socket->deleteLater();
    });
  }
}

void FakeRegistrationService::onData(QTcpSocket* socket) {
  QByteArray& buffer = buffers_[socket];
  buffer += socket->readAll();
  const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
  if (headerEnd < 0) return;
  qsizetype length = 0;
  for (const QByteArray& line : buffer.left(headerEnd).split('\n')) {
    if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toLongLong();
  }
  if (buffer.size() < headerEnd + 4 + length) return;
  Request request;
  const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
  request.method = requestLine.value(0);
  request.path = requestLine.value(1);
  request.body = buffer.mid(headerEnd + 4, length);
  request.arrivalMs = clock_.elapsed();
  buffer.clear();
  requests.append(request);
  if (delayMs > 0) {
    QTimer::singleShot(delayMs, socket, [this, socket, request] { answer(socket, request); });
  } else {
    answer(socket, request);
  }
}

void FakeRegistrationService::answer(QTcpSocket* socket, const Request& request) {
  Answer kind = Answer::Ok;
  QByteArray body = request.isLogin() ? loginReply : okReply;
  auto it = scripts_.find(request.isLogin() ? QStringLiteral("Login") : request.datei());
  if (it != scripts_.end() && !it->empty()) {
    kind = it->front();
    it->pop_front();
  }
  QByteArray status = "200 OK";
  QByteArray location;
  if (request.method == "GET") {
    ++gets;
    body = request.path == "/ok" ? okReply : "<html><body>Anmeldung+im+Netz</body></html>";
    kind = Answer::Ok;
  }
  switch (kind) {
    case Answer::Ok:
      break;
    case Answer::Nok:
      body = "nok";
      break;
    case Answer::Empty:
      body.clear();
      break;
    case Answer::ServerError:
      status = "500 Internal Server Error";
      body = "<html><body>Interner+Fehler</body></html>";
      break;
    case Answer::BadRequest:
      status = "400 Bad Request";
      body = "<html><body>Ung%C3%BCltige+Anfrage</body></html>";
      break;
    case Answer::Moved:
    case Answer::Found:
      status = kind == Answer::Moved ? "301 Moved Permanently" : "302 Found";
      location = "Location: http://" + server().toLatin1() + redirectTo + "\r\n";
      body = "<html><body>Umgezogen</body></html>";
      break;
    case Answer::NotFound:
      status = "404 Not Found";
      body.clear();
      break;
    case Answer::Silent:
      return;
    case Answer::Trickle: {
      socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nok");
      auto* timer = new QTimer(socket);
      connect(timer, &QTimer::timeout, socket, [socket] { socket->write(" "); });
      timer->start(50);
      return;
    }
    case Answer::Chunked: {
      QByteArray reply =
          "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n"
          "Connection: close\r\n\r\n";
      for (qsizetype at = 0; at < body.size(); at += 64 * 1024) {
        const QByteArray piece = body.mid(at, 64 * 1024);
        reply += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
      }
      socket->write(reply + "0\r\n\r\n");
      socket->disconnectFromHost();
      return;
    }
  }
  socket->write("HTTP/1.1 " + status + "\r\n" + location +
                "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body);
  socket->disconnectFromHost();
}

}  // namespace kx::test
