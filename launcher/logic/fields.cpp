#include "logic/fields.h"

#include <cmath>

namespace switchboard {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Moves past the line end at `pos` (CR LF counts as one).
qsizetype skipLineEnd(const QString& text, qsizetype pos) {
  if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n') return pos + 2;
  return pos + 1;
}

}  // namespace

QStringList readFields(const QByteArray& bytes, int count) {
  QString text = QString::fromLocal8Bit(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

  QStringList fields;
  qsizetype pos = 0;
  const qsizetype end = text.size();
  while (pos < end && fields.size() < count) {
    while (pos < end && isBlank(text[pos])) ++pos;
    QString field;
    if (pos < end && text[pos] == u'"') {
      const qsizetype close = text.indexOf(u'"', pos + 1);
      qsizetype stop = pos + 1;
      while (stop < end && !isLineEnd(text[stop])) ++stop;
      if (close != -1 && close < stop) {
        field = text.mid(pos + 1, close - pos - 1);
        pos = close + 1;
      } else {  // an unclosed quote runs to the line end
        field = text.mid(pos + 1, stop - pos - 1);
        pos = stop;
      }
      // Anything between the closing quote and the comma or line end is not part of the field.
      while (pos < end && text[pos] != u',' && !isLineEnd(text[pos])) ++pos;
    } else {
      const qsizetype start = pos;
      while (pos < end && text[pos] != u',' && !isLineEnd(text[pos])) ++pos;
      field = text.mid(start, pos - start);
      while (!field.isEmpty() && isBlank(field.back())) field.chop(1);
    }
    fields.append(field);
    if (pos < end) pos = text[pos] == u',' ? pos + 1 : skipLineEnd(text, pos);
  }
  return fields;
}

std::optional<int> toInt16(const QString& field) {
  const QString number = field.trimmed();
  if (number.isEmpty()) return std::nullopt;
  for (QChar c : number)
    if (!c.isDigit() && c != u'-' && c != u'+' && c != u'.') return std::nullopt;
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < -32768 || rounded > 32767) return std::nullopt;
  return static_cast<int>(rounded);
}

}  // namespace switchboard
