// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/puzzle_folder.h"

#include <QDir>
#include <QFileInfo>

namespace zifrax {

QString puzzleFolder(const QString& programDirectory, const QString& documentsDirectory)
{
    const QDir beside(programDirectory + QStringLiteral("/Rätsel"));
    if (QFileInfo(beside.path()).isWritable())
        return beside.path();
    const QDir own(documentsDirectory + QStringLiteral("/Zifrax-Rätsel"));
    if (own.exists() || !QDir().mkpath(own.path()))
        return own.exists() ? own.path() : beside.path();
    for (const QFileInfo& sample : beside.entryInfoList({QStringLiteral("*.zfx")}, QDir::Files))
        QFile::copy(sample.filePath(), own.filePath(sample.fileName()));
    return own.path();
}

}  // namespace zifrax
