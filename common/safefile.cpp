#include "common/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

namespace kx {

namespace {

// Small writes (a PDF writer writes many) are gathered to this size.
constexpr qsizetype kBufferSize = 64 * 1024;

int (*g_closeTemporary)(int) = ::close;

// The rights a program gives a new file: read and write for everybody, less the process's
// umask (read without changing it; 022 where the system does not tell).
mode_t NewFileMode() {
  unsigned int mask = 022;
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
    }
    std::fclose(status);
  }
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

void RemoveStaleTemporaryFiles(const QString& target, int maxAgeSeconds) {
  // Another computer may be writing the same file right now: only old ones go. Output
  // folders may hold thousands of files: the names are compared as the system lists them.
  const QFileInfo info(target);
  const QByteArray prefix = QFile::encodeName(info.fileName() + QStringLiteral(".kandrix-"));
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  const time_t limit = std::time(nullptr) - maxAgeSeconds;
  DIR* dir = opendir(folder.constData());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (!name.starts_with(std::string_view(prefix.constData(), prefix.size())) ||
        !name.ends_with(".tmp")) {
      continue;
    }
    const QByteArray path = folder + '/' + entry->d_name;
    struct stat st {};
    if (::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < limit) {
      ::unlink(path.constData());
    }
  }
  closedir(dir);
}

QString FileErrorCause(int errnum) {
  switch (errnum) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("kein Platz mehr auf dem Datenträger");
    case EFBIG:
      return QStringLiteral("die Datei überschreitet die zulässige Dateigröße");
    case EACCES:
    case EPERM:
      return QStringLiteral("keine Schreibrechte");
    case EROFS:
      return QStringLiteral("der Datenträger ist schreibgeschützt");
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("der Ordner ist nicht vorhanden");
    case EISDIR:
      return QStringLiteral("unter diesem Namen steht ein Ordner");
    case EBUSY:
    case ETXTBSY:
      return QStringLiteral("die Datei wird von einem anderen Programm verwendet");
    case ENAMETOOLONG:
      return QStringLiteral("der Dateiname ist zu lang");
    case EIO:
      return QStringLiteral("Schreibfehler auf dem Datenträger");
    default:
      return QStringLiteral("Systemfehler %1 (%2)")
          .arg(errnum)
          .arg(QString::fromLocal8Bit(std::strerror(errnum)));
  }
}

QString FileWriteFailureText(const QString& path, const QString& cause) {
  return QStringLiteral(
             "Die Datei '%1' kann nicht geschrieben werden: %2.\n"
             "Eine frühere Datei dieses Namens bleibt unverändert.")
      .arg(QDir::toNativeSeparators(path), cause);
}

SafeFile::SafeFile(QString target) : target_(std::move(target)) {}

SafeFile::~SafeFile() {
  discard();
}

bool SafeFile::create() {
  discard();
  cause_.clear();
  finished_ = false;
  RemoveStaleTemporaryFiles(target_);
  QByteArray name = QFile::encodeName(target_ + QString::fromLatin1(kTemporaryFileMarker));
  const int fd = ::mkstemps(name.data(), 4);  // ".tmp" stays
  if (fd < 0) return fail(errno);
  fd_ = fd;
  temporary_ = name;
  QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  return true;
}

qint64 SafeFile::readData(char* /*data*/, qint64 /*maxSize*/) {
  return -1;
}

qint64 SafeFile::writeData(const char* data, qint64 size) {
  if (fd_ < 0 || !cause_.isEmpty()) return -1;
  buffer_.append(data, static_cast<qsizetype>(size));
  if (buffer_.size() >= kBufferSize && !flushBuffer()) return -1;
  return size;
}

bool SafeFile::flushBuffer() {
  const char* p = buffer_.constData();
  qsizetype left = buffer_.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    p += n;
    left -= n;
  }
  buffer_.clear();
  return true;
}

bool SafeFile::finish() {
  if (fd_ < 0) return false;
  if (!cause_.isEmpty() || !flushBuffer()) {
    discard();
    return false;
  }
  // A new file gets the usual rights; one that replaces a file keeps that file's.
  struct stat st {};
  const mode_t mode = ::stat(QFile::encodeName(target_).constData(), &st) == 0
                          ? (st.st_mode & 07777)
                          : NewFileMode();
  ::fchmod(fd_, mode);
  const int fd = fd_;
  fd_ = -1;
  if (g_closeTemporary(fd) != 0) return fail(errno);
  QIODevice::close();
  finished_ = true;
  return true;
}

bool SafeFile::place() {
  if (!finished_ || temporary_.isEmpty()) return false;
  if (std::rename(temporary_.constData(), QFile::encodeName(target_).constData()) != 0) {
    return fail(errno);
  }
  temporary_.clear();
  finished_ = false;
  return true;
}

void SafeFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.isEmpty()) {
    ::unlink(temporary_.constData());
    temporary_.clear();
  }
  buffer_.clear();
  finished_ = false;
  if (isOpen()) QIODevice::close();
}

bool SafeFile::fail(int errnum) {
  if (cause_.isEmpty()) cause_ = FileErrorCause(errnum);
  discard();
  return false;
}

QString SafeFile::failureText() const {
  return FileWriteFailureText(target_, cause_);
}

void SetTemporaryFileCloseForTesting(int (*close)(int)) {
  g_closeTemporary = close != nullptr ? close : ::close;
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
  SafeFile file(path);
  if (!file.create()) return file.failureText();
  file.write(bytes);
  if (!file.finish() || !file.place()) return file.failureText();
  return QString();
}

}  // namespace kx
