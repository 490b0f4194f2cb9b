#pragma once
// Windows-1252 at the file boundary. Tables are single-byte files: every byte
// decodes to one character and encodes back to the same byte, so a table read
// and written unchanged keeps every byte, the five unassigned ones included.
#include <QByteArray>
#include <QString>

namespace cp1252 {

QString decode(QByteArrayView bytes);
// Characters outside Windows-1252 become '?'.
QByteArray encode(QStringView text);
// Appends the encoding of text to out (no allocation per call beyond growth).
void encodeAppend(QStringView text, QByteArray &out);
// The encoding of text, or false when a character has no Windows-1252 byte (so that
// a text searched for never matches a '?' that stands for another character).
bool encodeExact(QStringView text, QByteArray &out);

// True when c has a Windows-1252 byte (the unassigned bytes' stand-ins excluded).
bool representable(QChar c);
// A character a field may hold: representable and not a control character
// (TAB, CR and LF would break the record line).
bool fieldChar(QChar c);
// Drops TAB, CR, LF and other control characters; returns the cleaned text and
// reports through `refused` whether a character outside Windows-1252 was met
// (such text is refused as a whole by the caller).
QString cleanForField(const QString &text, bool *refused = nullptr);

// Upper and lower case of one character that stay inside Windows-1252
// ("é" to "É", "œ" to "Œ"; "ß" and "µ" unchanged).
QChar upper(QChar c);
QChar lower(QChar c);
QString upper(const QString &s);
QString lower(const QString &s);

} // namespace cp1252
