// SPDX-License-Identifier: GPL-3.0-or-later
// The load, save and save-as commands with their file dialogs `laden_dlg`
// and `speicher_dlg`, and the file procedures on the window's cells.
#pragma once

#include <QString>

#include "files/file_window.h"

class QByteArray;

namespace zifrax {

class FileCommands {
public:
    explicit FileCommands(FileWindow& window);

    void M_laden_Click();
    // What the load command does once its dialog has returned path: the
    // file replaces the grid, or a message says why it cannot.
    void loadFile(const QString& path);
    void M_speichern_Click();
    // Also the saving step of the save question. False when a file was
    // chosen and could not be written: the question's caller stops then,
    // while after a cancelled dialog it goes on.
    bool M_speichern_unter_Click();

    // Writes the grid to pfeil, replacing the file only once the new content
    // is complete. False, after telling the user why, when that failed.
    bool speichern(const QString& pfeil);
    // Fills the cells from content, the bytes of the file pfeil. A file
    // without the magic line is reported and ends the program; false then.
    bool laden(const QString& pfeil, const QByteArray& content);

private:
    FileWindow& window_;
};

}  // namespace zifrax
