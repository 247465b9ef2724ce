#include "livetiming/protocol.h"

#include "common/guarded.h"
#include "common/userinterface.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace kx {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Whether a finished reply carries an answer of the service (any HTTP status), as opposed
// to a connection that was refused, broke or timed out.
bool IsAnswer(const QNetworkReply& reply) {
  if (!reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) return false;
  const int error = reply.error();
  // Content (2xx) and server (4xx) errors are HTTP statuses, and so is the protocol error
  // that stands for 400; network, proxy and other protocol errors are failures of the
  // connection.
  return error == QNetworkReply::NoError || (error >= 201 && error <= 299) ||
         error == QNetworkReply::ProtocolInvalidOperationError || (error >= 401 && error <= 499);
}

}  // namespace

QString LoginBody(const QString& bewerbsNr, const QString& passwort) {
  return QStringLiteral("Fkt=Login&BewerbsNr=") + bewerbsNr + QStringLiteral("&Passwort=") +
         passwort;
}

QString SendFileBody(const QString& token, int eventNo, const QString& datei,
                     const QString& inhalt) {
  QString body;
  body.reserve(60 + token.size() + datei.size() + inhalt.size());
  body.append(QStringLiteral("Fkt=SendFile&Token="))
      .append(token)
      .append(QStringLiteral("&VeranstNr="))
      .append(QString::number(eventNo))
      .append(QStringLiteral("&Datei="))
      .append(datei)
      .append(QStringLiteral("&Dateiinhalt="))
      .append(inhalt);
  return body;
}

QString UrlDecodeUtf8(const QByteArray& reply) {
  if (reply.isEmpty()) return QString();
  QByteArray out;
  out.reserve(reply.size());
  const qsizetype size = reply.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char c = reply[i];
    if (c == '+') {
      out.append(' ');
    } else if (c == '%') {
      // The next two characters are consumed whatever they are; their value is that of the
      // hexadecimal digits read from the left.
      int value = 0;
      for (int k = 1; k <= 2 && i + k < size; ++k) {
        const int digit = HexValue(reply[i + k]);
        if (digit < 0) break;
        value = value * 16 + digit;
      }
      out.append(static_cast<char>(value));
      i += 2;
    } else {
      out.append(c);
    }
  }
  return QString::fromUtf8(out);
}

QString LiveEndpointUrl(const QString& server) {
  const QString trimmed = server.trimmed();
  if (trimmed.isEmpty()) return QString();
  const QUrl url(QStringLiteral("http://") + trimmed + kLiveEndpointPath, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty() || url.path() != kLiveEndpointPath) return QString();
  return url.toString();
}

QString ReplyForMessage(const QString& reply) {
  if (reply.trimmed().isEmpty()) return QStringLiteral("Der Server antwortete ohne Text");
  constexpr qsizetype kLines = 10;
  constexpr qsizetype kCharacters = 1000;
  QString shown = reply.section(QLatin1Char('\n'), 0, kLines - 1).left(kCharacters);
  if (shown.size() < reply.size()) shown += QStringLiteral("\n...");
  return shown;
}

LiveTimingConnection::LiveTimingConnection(UserInterface& ui, const QString& server)
    : ui_(ui), url_(LiveEndpointUrl(server)), manager_(std::make_unique<QNetworkAccessManager>()) {}

LiveTimingConnection::~LiveTimingConnection() = default;

QString LiveTimingConnection::LiveTimingPost(const QString& body, bool reportFailure) {
  if (busy_) return kLiveNok;
  QByteArray answer;
  bool answered = false;
  bool tooLarge = false;
  status_ = 0;
  if (!url_.isEmpty()) {
    busy_ = true;
    struct Restore {
      bool& busy;
      ~Restore() {
        busy = false;
        QGuiApplication::restoreOverrideCursor();
      }
    } restore{busy_};
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));

    QNetworkRequest request{QUrl(url_)};
    // Qt sends this content type for every POST; naming it keeps it from warning.
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // A redirect is not followed: it would send the request on as a GET without its body.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = manager_->post(request, body.toUtf8());
    // An answer that announces or brings more than the bound is not read to its end.
    auto oversized = [reply] {
      return reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() >
                 kLiveMaxReplyBytes ||
             reply->bytesAvailable() > kLiveMaxReplyBytes;
    };
    if (!reply->isFinished()) {
      QEventLoop loop;
      QTimer deadline;
      deadline.setSingleShot(true);
      ConnectGuarded(ui_, &deadline, &QTimer::timeout, reply, [reply] { reply->abort(); });
      ConnectGuarded(ui_, reply, &QNetworkReply::readyRead, reply, [&] {
        if (!oversized()) return;
        tooLarge = true;
        reply->abort();
      });
      ConnectGuarded(ui_, reply, &QNetworkReply::finished, &loop, [&loop] { loop.quit(); });
      deadline.start(deadlineMs_);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    tooLarge = tooLarge || oversized();
    answered = !tooLarge && IsAnswer(*reply);
    if (answered) {
      answer = reply->readAll();
      status_ = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }
    delete reply;
  }
  // Any status but 2xx (a redirect, 4xx, 5xx) delivered nothing, whatever page came with it.
  const bool errorStatus = answered && status_ / 100 != 2;
  failed_ = !answered || errorStatus;
  if (failed_) {
    failureText_ = kLiveConnectionMessage;
    if (tooLarge) {
      failureText_ += QStringLiteral("\nDie Antwort des Servers ist größer als %1 MB.")
                          .arg(kLiveMaxReplyBytes / (1024 * 1024));
    }
    if (errorStatus) {
      failureText_ += QStringLiteral("\nDer Server antwortete mit Fehler %1").arg(status_);
    }
    if (reportFailure) ui_.message(failureText_);
    return kLiveNok;
  }
  return UrlDecodeUtf8(answer);
}

}  // namespace kx
