#pragma once

#include <QString>

// Which folder the program works in. Started from the desktop's menu it has
// no meaningful current folder, so:
//   kelmorin DIR   works in DIR;
//   kelmorin       works in the current folder when it holds Kelmorin.mdb,
//                  else in the last folder it worked in (when that still
//                  holds Kelmorin.mdb), else in ~/Kelmorin.
namespace folderchoice {

inline const QString kDefaultFolderName = QStringLiteral("Kelmorin");

QString choose(const QString& argument, const QString& current, const QString& lastUsed, const QString& home);

// The last folder the program worked in, kept in the user's settings.
QString lastUsed();
void remember(const QString& folder);

} // namespace folderchoice
