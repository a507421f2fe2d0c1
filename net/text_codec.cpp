#include "net/text_codec.h"

#include <QStringEncoder>

namespace vexa::net {

QByteArray EncodeText(QStringView text) {
  // A character the code page lacks comes out as a zero byte, which no
  // two-byte character of the code page contains; turn those into '?'.
  QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless |
                                           QStringConverter::Flag::ConvertInvalidToNull);
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError()) return bytes;
  if (!text.contains(QChar(0))) return bytes.replace('\0', '?');

  // The text holds real zeros too: one character at a time.
  bytes.clear();
  for (qsizetype i = 0; i < text.size();) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const QStringView one = text.sliced(i, pair ? 2 : 1);
    QStringEncoder single(kCodePage932, QStringConverter::Flag::Stateless);
    const QByteArray encoded = single.encode(one);
    bytes += single.hasError() || encoded.isEmpty() ? QByteArray("?") : encoded;
    i += one.size();
  }
  return bytes;
}

QString DecodeText(QByteArrayView bytes) {
  QStringDecoder decoder(kCodePage932, QStringConverter::Flag::Stateless);
  return decoder.decode(bytes);
}

bool FitsCodePage932(QStringView text) {
  QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return !encoder.hasError() && DecodeText(bytes) == text;
}

QStringDecoder MakeStreamDecoder() {
  return QStringDecoder(kCodePage932);
}

}  // namespace vexa::net
