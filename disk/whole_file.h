// SPDX-License-Identifier: GPL-3.0-or-later
// Files written whole: a new content replaces an old file only once it is
// completely on the disk, and a failure comes with its reason in German.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace zifrax {

inline const QString kNotARegularFile =
    QStringLiteral("Das ist keine gewöhnliche Datei, sondern ein Ordner, eine Pipe oder ein Gerät.");

// Writes bytes to path, leaving an existing file as it was when that fails.
// False then, with reason set to why.
bool writeWholeFile(const QString& path, QByteArrayView bytes, QString& reason);

}  // namespace zifrax
