// The wire format: reply decoding, and what the post makes of the service's answers and of
// failed connections.
#include "livetiming/protocol.h"
#include "tests/support/fakeregistration.h"
#include "tests/support/scriptedui.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace kx {
namespace {

using Answer = test::FakeRegistrationService::Answer;

TEST(LiveProtocol, DecodesRepliesOnBytes) {
  EXPECT_EQ(UrlDecodeUtf8("ok%C3%A4+x"), QString("okä x"));
  EXPECT_EQ(UrlDecodeUtf8("%2B+%2b"), QString("+ +"));
  EXPECT_EQ(UrlDecodeUtf8(""), QString());
  // A "%" at the end or before non-hexadecimal characters: the digits read from the left.
  EXPECT_EQ(UrlDecodeUtf8("a%"), QString("a") + QChar(0));
  EXPECT_EQ(UrlDecodeUtf8("%4G!"), QString(QChar(4)) + "!");
  EXPECT_EQ(UrlDecodeUtf8("%G4x"), QString(QChar(0)) + "x");
  EXPECT_EQ(UrlDecodeUtf8("%4"), QString(QChar(4)));
  // Invalid UTF-8 converts as far as it goes.
  EXPECT_EQ(UrlDecodeUtf8("a%FFb"), QString("a") + QChar(0xFFFD) + "b");
  EXPECT_EQ(UrlDecodeUtf8("\xC3\xB6"), QString("ö"));  // raw bytes pass as they are
  EXPECT_EQ(LiveEndpointUrl("host:8080"), "http://host:8080/cgi-bin/lt.cgi");
  EXPECT_EQ(LiveEndpointUrl("host/x?y"), QString());
}

TEST(LiveProtocol, AnswersErrorStatusesAndFailedConnections) {
  test::FakeRegistrationService service;
  test::ScriptedUi ui;
  LiveTimingConnection connection(ui, service.server());
  connection.setTransferTimeout(300);
  service.script("A", {Answer::ServerError, Answer::Empty, Answer::Nok, Answer::Ok, Answer::Silent,
                       Answer::Trickle});
  const QString body = SendFileBody("TOKEN12345", 3, "A", "x=1&y=+%°ä\r\n");

  // An error status is a failure whatever page it brings; 200 with any body is accepted.
  EXPECT_EQ(connection.LiveTimingPost(body, false), "nok");
  EXPECT_TRUE(connection.lastFailed());
  EXPECT_EQ(connection.lastStatus(), 500);
  EXPECT_EQ(connection.lastFailureText(),
            "Fehler bei der Verbindung mit Startora\nDer Server antwortete mit Fehler 500");
  EXPECT_EQ(connection.LiveTimingPost(body), QString());
  EXPECT_FALSE(connection.lastFailed());
  EXPECT_EQ(connection.LiveTimingPost(body), "nok");
  EXPECT_FALSE(connection.lastFailed());
  EXPECT_TRUE(ui.messages.isEmpty());
  ASSERT_EQ(service.requests.size(), 3);
  EXPECT_EQ(service.requests[0].body,
            QByteArray("Fkt=SendFile&Token=TOKEN12345&VeranstNr=3&Datei=A&Dateiinhalt=x=1&y=+%"
                       "\xC2\xB0\xC3\xA4\r\n"));

  // While the reply is awaited the wait cursor shows.
  Qt::CursorShape shape = Qt::ArrowCursor;
  QTimer::singleShot(5, [&] { shape = QGuiApplication::overrideCursor()->shape(); });
  service.delayMs = 30;
  EXPECT_EQ(connection.LiveTimingPost(body), "ok");
  EXPECT_EQ(shape, Qt::WaitCursor);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  service.delayMs = 0;

  QElapsedTimer waited;
  waited.start();
  EXPECT_EQ(connection.LiveTimingPost(body), "nok");  // no answer: timed out
  EXPECT_LT(waited.elapsed(), 2000);
  EXPECT_TRUE(connection.lastFailed());
  EXPECT_EQ(ui.messageTexts(), QStringList{"Fehler bei der Verbindung mit Startora"});
  // A byte every 50 ms never trips that timeout: the deadline ends the wait. Over 1 MB is
  // refused. A message box shows a reply's first lines.
  connection.setDeadline(400);
  EXPECT_EQ(connection.LiveTimingPost(body), "nok");
  EXPECT_LT(waited.elapsed(), 3000);
  service.okReply.fill('x', 1024 * 1024 + 1);
  EXPECT_EQ(connection.LiveTimingPost(body), "nok");
  EXPECT_EQ(ui.messageTexts().last(),
            "Fehler bei der Verbindung mit Startora\nDie Antwort des Servers ist größer als 1 MB.");
  EXPECT_EQ(ReplyForMessage(QString("Zeile\n").repeated(30)),
            QString("Zeile\n").repeated(10).chopped(1) + "\n...");

  service.stopListening();
  EXPECT_EQ(connection.LiveTimingPost(body, false), "nok");  // refused, not reported
  EXPECT_EQ(ui.messages.size(), 3);
  EXPECT_EQ(service.requests.size(), 7);
  EXPECT_FALSE(connection.busy());
}

// An answer sent in chunks announces no length: up to the bound it is read whole, beyond it
// the message says it was too large rather than blaming the connection alone.
TEST(LiveProtocol, AnAnswerInChunksIsMeasuredByWhatArrives) {
  test::FakeRegistrationService service;
  test::ScriptedUi ui;
  LiveTimingConnection connection(ui, service.server());
  service.script("A", {Answer::Chunked, Answer::Chunked});
  const QString body = SendFileBody("TOKEN12345", 3, "A", "x=1");
  service.okReply.fill('x', 1024 * 1024);
  EXPECT_EQ(connection.LiveTimingPost(body), QString(1024 * 1024, 'x'));
  EXPECT_TRUE(ui.messages.isEmpty());
  service.okReply.append('x');
  EXPECT_EQ(connection.LiveTimingPost(body), "nok");
  EXPECT_EQ(ui.messageTexts(), QStringList{"Fehler bei der Verbindung mit Startora\nDie Antwort "
                                           "des Servers ist größer als 1 MB."});
}

}  // namespace
}  // namespace kx
