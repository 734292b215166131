// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_for_solver.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/cell_edit.h"
#include "app/message_titles.h"
#include "app/zifrax_frm.h"
#include "solver/progress_text.h"

namespace zifrax {

namespace {

// A screen shows at most about 60 frames a second; painting the status frame
// more often than that only costs time.
constexpr qint64 kPaintIntervalMs = 16;

}  // namespace

WindowForSolver::WindowForSolver(ZifRax_frm& window)
    : window_(window)
{
    // Label texts are always set at once; the frame is painted only when a
    // report finds the last paint a frame interval ago.
    window_.Solver_fra->setUpdatesEnabled(false);
    sincePaint_.start();
}

WindowForSolver::~WindowForSolver()
{
    window_.Solver_fra->setUpdatesEnabled(true);
}

void WindowForSolver::update(std::int32_t mode, std::int32_t zeile, std::int64_t durchlauf)
{
    const auto endzeit = std::chrono::system_clock::now();
    const auto captions = timeCaptions(elapsedSeconds(window_.solverModule().startzeit, endzeit));
    for (int i = 0; i < 3; ++i)
        window_.rechenzeit_lbl(i + 1)->setText(QString::fromStdString(captions[i]));
    if (mode == 1)
        window_.variation_lbl(1)->setText(QString::fromStdString(rowCaption(zeile)));
    else if (mode == 2)
        window_.brute_force_lbl(1)->setText(QString::fromStdString(passCaption(durchlauf)));

    const bool paintNow = sincePaint_.elapsed() >= kPaintIntervalMs;
    if (paintNow)
        window_.Solver_fra->setUpdatesEnabled(true);  // marks the whole frame for painting
    QCoreApplication::processEvents();
    if (paintNow) {
        window_.Solver_fra->setUpdatesEnabled(false);
        sincePaint_.restart();
    }
}

bool WindowForSolver::stopRequested()
{
    return window_.stop_chk->isChecked() || window_.isClosing();
}

void WindowForSolver::setVariationCaption(const std::string& text)
{
    window_.variation_lbl(1)->setText(QString::fromStdString(text));
}

void WindowForSolver::setBruteForceCaption(const std::string& text)
{
    window_.brute_force_lbl(1)->setText(QString::fromStdString(text));
}

void WindowForSolver::showNoSolution()
{
    // The status frame shows its final texts behind the message.
    window_.Solver_fra->setUpdatesEnabled(true);
    QMessageBox box(QMessageBox::Warning, kMessageTitle,
                    QStringLiteral("Dieses Rätsel hat keine gültige Lösung !"), QMessageBox::Ok, &window_);
    box.exec();
}

void WindowForSolver::enableControls()
{
    window_.setMenuEnabled(true);
    window_.solve_cmd->setEnabled(true);
}

Colour WindowForSolver::cellColour(int cell)
{
    return window_.raetsel_txt(cell)->backgroundColour();
}

void WindowForSolver::setCellColour(int cell, Colour colour)
{
    window_.raetsel_txt(cell)->setBackgroundColour(colour);
}

void WindowForSolver::setCellText(int cell, const std::string& text)
{
    window_.raetsel_txt(cell)->setText(QString::fromStdString(text));
}

}  // namespace zifrax
