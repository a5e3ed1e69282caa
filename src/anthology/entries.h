#pragma once

#include <QString>

namespace anthology {

constexpr int kEntryCount = 190;

inline const QString kEntryListFileName = QStringLiteral("Data\\Odelane\\list.txt");
inline const QString kCurrentTextFileName = QStringLiteral("Tem\\00.dat");

// Entry index i (0..189) lives in the file numbered i + 1, written with at least two digits:
// "data\Odelane\01.txt" .. "data\Odelane\190.txt". Empty for any other index.
QString entryFileName(int index);

} // namespace anthology
