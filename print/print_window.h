// SPDX-License-Identifier: GPL-3.0-or-later
// The small interface through which the print commands reach the window.
// The window implements it.
#pragma once

#include <QMessageBox>
#include <QString>

#include "core/grid.h"

class QWidget;

namespace zifrax {

class PrintWindow {
public:
    virtual ~PrintWindow() = default;

    // The cells, by index 1 to 81.
    virtual QString cellText(int cell) const = 0;
    virtual Colour cellColour(int cell) const = 0;
    // The status frame's caption: the version.
    virtual QString frameCaption() const = 0;
    // The name of the file last loaded, and the puzzle file that belongs to
    // the grid; each empty when none.
    virtual QString loadedFileTitle() const = 0;
    virtual QString currentFilePath() const = 0;

    // A message box with the program's message title; returns when closed.
    virtual void showMessage(QMessageBox::Icon icon, const QString& text) = 0;
    // The window the print dialog belongs to.
    virtual QWidget* dialogParent() = 0;
};

}  // namespace zifrax
