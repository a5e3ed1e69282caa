#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// A fresh temporary folder made the current folder for one test case, as the anthology files
// are found relative to it; the old current folder comes back when it goes.
class ScratchFolder {
public:
    ScratchFolder() : m_oldCurrent(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~ScratchFolder() { QDir::setCurrent(m_oldCurrent); }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
};

// The bytes of a file, or "<missing>".
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// Writes a file, making its folders.
inline void putFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}
