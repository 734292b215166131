// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: tab order, cell entry and the rules,
// accessibility, and a solve typed in key by key, locked while it runs.
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include "tests/app/window_test.h"
#include "tests/solver/grid_text.h"

using namespace zifrax;
using namespace zifrax::testing;

class MainWindowTest : public WindowTest {
    Q_OBJECT

    // A puzzle as 81 characters, '.' for an empty cell, typed key by key.
    void typePuzzle(const QString& puzzle)
    {
        for (int index = 1; index <= kCellCount; ++index)
            if (puzzle[index - 1] != '.')
                QTest::keyClicks(cell(index), puzzle.mid(index - 1, 1));
    }

    QString cellTexts() const
    {
        QString text;
        for (int index = 1; index <= kCellCount; ++index)
            text += cell(index)->text().isEmpty() ? QStringLiteral(".") : cell(index)->text();
        return text;
    }

private slots:
    void initTestCase() { setUpApplication(); }
    void init() { openWindow(); }

    // The focus starts in cell 1; Tab walks the cells, then the buttons.
    // Screen readers get names for what only the layout tells.
    void startAndTabOrder()
    {
        QCOMPARE(QApplication::focusWidget(), cell(1));
        QCOMPARE(named<QGroupBox>("Solver_fra")->title(), QStringLiteral("Version: 15.07.07"));
        QCOMPARE(QAccessible::queryAccessibleInterface(cell(23))->text(QAccessible::Name), QStringLiteral("Zeile 3, Spalte 5"));
        QCOMPARE(QAccessible::queryAccessibleInterface(named("rechenzeit_lbl(2)"))->text(QAccessible::Name),
                 QStringLiteral("Rechenzeit Minuten"));
        const QList<QPair<QWidget*, QWidget*>> steps{
            {cell(9), cell(10)}, {cell(81), named("solve_cmd")}, {named("solve_cmd"), named("stop_chk")}, {named("stop_chk"), cell(1)}};
        for (const auto& [from, to] : steps) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), to);
        }
    }

    void cellEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("at");  // cell 81 holds a 5
        QTest::addColumn<QString>("shown");  // empty: refused
        QTest::addColumn<bool>("rulesHold");
        const QList<std::pair<const char*, const char*>> rows{
            {"5", "5"}, {" 7", "7"}, {"1.5", "2"}, {"2.5", "2"}, {"8.5", "8"}, {"4,0", "4"}, {"9e0", "9"}, {"0", ""},
            {"-3", ""}, {"a", ""}, {"7a", ""}, {"56", ""}, {"9.6", ""}, {"0.4", ""}, {"  ", ""}};
        for (const auto& [typed, shown] : rows)
            QTest::addRow("'%s'", typed) << typed << 20 << shown << true;
        QTest::newRow("same row") << "5" << 73 << "5" << false;
        QTest::newRow("same column") << "5" << 9 << "5" << false;
        QTest::newRow("same box only") << "5" << 61 << "5" << false;
    }
    // A digit in a rule's clash stays a given and disables solving until
    // Backspace removes it. Screen readers hear the cell's kind.
    void cellEntry()
    {
        QFETCH(QString, typed);
        QFETCH(int, at);
        QFETCH(QString, shown);
        QFETCH(bool, rulesHold);
        type(81, "5");
        window->state.unchangedFlag = true;
        type(at, typed);
        QCOMPARE(cell(at)->text(), shown);
        QCOMPARE(cell(at)->backgroundColour(), shown.isEmpty() ? kEmptyCellColour : kPuzzleColour);
        QCOMPARE(cell(at)->accessibleDescription(), shown.isEmpty() ? "leeres Feld" : "vorgegebene Zahl");
        QCOMPARE(window->state.unchangedFlag, shown.isEmpty());
        QCOMPARE(window->solverModule().loesung[at], shown.toInt());
        QCOMPARE(solvable(), rulesHold);
        QTest::keyClick(cell(at), Qt::Key_Backspace);
        QVERIFY(cell(at)->text().isEmpty() && cell(at)->backgroundColour() == kEmptyCellColour && solvable());
    }

    // Refused text leaves the rules' last verdict until any key; a key
    // released on a solved digit makes it a given.
    void refusedTextAndSolvedDigits()
    {
        type(1, "5");
        type(2, "5");
        type(2, "x");
        QVERIFY(!solvable());
        QTest::keyClick(cell(40), Qt::Key_Shift);
        QVERIFY(solvable());

        window->setCell(7, "4", kSolutionColour);
        window->state.unchangedFlag = true;
        QTest::keyClick(cell(7), Qt::Key_Left);
        QCOMPARE(cell(7)->backgroundColour(), kPuzzleColour);
        QVERIFY(!window->state.unchangedFlag);
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
    // While a solve runs, the menu, its shortcuts, the solve button and the
    // cells take no input. The no-solution message shows once, whichever
    // stage finds out.
    void typedPuzzleIsSolvedInTheCells()
    {
        QFETCH(QString, puzzle);
        QFETCH(QString, cells);
        typePuzzle(puzzle);
        bool locked = false;
        QSignalSpy newPuzzle(named<QAction>("M_neu"), &QAction::triggered);
        QTimer::singleShot(0, this, [&] {  // runs at the first progress report
            locked = !named("M_raetsel")->isEnabled() && !solvable() && cell(40)->isReadOnly();
            QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
            const GridArray before = window->solverModule().loesung;
            const QString given = cell(10)->text();
            cell(10)->setText(QStringLiteral("9"));
            QTest::keyClick(cell(10), Qt::Key_9);
            cell(10)->setText(given);
            locked = locked && window->solverModule().loesung == before;
        });
        const QStringList messages = run([this] { QTest::mouseClick(named("solve_cmd"), Qt::LeftButton); });
        QVERIFY(locked && newPuzzle.isEmpty());
        QVERIFY(named("M_raetsel")->isEnabled() && solvable() && !cell(40)->isReadOnly());
        QCOMPARE(cellTexts(), cells);
        const bool solved = cells != puzzle;
        for (int index = 1; index <= kCellCount; ++index)
            QCOMPARE(cell(index)->backgroundColour(),
                     puzzle[index - 1] != '.' ? kPuzzleColour : solved ? kSolutionColour : kEmptyCellColour);
        QCOMPARE(cell(12)->accessibleDescription(), solved ? "gelöste Zahl" : "leeres Feld");
        QCOMPARE(messages, solved ? QStringList() : QStringList{"Zifrax for Windows: Dieses Rätsel hat keine gültige Lösung !"});
    }

    // Closing the window once the search has reported stops the solve at its
    // next report and ends the event loop.
    void closingDuringASolveEndsTheProgram()
    {
        const QString hardPuzzle =
            ".......1.4.........2...........5.4.7..8...3....1.9....3..4..2...5.1........8.6...";
        typePuzzle(hardPuzzle);
        QTimer::singleShot(0, named<QPushButton>("solve_cmd"), &QPushButton::click);
        QTimer closer;
        connect(&closer, &QTimer::timeout, window.get(), [this, &closer] {
            if (named<QLabel>("brute_force_lbl(1)")->text().startsWith("Durchläufe"))
                closer.stop(), window->close();
        });
        closer.start(0);
        int status = -1;
        QCOMPARE(run([&] { status = QApplication::exec(); }), QStringList());
        QCOMPARE(status, 0);
        QCOMPARE(cellTexts(), hardPuzzle);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
