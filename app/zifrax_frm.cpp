// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zifrax_frm.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include "app/cell_edit.h"
#include "app/message_titles.h"
#include "files/file_commands.h"
#include "print/print_commands.h"

namespace zifrax {

ZifRax_frm::ZifRax_frm(QWidget* parent)
    : QMainWindow(parent)
    , fileCommands_(std::make_unique<FileCommands>(*this))
    , printCommands_(std::make_unique<PrintCommands>(*this))
{
    buildControls();
    wireControls();
    Form_Load();
    showCaption();

    // Nothing moves or resizes: the window keeps the size of its content.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    raetsel_txt(1)->setFocus();
}

ZifRax_frm::~ZifRax_frm() = default;

void ZifRax_frm::wireControls()
{
    for (int index = 1; index <= kCellCount; ++index) {
        connect(raetsel_txt(index), &CellEdit::keyReleased, this, &ZifRax_frm::raetsel_txt_KeyUp);
        connect(raetsel_txt(index), &CellEdit::puzzleLinePasted, this, &ZifRax_frm::pastePuzzleLine);
        connect(raetsel_txt(index), &CellEdit::gridCopyRequested, this, &ZifRax_frm::copyPuzzleLine);
        // Text that no key release in the cell evaluates gets the evaluation one would give.
        connect(raetsel_txt(index), &CellEdit::editedWithoutRelease, this, &ZifRax_frm::raetsel_txt_KeyUp);
        raetsel_txt(index)->installEventFilter(this);
    }
    solve_cmd->installEventFilter(this);
    stop_chk->installEventFilter(this);
    connect(solve_cmd, &QPushButton::clicked, this, &ZifRax_frm::solve_cmd_Click);
    connect(M_neu, &QAction::triggered, this, &ZifRax_frm::M_neu_Click);
    connect(M_laden, &QAction::triggered, this, [this] { fileCommands_->M_laden_Click(); });
    connect(M_speichern, &QAction::triggered, this, [this] { fileCommands_->M_speichern_Click(); });
    connect(M_speichern_unter, &QAction::triggered, this, [this] { fileCommands_->M_speichern_unter_Click(); });
    connect(M_end, &QAction::triggered, this, &ZifRax_frm::M_end_Click);
    connect(M_Druckeinstellung, &QAction::triggered, this, [this] { printCommands_->M_Druckeinstellung_Click(); });
    connect(M_drucken, &QAction::triggered, this, [this] { printCommands_->M_drucken_Click(); });
}

void ZifRax_frm::Form_Load()
{
    state.unchangedFlag = true;
    state.versionText = QString::fromLatin1(credits::kVersionText);
    Solver_fra->setTitle(QStringLiteral("Version: ") + state.versionText);
}

void ZifRax_frm::setMenuEnabled(bool enabled)
{
    // The menu's own action carries the entries' shortcuts with it.
    M_raetsel->menuAction()->setEnabled(enabled);
    M_raetsel->setEnabled(enabled);
}

void ZifRax_frm::showCaption(const QString& fileTitle)
{
    setWindowTitle(fileTitle.isEmpty() ? state.programTitle
                                       : state.programTitle + QStringLiteral(" (") + fileTitle + QLatin1Char(')'));
}

void ZifRax_frm::clearStatusValues()
{
    for (QLabel* label : {variation_lbl(1), brute_force_lbl(1), rechenzeit_lbl(1), rechenzeit_lbl(2),
                          rechenzeit_lbl(3)})
        label->clear();
}

QString ZifRax_frm::cellText(int cell) const
{
    return raetsel_txt(cell)->text();
}

Colour ZifRax_frm::cellColour(int cell) const
{
    return raetsel_txt(cell)->backgroundColour();
}

void ZifRax_frm::setCell(int cell, const QString& text, Colour colour)
{
    raetsel_txt(cell)->setText(text);
    raetsel_txt(cell)->setBackgroundColour(colour);
}

QString ZifRax_frm::frameCaption() const
{
    return Solver_fra->title();
}

void ZifRax_frm::showMessage(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, kMessageTitle, text, QMessageBox::Ok, this);
    box.exec();
}

void ZifRax_frm::setSolving(bool solving)
{
    // The cells stay usable for focus and scrolling but take no input, so the
    // solver never sees its working grid change under it.
    solving_ = solving;
    for (int index = 1; index <= kCellCount; ++index)
        raetsel_txt(index)->setReadOnly(solving);
}

bool ZifRax_frm::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    // The key's place on the keyboard, which press and release share also
    // when the shift state changes in between; events made up by a program
    // carry only the key.
    const auto* key = static_cast<QKeyEvent*>(event);
    const quint32 id = key->nativeScanCode() ? key->nativeScanCode() : quint32(key->key());
    if (type != QEvent::KeyRelease) {
        keysDown_.insert(id);
        return false;
    }
    // A held key repeats its release; only the last one ends the press.
    return key->isAutoRepeat() ? !keysDown_.contains(id) : !keysDown_.remove(id);
}

void ZifRax_frm::changeEvent(QEvent* event)
{
    // Keys that go down elsewhere, in a dialog, come up there too.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        keysDown_.clear();
    QMainWindow::changeEvent(event);
}

bool ZifRax_frm::event(QEvent* event)
{
    // When the last dialog over the window closes, the window takes the
    // keyboard back, with the focus where it was. Left to the window
    // manager, two dialogs closing at once (the file dialog and its question
    // whether to replace a file) may leave the keyboard with no window.
    // Asked from the event loop, after the dialog has gone from the screen.
    if (event->type() == QEvent::WindowUnblocked)
        QMetaObject::invokeMethod(this, [this] { activateWindow(); }, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void ZifRax_frm::closeEvent(QCloseEvent* event)
{
    // Closing ends the program without a question; a running solve stops at
    // its next progress report.
    closing_ = true;
    event->accept();
}

}  // namespace zifrax
