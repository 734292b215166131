// SPDX-License-Identifier: GPL-3.0-or-later
// A new puzzle, the end of the program, and the question whether to save
// first that these two and the load command ask.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>

#include "app/cell_edit.h"
#include "app/message_titles.h"
#include "app/zifrax_frm.h"
#include "files/file_commands.h"

namespace zifrax {

bool ZifRax_frm::offerToSave(const QString& title)
{
    if (state.unchangedFlag)
        return true;
    QMessageBox box(QMessageBox::Question, title, QStringLiteral("Möchten Sie das Rätsel speichern ?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Yes);
    // German also where Qt's own translation is not installed, with the
    // access keys of Qt's German boxes (Alt+J or J alone, …).
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Abbrechen"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        // A cancelled save dialog goes on; a file that could not be written
        // stops the caller, so that nothing is lost.
        return fileCommands().M_speichern_unter_Click();
    case QMessageBox::No:
        return true;
    default:  // Cancel, or the box closed
        return false;
    }
}

bool ZifRax_frm::offerToSave()
{
    return offerToSave(kMessageTitle);
}

void ZifRax_frm::neuesraetsel()
{
    if (!offerToSave(kNewPuzzleQuestionTitle))
        return;
    for (int index = 1; index <= kCellCount; ++index) {
        raetsel_txt(index)->setText(QString());
        raetsel_txt(index)->setBackgroundColour(kEmptyCellColour);
    }
    clearStatusValues();
    showCaption();
    state.unchangedFlag = true;
    // The next puzzle is typed from the top left, as at start.
    raetsel_txt(1)->setFocus();
}

void ZifRax_frm::M_neu_Click()
{
    neuesraetsel();
    // Also after Cancel: the next save asks for a name.
    state.currentFilePath.clear();
}

void ZifRax_frm::M_end_Click()
{
    if (offerToSave())
        endProgram();
}

void ZifRax_frm::endProgram()
{
    close();
    quitApplication();
}

}  // namespace zifrax
