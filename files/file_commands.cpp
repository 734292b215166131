// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_commands.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

#include "disk/whole_file.h"
#include "files/puzzle_format.h"
#include "files/puzzle_folder.h"

namespace zifrax {

namespace {

// Shows one of the two file dialogs as the commands set it up each time:
// non-native, opening in the puzzle folder, any name allowed and none
// completed with a suffix. Returns the chosen full path, empty when the
// dialog was cancelled.
QString chooseFile(QWidget* window, const char* name, QFileDialog::AcceptMode mode, const QString& title,
                   const QString& puzzleFilter)
{
    QFileDialog dialog(window);
    dialog.setObjectName(QLatin1String(name));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(title);
    // The dialog shows each filter's text without its last parenthesis and
    // filters by the patterns in it, so that "alle Dateien (*.*)" lists
    // names without a dot too.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({puzzleFilter + QStringLiteral(" (*.zfx)"), QStringLiteral("alle Dateien (*.*) (*)")});
    dialog.setDirectory(puzzleFolder(QCoreApplication::applicationDirPath(),
                                     QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// The whole file, or nothing and the reason in German.
std::optional<QByteArray> readWholeFile(const QString& path, QString& reason)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        reason = QStringLiteral("Die Datei gibt es nicht.");
        return std::nullopt;
    }
    // Reading a named pipe would wait for a writer, with the window frozen.
    if (!info.isFile()) {
        reason = kNotARegularFile;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = info.isReadable() ? QStringLiteral("Sie lässt sich nicht öffnen (%1).").arg(file.errorString())
                                   : QStringLiteral("Das Lesen der Datei ist nicht erlaubt.");
        return std::nullopt;
    }
    // Read one byte more than allowed, so that a device without a size
    // cannot make us read forever.
    const auto limit = qint64(puzzle_file::kMaxFileSize);
    QByteArray content = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("Beim Lesen trat ein Fehler auf (%1).").arg(file.errorString());
        return std::nullopt;
    }
    if (content.size() > limit) {
        reason = QStringLiteral("Sie ist größer als 1 MiB und damit keine Zifrax-Rätseldatei.");
        return std::nullopt;
    }
    return content;
}

}  // namespace

FileCommands::FileCommands(FileWindow& window) : window_(window) {}

void FileCommands::M_laden_Click()
{
    if (!window_.offerToSave())
        return;

    const QString path = chooseFile(window_.dialogParent(), "laden_dlg", QFileDialog::AcceptOpen,
                                    QStringLiteral("ein Zifrax für Windows - Rätsel laden ..."),
                                    QStringLiteral("Tovrins Zifrax Rätsel(*.zfx)"));
    if (path.isEmpty()) {
        window_.setCurrentFilePath(QString());
        return;
    }
    loadFile(path);
}

void FileCommands::loadFile(const QString& path)
{
    window_.setCurrentFilePath(path);
    // The file is read before the grid is cleared, so that a file that
    // cannot be read leaves the grid as it was. The path is forgotten then:
    // a later save must not replace that file with this grid.
    QString reason;
    const std::optional<QByteArray> content = readWholeFile(path, reason);
    if (!content) {
        window_.showMessage(QMessageBox::Warning,
                            QStringLiteral("Die Datei %1 kann nicht geladen werden.\n\n%2").arg(path, reason));
        window_.setCurrentFilePath(QString());
        return;
    }

    window_.markUnchanged();  // so that clearing asks nothing
    window_.neuesraetsel();
    if (!laden(path, *content))
        return;
    const QString title = QFileInfo(path).fileName();
    window_.setLoadedFileTitle(title);
    window_.showCaption(title);
}

void FileCommands::M_speichern_Click()
{
    const QString path = window_.currentFilePath();
    if (path.isEmpty())
        M_speichern_unter_Click();
    else
        speichern(path);
}

bool FileCommands::M_speichern_unter_Click()
{
    const QString path = chooseFile(window_.dialogParent(), "speicher_dlg", QFileDialog::AcceptSave,
                                    QStringLiteral("ein ZifRax-Rätsel speichern..."),
                                    QStringLiteral("Tovrins ZifRax Rätsel (*.zfx)"));
    if (path.isEmpty()) {
        window_.setCurrentFilePath(QString());
        return true;
    }
    // A failed save changes nothing else: path and caption stay as they were.
    if (!speichern(path))
        return false;
    window_.setCurrentFilePath(path);
    window_.showCaption(QFileInfo(path).fileName());
    return true;
}

bool FileCommands::speichern(const QString& pfeil)
{
    puzzle_file::GridDescription grid;
    for (int i = 1; i <= kCellCount; ++i) {
        // Stored cells hold one digit, the same byte in Windows-1252 and Latin-1.
        grid[i] = {window_.cellText(i).toLatin1().toStdString(), window_.cellColour(i)};
    }
    const std::string bytes = puzzle_file::write(grid);

    QString reason;
    const bool written = writeWholeFile(pfeil, QByteArrayView(bytes.data(), qsizetype(bytes.size())), reason);
    if (!written)
        window_.showMessage(QMessageBox::Warning,
                            QStringLiteral("Das Rätsel kann nicht in der Datei %1 gespeichert werden.\n\n%2")
                                .arg(pfeil, reason));
    return written;
}

bool FileCommands::laden(const QString& pfeil, const QByteArray& content)
{
    puzzle_file::GridDescription grid;
    if (puzzle_file::read(std::string_view(content.constData(), std::size_t(content.size())), grid) ==
        puzzle_file::ReadOutcome::Defective) {
        window_.showMessage(QMessageBox::Critical,
                            QStringLiteral("Die Zifrax - Rätseldatei ") + pfeil + QStringLiteral(" ist defekt !!!"));
        window_.endProgram();
        return false;
    }
    // The reader sets cells and clears none: only cells it named change.
    for (int i = 1; i <= kCellCount; ++i) {
        if (!grid[i].text.empty())
            window_.setCell(i, QString::fromLatin1(grid[i].text), grid[i].colour);
    }
    return true;
}

}  // namespace zifrax
