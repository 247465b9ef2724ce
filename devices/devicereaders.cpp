#include "devices/devicereaders.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kx {

QString DeviceText(QByteArrayView bytes) {
  QStringDecoder decode("windows-1252");
  if (!decode.isValid()) return QString::fromLatin1(bytes.data(), bytes.size());
  return decode.decode(bytes);
}

QByteArray DeviceBytes(const QString& text) {
  QStringEncoder encode("windows-1252");
  if (!encode.isValid()) return text.toLatin1();
  return encode.encode(text);
}

void DeviceLineBuffer::append(const QString& text) {
  if (start_ > 0) {
    text_.remove(0, start_);
    start_ = 0;
  }
  text_ += text;
  if (text_.size() > kMaxPending && !text_.contains(u'\r')) text_.clear();
}

std::optional<QString> DeviceLineBuffer::takeLine() {
  const qsizetype cr = text_.indexOf(u'\r', start_);
  if (cr < 0) return std::nullopt;
  QString line = text_.mid(start_, cr - start_);
  start_ = cr + 1;
  return line;
}

void DeviceLineBuffer::clear() {
  text_.clear();
  start_ = 0;
}

double DigiRecord::runSeconds() const {
  return hours * 3600 + minutes * 60 + seconds + hundredths / 100.0;
}

double DigiRecord::dayTime(double syncTime) const {
  return hours / 24.0 + minutes / 1440.0 + (seconds + hundredths / 100.0) / 86400.0 + syncTime;
}

int DecodeDigiByte(quint8 byte) {
  return (byte % 16) * 10 + byte / 16;
}

std::optional<DigiRecord> DigiRecordAssembler::feed(quint8 byte, double now) {
  if (now > lastByteTime_ + kMaxGapSeconds) index_ = 0;
  lastByteTime_ = now;
  values_[static_cast<size_t>(++index_)] = DecodeDigiByte(byte);
  if (index_ < 5) return std::nullopt;
  index_ = 0;
  DigiRecord record;
  record.kind = values_[1] / 10;
  record.hours = values_[1] % 10;
  record.minutes = values_[2];
  record.seconds = values_[3];
  record.hundredths = values_[4];
  record.number = values_[5];
  return record;
}

std::optional<QString> TimyTimeText(const QString& line) {
  if (line.size() < 7 || line[6] != u'C') return std::nullopt;
  return line.mid(10, 11);
}

TagHeuerLine ClassifyTagHeuerLine(const QString& line) {
  TagHeuerLine result;
  if (QStringView(line).mid(1, 2) == u"!T") {
    result.kind = TagHeuerLine::Kind::Sync;
    result.text = line.mid(4, 8) + QStringLiteral(".00");
  } else if (QStringView(line).mid(1, 8) == u"RR 0000 ") {
    result.kind = TagHeuerLine::Kind::Time;
    result.text = line.mid(16, 11);
  }
  return result;
}

}  // namespace kx
