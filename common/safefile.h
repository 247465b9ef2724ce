#pragma once

// Files written whole or not at all. The bytes go to a temporary file beside the target
// ("<target>.kandrix-XXXXXX.tmp"), which is moved over the target only once every byte has
// been written, so a full disk, a size limit or an abandoned output never damages an
// earlier file. The cause of a failure is kept in words for a person ("kein Platz mehr auf
// dem Datenträger"), not as the system's English text.
//
//   SafeFile file(path);
//   if (!file.create()) return file.failureText();
//   file.write(bytes);                       // or hand it to a writer as a QIODevice
//   if (!file.finish() || !file.place()) return file.failureText();
//
// Between finish() and place() the complete file waits beside the target: a caller that
// has to complete something else first (a second file, a database commit) places it only
// when that succeeded, and otherwise lets the destructor remove it.

#include <QIODevice>
#include <QString>

namespace kx {

// The middle of the name of a temporary file: "<target><marker>".
inline const char* const kTemporaryFileMarker = ".kandrix-XXXXXX.tmp";

// Removes the temporary files of `target` that an output killed half-way left behind and
// that are older than `maxAgeSeconds` (younger ones may belong to a write in progress on
// another computer). SafeFile::create calls it for its target.
void RemoveStaleTemporaryFiles(const QString& target, int maxAgeSeconds = 3600);

// Why a file could not be written, from the system's error number, in German: "kein Platz
// mehr auf dem Datenträger", "keine Schreibrechte", ...
QString FileErrorCause(int errnum);

// "Die Datei '<path>' kann nicht geschrieben werden: <cause>."
QString FileWriteFailureText(const QString& path, const QString& cause);

class SafeFile : public QIODevice {
 public:
  explicit SafeFile(QString target);
  // Removes the temporary file unless it was placed.
  ~SafeFile() override;
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // Creates the temporary file and opens the device for writing. False: cause() says why.
  bool create();
  // Checks that every byte written reached the file and closes it. False: cause() says
  // why, and the temporary file is gone.
  bool finish();
  // Moves the finished file over the target; the target keeps its permissions, a new target
  // gets those any program gives a new file (0666 less the umask). False: cause() says why,
  // the temporary file is gone and the target is as it was.
  bool place();
  // Removes the temporary file.
  void discard();

  const QString& target() const { return target_; }
  // The cause of the first failure; empty while nothing failed.
  const QString& cause() const { return cause_; }
  // FileWriteFailureText of the target and the cause.
  QString failureText() const;
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  bool flushBuffer();
  bool fail(int errnum);

  QString target_;
  QByteArray temporary_;  // the temporary file's name, encoded
  int fd_ = -1;
  bool finished_ = false;
  QByteArray buffer_;
  QString cause_;
};

// For tests: the call that closes a finished temporary file in place of ::close (a
// network share may report a failed write only there); nullptr restores ::close.
void SetTemporaryFileCloseForTesting(int (*close)(int));

// Writes `bytes` as the new content of `path` through a SafeFile. Returns an empty text
// when the file is in place, else the message that names the file and the cause.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace kx
