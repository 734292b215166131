// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its controls, the program-wide state, and the handlers
// that the controls are wired to. Each group of handlers lives in a unit of
// its own (cell entry, the solve command, …). The file and print commands
// see it through FileWindow and PrintWindow; only the window knows its widgets.
#pragma once

#include <QCoreApplication>
#include <QMainWindow>
#include <QSet>
#include <array>
#include <functional>
#include <memory>

#include "app/program_state.h"
#include "files/file_window.h"
#include "print/print_window.h"
#include "solver/zifrax_bas.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace zifrax {

class CellEdit;
class FileCommands;
class PrintCommands;

class ZifRax_frm : public QMainWindow, public FileWindow, public PrintWindow {
    Q_OBJECT

public:
    explicit ZifRax_frm(QWidget* parent = nullptr);
    ~ZifRax_frm() override;

    ProgramState state;
    Zifrax_bas& solverModule() { return bas_; }
    FileCommands& fileCommands() { return *fileCommands_; }
    PrintCommands& printCommands() { return *printCommands_; }

    // The menu "&Rätsel" as a whole, entries and shortcuts alike.
    void setMenuEnabled(bool enabled);
    // The program title, followed by " (fileTitle)" when a file title is given.
    void showCaption(const QString& fileTitle = QString()) override;
    // Empties the value labels of the status frame; the headings stay.
    void clearStatusValues();

    // A new puzzle and the end of the program.
    void neuesraetsel() override;
    void M_neu_Click();
    void M_end_Click();
    // Asks whether to save when a digit has been accepted since the start,
    // the last new puzzle or load; Yes runs save as. False when the user
    // cancelled, or chose a file that could not be written, and the caller
    // must stop.
    bool offerToSave(const QString& title);
    bool offerToSave() override;
    // Ends the program at once: the window closes, the event loop stops.
    void endProgram() override;
    // The last step of endProgram; tests put an observer in its place.
    std::function<void()> quitApplication = [] { QCoreApplication::exit(0); };

    // True once the user has closed the window: a running solve stops.
    bool isClosing() const { return closing_; }
    bool isSolving() const { return solving_; }

    void raetsel_txt_KeyUp(int index);
    void solve_cmd_Click();

    // A puzzle line pasted into a cell: after the save question that "Neu"
    // asks, the grid is emptied as by "Neu" and every digit enters as if typed.
    void pastePuzzleLine(const GridArray& grid);
    // The grid, givens and solver digits, as a puzzle line on the clipboard.
    void copyPuzzleLine() const;

    // What the file and print commands read and change.
    QString cellText(int cell) const override;
    Colour cellColour(int cell) const override;
    void setCell(int cell, const QString& text, Colour colour) override;
    QString currentFilePath() const override { return state.currentFilePath; }
    void setCurrentFilePath(const QString& path) override { state.currentFilePath = path; }
    QString loadedFileTitle() const override { return state.loadedFileTitle; }
    void setLoadedFileTitle(const QString& title) override { state.loadedFileTitle = title; }
    void markUnchanged() override { state.unchangedFlag = true; }
    QString frameCaption() const override;
    void showMessage(QMessageBox::Icon icon, const QString& text) override;
    QWidget* dialogParent() override { return this; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Passes a key release on to the cells only when the window also
    // received its press: the release of a key that confirmed a dialog is
    // no input for the cell that has the focus afterwards.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The solver's view of the window shows progress in the widgets directly.
    friend class WindowForSolver;

    // The controls, by the names the rest of the program knows them by.
    CellEdit* raetsel_txt(int index) const { return cells_.at(index); }  // 1 … 81
    QLabel* variation_lbl(int i) const { return variationLabels_.at(i); }  // 0, 1
    QLabel* brute_force_lbl(int i) const { return bruteForceLabels_.at(i); }  // 0, 1
    QLabel* rechenzeit_lbl(int i) const { return timeLabels_.at(i); }  // 0 … 3

    // The value of every cell's text, 0 for an empty cell.
    GridArray cellValues() const;

    void buildControls();
    void wireControls();
    void Form_Load();
    void setSolving(bool solving);

    QPushButton* solve_cmd = nullptr;
    QPushButton* stop_chk = nullptr;
    QGroupBox* Solver_fra = nullptr;
    QMenu* M_raetsel = nullptr;
    QAction* M_neu = nullptr;
    QAction* M_laden = nullptr;
    QAction* M_speichern = nullptr;
    QAction* M_speichern_unter = nullptr;
    QAction* M_Druckeinstellung = nullptr;
    QAction* M_drucken = nullptr;
    QAction* M_end = nullptr;

    Zifrax_bas bas_;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<PrintCommands> printCommands_;
    std::array<CellEdit*, 82> cells_{};  // element 0 unused
    std::array<QLabel*, 2> variationLabels_{};
    std::array<QLabel*, 2> bruteForceLabels_{};
    std::array<QLabel*, 4> timeLabels_{};
    bool solving_ = false;
    bool closing_ = false;
    QSet<quint32> keysDown_;  // pressed in this window and not yet released
};

}  // namespace zifrax
