// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: layout, start state, tab order, cell
// entry, accessibility and the locking of a solve.
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"

using namespace zifrax;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ZifRax_frm> window;

    CellEdit* cell(int index) { return window->findChild<CellEdit*>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    QWidget* named(const QString& name) { return window->findChild<QWidget*>(name); }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }

    // Puts a text into a cell as if typed, then presses and releases a key there.
    void enter(int index, const QString& text)
    {
        cell(index)->setText(text);
        QTest::keyClick(cell(index), Qt::Key_Right);
    }

private slots:
    void initTestCase() { setUpApplication(); }
    void init()
    {
        window = std::make_unique<ZifRax_frm>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void layoutAndStartState()
    {
        QCOMPARE(window->centralWidget()->size(), QSize(640, 472));
        QCOMPARE(named("raetsel_txt(43)")->geometry(), QRect(320, 216, 41, 41));
        QCOMPARE(named("solve_cmd")->geometry(), QRect(472, 16, 153, 73));
        QCOMPARE(named("rechenzeit_lbl(1)")->parentWidget(), named("Solver_fra"));
        QCOMPARE(named("rechenzeit_lbl(1)")->geometry(), QRect(8, 160, 137, 25));
        QCOMPARE(named("trennlinie(1)")->geometry(), QRect(312, 16, 1, 440));

        for (int i = 1; i <= 81; ++i)
            QVERIFY(cell(i)->text().isEmpty() && cell(i)->backgroundColour() == kEmptyCellColour);
        QVERIFY(button("solve_cmd")->isEnabled());
        QVERIFY(button("stop_chk")->isCheckable() && !button("stop_chk")->isChecked());
        QCOMPARE(window->findChild<QGroupBox*>("Solver_fra")->title(), QStringLiteral("Version: 15.07.07"));
        QCOMPARE(QApplication::focusWidget(), cell(1));
        QVERIFY(window->state.unchangedFlag);
    }

    void tabWalksTheCellsThenTheButtons()
    {
        const QList<QPair<QWidget*, QWidget*>> steps{{cell(9), cell(10)},
                                                     {cell(81), button("solve_cmd")},
                                                     {button("solve_cmd"), button("stop_chk")},
                                                     {button("stop_chk"), cell(1)}};
        for (const auto& [from, to] : steps) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), to);
        }
    }

    void cellEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");  // empty: refused
        QTest::newRow("digit") << "5" << "5";
        QTest::newRow("blank before") << " 7" << "7";
        QTest::newRow("half to even, up") << "1.5" << "2";
        QTest::newRow("half to even, down") << "2.5" << "2";
        QTest::newRow("eight and a half") << "8.5" << "8";
        QTest::newRow("decimal comma") << "4,0" << "4";
        QTest::newRow("exponent") << "9e0" << "9";
        for (const char* refused : {"0", "-3", "a", "7a", "56", "9.6", "0.4", "  "})
            QTest::newRow(refused) << QString::fromLatin1(refused) << QString();
    }
    void cellEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        enter(20, typed);
        QCOMPARE(cell(20)->text(), shown);
        QCOMPARE(cell(20)->backgroundColour(), shown.isEmpty() ? kEmptyCellColour : kPuzzleColour);
        QCOMPARE(window->state.unchangedFlag, shown.isEmpty());
        QCOMPARE(window->solverModule().loesung[20], shown.toInt());
    }

    void typingASecondDigitEmptiesTheCell()
    {
        QTest::keyClicks(cell(1), QStringLiteral("5"));
        QCOMPARE(cell(1)->text(), QStringLiteral("5"));
        QTest::keyClicks(cell(1), QStringLiteral("6"));
        QCOMPARE(cell(1)->text(), QString());
        QCOMPARE(cell(1)->backgroundColour(), kEmptyCellColour);
    }

    void clashesDisableSolvingUntilResolved_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("same row") << 1 << 9;
        QTest::newRow("same column") << 1 << 73;
        QTest::newRow("same box only") << 1 << 11;
        QTest::newRow("last box") << 61 << 81;
    }
    void clashesDisableSolvingUntilResolved()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QTest::keyClicks(cell(first), QStringLiteral("5"));
        QTest::keyClicks(cell(second), QStringLiteral("5"));
        QVERIFY(!button("solve_cmd")->isEnabled());
        QCOMPARE(cell(second)->backgroundColour(), kPuzzleColour);
        QTest::keyClick(cell(second), Qt::Key_Backspace);
        QCOMPARE(cell(second)->backgroundColour(), kEmptyCellColour);
        QVERIFY(button("solve_cmd")->isEnabled());
    }

    void refusedTextKeepsTheLastEvaluationUntilAnyKey()
    {
        QTest::keyClicks(cell(1), QStringLiteral("5"));
        QTest::keyClicks(cell(2), QStringLiteral("5"));
        enter(2, QStringLiteral("x"));  // emptied, but the rules are not evaluated again
        QVERIFY(!button("solve_cmd")->isEnabled());
        QTest::keyClick(cell(40), Qt::Key_Shift);
        QVERIFY(button("solve_cmd")->isEnabled());

        cell(7)->setText(QStringLiteral("4"));
        cell(7)->setBackgroundColour(kSolutionColour);
        window->state.unchangedFlag = true;
        QTest::keyClick(cell(7), Qt::Key_Left);  // a solved digit becomes a given
        QCOMPARE(cell(7)->backgroundColour(), kPuzzleColour);
        QVERIFY(!window->state.unchangedFlag);
    }

    void screenReadersGetNamesAndTheCellKinds()
    {
        QAccessibleInterface* cell23 = QAccessible::queryAccessibleInterface(cell(23));
        QCOMPARE(cell23->text(QAccessible::Name), QStringLiteral("Zeile 3, Spalte 5"));
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("leeres Feld"));
        enter(23, QStringLiteral("4"));
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("vorgegebene Zahl"));
        cell(23)->setBackgroundColour(kSolutionColour);
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("gelöste Zahl"));
        QCOMPARE(QAccessible::queryAccessibleInterface(named("rechenzeit_lbl(2)"))->text(QAccessible::Name),
                 QStringLiteral("Rechenzeit Minuten"));
    }

    void solveLocksTheControlsAndCopiesTheCells()
    {
        // A solved grid whose first row is cut back to 5 3 . . 7 . . . .; a
        // text that is no number counts as empty.
        const QString solution = QStringLiteral("534678912672195348198342567859761423426853791"
                                                "713924856961537284287419635345286179");
        for (int i = 1; i <= 81; ++i)
            if (i > 9 || i == 1 || i == 2 || i == 5)
                enter(i, solution.mid(i - 1, 1));
        cell(9)->setText(QStringLiteral("abc"));

        bool lockedWhileSolving = false;
        bool workingGridUntouched = false;
        QSignalSpy newPuzzle(window->findChild<QAction*>("M_neu"), &QAction::triggered);
        QTimer::singleShot(0, this, [&] {  // runs at the first progress report
            lockedWhileSolving = !window->findChild<QMenu*>("M_raetsel")->isEnabled() && !button("solve_cmd")->isEnabled()
                && cell(40)->isReadOnly();
            QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
            const GridArray before = window->solverModule().loesung;
            cell(10)->setText(QStringLiteral("9"));
            QTest::keyClick(cell(10), Qt::Key_9);
            workingGridUntouched = window->solverModule().loesung == before;
        });
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);

        QVERIFY(lockedWhileSolving && workingGridUntouched);
        QCOMPARE(newPuzzle.count(), 0);
        QVERIFY(window->findChild<QMenu*>("M_raetsel")->isEnabled() && button("solve_cmd")->isEnabled() && !cell(40)->isReadOnly());
        const std::array<std::int32_t, 11> firstRow{0, 1, 2, 0, 4, 0, 6, 0, 8, 9, 6};
        QCOMPARE(window->solverModule().zeilenfrei[1], firstRow);
        for (int i = 1; i <= 81; ++i)
            QCOMPARE(cell(i)->text(), solution.mid(i - 1, 1));
        QCOMPARE(cell(9)->backgroundColour(), kSolutionColour);
        QCOMPARE(cell(10)->backgroundColour(), kPuzzleColour);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
