#pragma once

#include "gbk/textlines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace anthology {

// The entry list: one item per line. CR LF, CR and LF each end an item, a final break adds
// no item, and a NUL byte ends the list. cutByNul tells whether bytes were left unread.
QList<QByteArray> splitEntryList(QByteArrayView bytes, bool *cutByNul = nullptr);
// Every item followed by CR LF, the last one included.
QByteArray joinEntryList(const QList<QByteArray> &items);

// A text: CR LF, CR and LF each end a line, NUL bytes are ordinary. Trailing lines made only
// of bytes 0..32 are dropped. The style is CR when only CR was seen, LF when only LF was
// seen, else CR LF; an empty file gives no lines and CR LF.
TextLines splitText(QByteArrayView bytes);
// Lines joined by the text's break; no break after the last line.
QByteArray joinText(const TextLines &text);

// Reads a whole file named the Windows way (see resolvePath).
// Throws "Cannot open file <name>" when it cannot be opened.
QByteArray readFile(const QString &name);

// Writes a whole file through a temporary file in the same folder that replaces the old one
// only when everything was written, so a failed write leaves the old file whole.
// Throws "Cannot create file <name>" when the file cannot be created (folder missing, file
// read-only) and "Stream write error" when the write stops short.
void writeFile(const QString &name, QByteArrayView bytes);

} // namespace anthology
