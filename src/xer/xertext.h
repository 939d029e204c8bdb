#pragma once

#include <QString>

#include <vector>

namespace xer {

// True when every byte is below 0x80.
bool isAscii(const char *data, int size);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF and
// no sequence cut short at the end.
bool isValidUtf8(const char *data, int size);

// Decodes one line. P6 on Windows often exports in the Windows-1252 code
// page; a line that is not valid UTF-8 is taken to be in that code page, so
// accented names survive either way. Valid UTF-8 decodes exactly as
// QString::fromUtf8 would.
QString decodeLine(const char *data, int size);

// The same into `out`, which has room for `size` characters (no line
// decodes to more); returns the number written. `tabs` gets the character
// positions of the tabs, found on the way.
int decodeLine(const char *data, int size, ushort *out, std::vector<int> &tabs);

QString fromWindows1252(const char *data, int size);
// Writes the `size` characters of the Windows-1252 bytes to `out`.
void fromWindows1252(const char *data, int size, ushort *out);
// Writes the `size` characters of Latin-1 (or ASCII) bytes to `out`.
void fromLatin1(const char *data, int size, ushort *out);

// Puts the byte positions of the tabs of a line into `tabs`; returns true
// when every byte is ASCII. One pass, as it runs over every wanted byte.
bool findTabs(const char *data, int size, std::vector<int> &tabs);

// The positions of the tabs of decoded text.
void findTabs(const QString &text, std::vector<int> &tabs);

} // namespace xer
