#pragma once

#include "gbk/textlines.h"

#include <QObject>

namespace textview {

// The lines a view shows: GBK byte lines and the line-break style the last load found. Every
// change is announced, so that each view's row layout can follow only the lines it touched.
class LineBuffer : public QObject {
    Q_OBJECT
public:
    explicit LineBuffer(QObject *parent = nullptr);

    const QList<QByteArray> &lines() const { return m_text.lines; }
    LineBreak lineBreak() const { return m_text.lineBreak; }
    const TextLines &text() const { return m_text; }
    int count() const { return int(m_text.lines.size()); }

    // Replaces the whole text: load, assign and clear.
    void reset(TextLines text);

    void replaceLine(int index, const QByteArray &line);
    void insertLines(int index, const QList<QByteArray> &lines);
    void removeLines(int index, int count);

signals:
    void textReset();
    void linesChanged(int first, int count);
    void linesInserted(int first, int count);
    void linesRemoved(int first, int count);

private:
    TextLines m_text;
};

} // namespace textview
