// The main window as a user meets it: layout, start state, tab order, cell
// entry and the enabling of the solve command.
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
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

private:
    std::unique_ptr<ZifRax_frm> window;

    CellEdit* cell(int index) { return window->findChild<CellEdit*>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(QLatin1String(name)); }

    // Puts a text into a cell as if typed, then releases a key there.
    void enter(int index, const QString& text, Qt::Key releasedKey = Qt::Key_Right)
    {
        cell(index)->setText(text);
        QTest::keyRelease(cell(index), releasedKey);
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

    void layoutFollowsTheTwipsTables()
    {
        QCOMPARE(window->centralWidget()->size(), QSize(640, 472));
        QCOMPARE(cell(43)->geometry(), QRect(320, 216, 41, 41));    // row 5, column 7
        QCOMPARE(cell(1)->geometry(), QRect(16, 16, 41, 41));
        QCOMPARE(cell(81)->geometry(), QRect(416, 416, 41, 41));
        QCOMPARE(button("solve_cmd")->geometry(), QRect(472, 16, 153, 73));
        QCOMPARE(button("stop_chk")->geometry(), QRect(472, 104, 153, 73));
        auto* frame = window->findChild<QGroupBox*>(QStringLiteral("Solver_fra"));
        QCOMPARE(frame->geometry(), QRect(472, 192, 153, 265));
        auto* hours = window->findChild<QLabel*>(QStringLiteral("rechenzeit_lbl(1)"));
        QCOMPARE(hours->parentWidget(), frame);
        QCOMPARE(hours->geometry(), QRect(8, 160, 137, 25));
        QCOMPARE(window->findChild<QWidget*>(QStringLiteral("trennlinie(1)"))->geometry(), QRect(312, 16, 1, 440));
        QCOMPARE(window->findChild<QWidget*>(QStringLiteral("trennlinie(5)"))->geometry(), QRect(0, 120, 152, 1));

        QCOMPARE(cell(43)->font().pointSizeF(), 24.0);
        QCOMPARE(button("solve_cmd")->font().pointSizeF(), 10.2);
        QVERIFY(button("solve_cmd")->font().bold());
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("variation_lbl(1)"))->font().pointSizeF(), 7.8);
        QCOMPARE(hours->font().pointSizeF(), 16.2);
        QCOMPARE(cell(5)->toolTip(), QStringLiteral("Hier bitte eine Zahl zwischen 1 und 9 eingeben..."));
    }

    void startState()
    {
        for (int i = 1; i <= 81; ++i) {
            QVERIFY(cell(i)->text().isEmpty());
            QCOMPARE(cell(i)->backgroundColour(), kEmptyCellColour);
        }
        QVERIFY(button("solve_cmd")->isEnabled());
        QVERIFY(button("stop_chk")->isCheckable());
        QVERIFY(!button("stop_chk")->isChecked());
        QCOMPARE(window->findChild<QGroupBox*>(QStringLiteral("Solver_fra"))->title(), QStringLiteral("Version: 15.07.07"));
        QCOMPARE(QApplication::focusWidget(), cell(1));
        QVERIFY(window->state.unchangedFlag);
        QVERIFY(window->state.currentFilePath.isEmpty());

        const QStringList items{"M_neu", "M_laden", "M_strich1", "M_speichern", "M_speichern_unter", "M_strich2",
                                "M_Druckeinstellung", "M_drucken", "M_strich3", "M_end"};
        auto* menu = window->findChild<QMenu*>(QStringLiteral("M_raetsel"));
        QCOMPARE(menu->title(), QStringLiteral("&Rätsel"));
        QStringList names;
        for (QAction* action : menu->actions())
            names << action->objectName();
        QCOMPARE(names, items);
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("M_speichern_unter"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+U")));
    }

    void tabWalksTheCellsThenTheButtons()
    {
        cell(9)->setFocus();
        QTest::keyClick(cell(9), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cell(10));
        cell(81)->setFocus();
        QTest::keyClick(cell(81), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button("solve_cmd"));
        QTest::keyClick(button("solve_cmd"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button("stop_chk"));
        QTest::keyClick(button("stop_chk"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cell(1));
    }

    void acceptedTextsBecomeOneDigitGivens_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digit") << "5" << "5";
        QTest::newRow("leading blank") << " 7" << "7";
        QTest::newRow("trailing blank") << "3 " << "3";
        QTest::newRow("half rounds up to even") << "1.5" << "2";
        QTest::newRow("half rounds down to even") << "2.5" << "2";
        QTest::newRow("eight and a half") << "8.5" << "8";
        QTest::newRow("locale decimal comma") << "4,0" << "4";
        QTest::newRow("exponent") << "9e0" << "9";
    }
    void acceptedTextsBecomeOneDigitGivens()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        enter(20, typed);
        QCOMPARE(cell(20)->text(), shown);
        QCOMPARE(cell(20)->backgroundColour(), kPuzzleColour);
        QVERIFY(!window->state.unchangedFlag);
        QCOMPARE(window->solverModule().loesung[20], shown.toInt());
    }

    void refusedTextsEmptyTheCellSilently_data()
    {
        QTest::addColumn<QString>("typed");
        for (const char* text : {"0", "-3", "a", "7a", "56", "9.6", "0.4", "  "})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void refusedTextsEmptyTheCellSilently()
    {
        QFETCH(QString, typed);
        enter(30, typed);
        QCOMPARE(cell(30)->text(), QString());
        QCOMPARE(cell(30)->backgroundColour(), kEmptyCellColour);
        QVERIFY(window->state.unchangedFlag);
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
        QVERIFY(button("solve_cmd")->isEnabled());
        QTest::keyClicks(cell(second), QStringLiteral("5"));
        QVERIFY(!button("solve_cmd")->isEnabled());
        QCOMPARE(cell(first)->backgroundColour(), kPuzzleColour);
        QCOMPARE(cell(second)->backgroundColour(), kPuzzleColour);

        QTest::keyClick(cell(second), Qt::Key_Backspace);
        QCOMPARE(cell(second)->text(), QString());
        QCOMPARE(cell(second)->backgroundColour(), kEmptyCellColour);
        QVERIFY(button("solve_cmd")->isEnabled());
    }

    void noClashBetweenDifferentGroups()
    {
        QTest::keyClicks(cell(1), QStringLiteral("5"));
        QTest::keyClicks(cell(14), QStringLiteral("5"));  // row 2, column 5: another box
        QVERIFY(button("solve_cmd")->isEnabled());
    }

    void refusedTextKeepsThePreviousEvaluation()
    {
        QTest::keyClicks(cell(1), QStringLiteral("5"));
        QTest::keyClicks(cell(2), QStringLiteral("5"));
        QVERIFY(!button("solve_cmd")->isEnabled());
        enter(2, QStringLiteral("x"));  // emptied, but the rules are not evaluated again
        QVERIFY(!button("solve_cmd")->isEnabled());
        QCOMPARE(window->solverModule().loesung[2], 5);
        QTest::keyRelease(cell(40), Qt::Key_Shift);  // any key release evaluates again
        QVERIFY(button("solve_cmd")->isEnabled());
    }

    void anyKeyTurnsASolvedDigitIntoAGiven()
    {
        cell(7)->setText(QStringLiteral("4"));
        cell(7)->setBackgroundColour(kSolutionColour);
        QTest::keyRelease(cell(7), Qt::Key_Left);
        QCOMPARE(cell(7)->text(), QStringLiteral("4"));
        QCOMPARE(cell(7)->backgroundColour(), kPuzzleColour);
        QVERIFY(!window->state.unchangedFlag);
    }

    void deletingKeepsTheFlag()
    {
        QTest::keyClick(cell(3), Qt::Key_Delete);
        QVERIFY(window->state.unchangedFlag);
        QCOMPARE(cell(3)->backgroundColour(), kEmptyCellColour);
    }

    void screenReadersGetNamesAndTheCellKinds()
    {
        QAccessibleInterface* cell23 = QAccessible::queryAccessibleInterface(cell(23));
        QCOMPARE(cell23->text(QAccessible::Name), QStringLiteral("Zeile 3, Spalte 5"));
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("leeres Feld"));
        enter(23, QStringLiteral("4"));
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("vorgegebene Zahl"));
        QCOMPARE(cell23->text(QAccessible::Value), QStringLiteral("4"));
        cell(23)->setBackgroundColour(kSolutionColour);
        QCOMPARE(cell23->text(QAccessible::Description), QStringLiteral("gelöste Zahl"));

        const auto nameOf = [this](const char* objectName) {
            return QAccessible::queryAccessibleInterface(window->findChild<QWidget*>(QLatin1String(objectName)))
                ->text(QAccessible::Name);
        };
        QCOMPARE(nameOf("solve_cmd"), QStringLiteral("ZifRax-Rätsel lösen"));
        QCOMPARE(nameOf("stop_chk"), QStringLiteral("Berechnung anhalten"));
        QCOMPARE(nameOf("brute_force_lbl(1)"), QStringLiteral("Brute Force"));
        QCOMPARE(nameOf("rechenzeit_lbl(2)"), QStringLiteral("Rechenzeit Minuten"));
    }

    void solveCopiesTheCellsLocksTheControlsAndWritesTheSolution()
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
        QSignalSpy newPuzzle(window->findChild<QAction*>(QStringLiteral("M_neu")), &QAction::triggered);
        // Runs at the first progress report, inside the solve.
        QTimer::singleShot(0, this, [&] {
            lockedWhileSolving = !window->findChild<QMenu*>(QStringLiteral("M_raetsel"))->isEnabled()
                && !button("solve_cmd")->isEnabled() && cell(40)->isReadOnly();
            QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
            const GridArray before = window->solverModule().loesung;
            cell(10)->setText(QStringLiteral("9"));
            QTest::keyRelease(cell(10), Qt::Key_9);  // refused while solving
            workingGridUntouched = window->solverModule().loesung == before;
        });
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);

        QVERIFY(lockedWhileSolving);
        QVERIFY(workingGridUntouched);
        QCOMPARE(newPuzzle.count(), 0);
        QVERIFY(window->findChild<QMenu*>(QStringLiteral("M_raetsel"))->isEnabled());
        QVERIFY(button("solve_cmd")->isEnabled());
        QVERIFY(!cell(40)->isReadOnly());

        const Zifrax_bas& bas = window->solverModule();
        QCOMPARE(bas.vorgabe[1], 5);
        QCOMPARE(bas.vorgabe[9], 0);
        const std::array<std::int32_t, 11> firstRow{0, 1, 2, 0, 4, 0, 6, 0, 8, 9, 6};
        QCOMPARE(bas.zeilenfrei[1], firstRow);
        for (int i = 1; i <= 81; ++i)
            QCOMPARE(cell(i)->text(), solution.mid(i - 1, 1));
        QCOMPARE(cell(3)->backgroundColour(), kSolutionColour);
        QCOMPARE(cell(9)->backgroundColour(), kSolutionColour);
        QCOMPARE(cell(10)->backgroundColour(), kPuzzleColour);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
