// A solve as the user runs it: a puzzle typed into the window key by key,
// the solve button clicked, the cells, labels and message boxes read back.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "tests/grid_text.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// Closes every message box that opens, noting its title, text and icon.
class MessageWatch {
public:
    MessageWatch()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->windowTitle() + " | " + box->text();
                warningIcon = box->icon() == QMessageBox::Warning;
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start(10);
    }

    QStringList shown;
    bool warningIcon = false;

private:
    QTimer timer_;
};

}  // namespace

class SolveGuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ZifRax_frm> window;

    CellEdit* cell(int index) { return window->findChild<CellEdit*>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(QLatin1String(name)); }
    QString label(const char* name) { return window->findChild<QLabel*>(QLatin1String(name))->text(); }

    void typePuzzle(const char* puzzle)
    {
        for (int index = 1; index <= kCellCount; ++index)
            if (puzzle[index - 1] != '.')
                QTest::keyClicks(cell(index), QString(QLatin1Char(puzzle[index - 1])));
    }
    QString cellTexts()
    {
        QString text;
        for (int index = 1; index <= kCellCount; ++index)
            text += cell(index)->text().isEmpty() ? QStringLiteral(".") : cell(index)->text();
        return text;
    }
    bool controlsEnabled() { return button("solve_cmd")->isEnabled() && window->M_raetsel->isEnabled(); }

private slots:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        window = std::make_unique<ZifRax_frm>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void typedPuzzleIsSolvedInTheCells()
    {
        typePuzzle(kEasyPuzzle);
        QCOMPARE(cellTexts(), QString(kEasyPuzzle));
        QVERIFY(button("solve_cmd")->isEnabled());

        MessageWatch messages;
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);

        QCOMPARE(cellTexts(), QString(kEasySolution));
        for (int index = 1; index <= kCellCount; ++index)
            QCOMPARE(cell(index)->property("backgroundColour").toUInt(),
                     kEasyPuzzle[index - 1] == '.' ? kSolutionColour : kPuzzleColour);
        QCOMPARE(label("variation_lbl(1)"), QString("beendet"));
        QCOMPARE(label("brute_force_lbl(1)"), QString("beendet"));
        QVERIFY(QRegularExpression("^-?\\d+ Sek\\.$").match(label("rechenzeit_lbl(3)")).hasMatch());
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(controlsEnabled());
        QVERIFY(!cell(3)->isReadOnly());
    }

    void puzzleWithoutSolutionIsReportedOnce_data()
    {
        QTest::addColumn<QString>("puzzle");
        QTest::addColumn<QString>("searchLabel");
        // The search is skipped: its label stays empty.
        QTest::newRow("a row without variations") << QString(kRowWithoutVariations) << QString();
        QTest::newRow("no combination of rows") << QString(kNoCombination) << QString("beendet");
    }

    void puzzleWithoutSolutionIsReportedOnce()
    {
        QFETCH(QString, puzzle);
        QFETCH(QString, searchLabel);

        typePuzzle(qPrintable(puzzle));
        MessageWatch messages;
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);

        QCOMPARE(messages.shown, QStringList{"Zifrax for Windows | Dieses Rätsel hat keine gültige Lösung !"});
        QVERIFY(messages.warningIcon);
        QCOMPARE(cellTexts(), puzzle);
        QCOMPARE(label("variation_lbl(1)"), QString("beendet"));
        QCOMPARE(label("brute_force_lbl(1)"), searchLabel);
        QVERIFY(controlsEnabled());
    }

    void stopTickedBeforeTheClickStaysTicked()
    {
        typePuzzle(kEasyPuzzle);
        MessageWatch messages;
        QTest::mouseClick(button("stop_chk"), Qt::LeftButton);
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);

        QCOMPARE(cellTexts(), QString(kEasyPuzzle));
        QCOMPARE(label("variation_lbl(1)"), QString("Zeile: 1"));
        QCOMPARE(label("brute_force_lbl(1)"), QString());
        QVERIFY(button("stop_chk")->isChecked());
        QVERIFY(controlsEnabled());

        QTest::mouseClick(button("stop_chk"), Qt::LeftButton);
        QTest::mouseClick(button("solve_cmd"), Qt::LeftButton);
        QCOMPARE(cellTexts(), QString(kEasySolution));
        QVERIFY(messages.shown.isEmpty());
    }

    // Closing the window during a long search ends the event loop with
    // status 0 as soon as the solve has stopped at its next report; cells
    // take no input meanwhile.
    void closingDuringASolveEndsTheProgram()
    {
        typePuzzle(kHardPuzzle);
        MessageWatch messages;
        QString typedDuringSolve = QStringLiteral("not typed");
        QTimer::singleShot(0, button("solve_cmd"), &QPushButton::click);
        // Closes once the search has reported, however fast it runs.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, window.get(), [this, &typedDuringSolve, &closer] {
            if (!label("brute_force_lbl(1)").startsWith(QStringLiteral("Durchläufe")))
                return;
            closer.stop();
            QTest::keyClicks(cell(1), QStringLiteral("4"));
            typedDuringSolve = cell(1)->text();
            window->close();
        });
        closer.start(0);

        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(typedDuringSolve, QString());
        QVERIFY(window->isHidden());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(cellTexts(), QString(kHardPuzzle));
        QVERIFY(label("brute_force_lbl(1)") != QStringLiteral("beendet"));
    }
};

QTEST_MAIN(SolveGuiTest)
#include "test_solve_gui.moc"
