// SPDX-License-Identifier: GPL-3.0-or-later
#include "disk/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace zifrax {

namespace {

// Why a file cannot be created or replaced; writeError is the system's
// error number of a failed write, 0 when none is known.
QString writeFailure(const QString& path, const QFileDevice& file, int writeError)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir())
        return QStringLiteral("Unter diesem Namen gibt es schon einen Ordner.");
    if (info.exists() && !info.isFile())
        return kNotARegularFile;
    if (!folder.isDir())
        return QStringLiteral("Den Ordner %1 gibt es nicht.").arg(QDir::toNativeSeparators(folder.filePath()));
    if (info.exists() && !info.isWritable())
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    if (!folder.isWritable())
        return QStringLiteral("Im Ordner %1 darf nicht geschrieben werden.")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    switch (writeError) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
    case EDQUOT:
        return QStringLiteral("Ihr Speicherplatz auf dem Datenträger ist ausgeschöpft.");
    case EFBIG:
        return QStringLiteral("Die Datei würde größer, als das System erlaubt.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
    }
    return QStringLiteral("Beim Schreiben trat ein Fehler auf (%1).").arg(file.errorString());
}

}  // namespace

bool writeWholeFile(const QString& path, QByteArrayView bytes, QString& reason)
{
    // Unbuffered, so that every failed write is reported: a buffered one
    // whose flush fails (a full disk) goes unnoticed by commit(), which would
    // then put a short file in place of the old one. A pipe or a device is
    // not replaced by a file.
    const bool special = QFileInfo::exists(path) && !QFileInfo(path).isFile();
    QSaveFile file(path);
    bool written = !special && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    int writeError = 0;
    if (written) {
        errno = 0;
        written = file.write(bytes.data(), bytes.size()) == bytes.size();
        writeError = written ? 0 : errno;  // Qt names no reason for a write cut short
        written = written && file.commit();
    }
    if (!written)
        reason = writeFailure(path, file, writeError);
    return written;
}

}  // namespace zifrax
