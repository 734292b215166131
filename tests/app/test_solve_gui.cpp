// SPDX-License-Identifier: GPL-3.0-or-later
// A solve as the user runs it: a puzzle typed into the window key by key,
// the solve button clicked, the cells and message boxes read back.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "tests/solver/grid_text.h"

using namespace zifrax;
using namespace zifrax::testing;

class SolveGuiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ZifRax_frm> window;
    QStringList messages;  // every message box, closed as soon as it shows
    QTimer messageCloser;

    CellEdit* cell(int index) { return window->findChild<CellEdit*>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    QPushButton* solveButton() { return window->findChild<QPushButton*>("solve_cmd"); }
    void type(const QString& puzzle)
    {
        for (int index = 1; index <= kCellCount; ++index)
            if (puzzle[index - 1] != '.')
                QTest::keyClicks(cell(index), puzzle.mid(index - 1, 1));
    }
    QString cellTexts()
    {
        QString text;
        for (int index = 1; index <= kCellCount; ++index)
            text += cell(index)->text() + (cell(index)->text().isEmpty() ? "." : "");
        return text;
    }

private slots:
    void initTestCase()
    {
        setUpApplication();
        connect(&messageCloser, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->windowTitle() + " | " + box->text() +
                                (box->icon() == QMessageBox::Warning ? " (warning)" : "");
                box->button(QMessageBox::Ok)->click();
            }
        });
        messageCloser.start(10);
    }
    void init()
    {
        messages.clear();
        window = std::make_unique<ZifRax_frm>();
        window->show();
    }

    void typedPuzzleIsSolvedInTheCells_data()
    {
        QTest::addColumn<QString>("puzzle");
        QTest::addColumn<QString>("cells");
        QTest::newRow("solvable") << QString(kEasyPuzzle) << QString(kEasySolution);
        QTest::newRow("a row without variations") << QString(kRowWithoutVariations) << QString(kRowWithoutVariations);
        // The easy puzzle with a 2 where its solution has a 4.
        const QString noCombination =
            "532.7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
        QTest::newRow("no combination of rows") << noCombination << noCombination;
    }
    void typedPuzzleIsSolvedInTheCells()
    {
        QFETCH(QString, puzzle);
        QFETCH(QString, cells);
        type(puzzle);
        QTest::mouseClick(solveButton(), Qt::LeftButton);
        QCOMPARE(cellTexts(), cells);
        const bool solved = cells != puzzle;
        for (int index = 1; index <= kCellCount; ++index)
            QCOMPARE(cell(index)->property("backgroundColour").toUInt(),
                     puzzle[index - 1] != '.' ? kPuzzleColour : solved ? kSolutionColour : kEmptyCellColour);
        // The no-solution message shows once, whichever stage finds out.
        QCOMPARE(messages, solved ? QStringList()
                                  : QStringList{"Zifrax for Windows | Dieses Rätsel hat keine gültige Lösung ! (warning)"});
        QVERIFY(solveButton()->isEnabled());
    }

    // Closing the window once the search has reported stops the solve at its
    // next report and ends the event loop.
    void closingDuringASolveEndsTheProgram()
    {
        const QString hardPuzzle =
            ".......1.4.........2...........5.4.7..8...3....1.9....3..4..2...5.1........8.6...";
        type(hardPuzzle);
        QTimer::singleShot(0, solveButton(), &QPushButton::click);
        QTimer closer;
        connect(&closer, &QTimer::timeout, window.get(), [this, &closer] {
            if (window->findChild<QLabel*>("brute_force_lbl(1)")->text().startsWith("Durchläufe")) {
                closer.stop();
                window->close();
            }
        });
        closer.start(0);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(messages.isEmpty());
        QCOMPARE(cellTexts(), hardPuzzle);
    }
};

QTEST_MAIN(SolveGuiTest)
#include "test_solve_gui.moc"
