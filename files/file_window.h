// SPDX-License-Identifier: GPL-3.0-or-later
// The small interface through which the file commands reach the window.
// The window implements it.
#pragma once

#include <QMessageBox>
#include <QString>

#include "core/grid.h"

class QWidget;

namespace zifrax {

class FileWindow {
public:
    virtual ~FileWindow() = default;

    // The cells, by index 1 to 81.
    virtual QString cellText(int cell) const = 0;
    virtual Colour cellColour(int cell) const = 0;
    virtual void setCell(int cell, const QString& text, Colour colour) = 0;

    // The puzzle file that belongs to the grid; empty when none.
    virtual QString currentFilePath() const = 0;
    virtual void setCurrentFilePath(const QString& path) = 0;
    // The name of the file last loaded, which the printed heading shows.
    virtual void setLoadedFileTitle(const QString& title) = 0;
    // No digit counts as accepted any more: clearing the grid asks nothing.
    virtual void markUnchanged() = 0;

    // The question whether to save first, as load and program end ask it;
    // false when the user cancelled, or the file chosen could not be
    // written, and the command must stop.
    virtual bool offerToSave() = 0;
    // A new puzzle: the cells and the status values emptied, the caption reset.
    virtual void neuesraetsel() = 0;
    // The program title, followed by " (fileTitle)".
    virtual void showCaption(const QString& fileTitle) = 0;
    virtual void endProgram() = 0;

    // A message box with the program's message title; returns when closed.
    virtual void showMessage(QMessageBox::Icon icon, const QString& text) = 0;
    // The window the commands' dialogs belong to.
    virtual QWidget* dialogParent() = 0;
};

}  // namespace zifrax
