#pragma once
// Damage done to a copy of the data folder the way a scoring system caught mid-write, a failing
// share or a careless hand leaves it: files cut short, emptied, gone or turned into folders, bytes
// garbled, a line far too long, numbers at the edges of int, lines doubled past the tables.

#include <QString>
#include <QStringList>
#include <random>

// Copies the folder from into to (which must not exist), sub-folders included.
bool CopyFolder(const QString& from, const QString& to);

// Applies `count` damages, each to a file of folder chosen at random; returns one line per damage
// saying what was done to which file.
QStringList DamageFolder(const QString& folder, std::mt19937& rng, int count);
