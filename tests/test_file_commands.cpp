// Load, save, save as, new puzzle and program end as a user meets them: the
// question whether to save, the file dialogs, the caption, the current file
// path, and the messages about files that cannot be used.
#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "files/file_commands.h"

using namespace zifrax;

namespace {

// Plays the user's part in the modal dialogs and message boxes that a
// command opens: each step handles the next one that appears, and every one
// is noted in `seen` as "kind title: text". A modal widget that no step
// expects is noted as unexpected and closed, and so is one that a step
// failed to close, so that a faulty command cannot hang the test.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalScript(const std::vector<Step>& steps) : steps_(steps.begin(), steps.end())
    {
        connect(&timer_, &QTimer::timeout, this, &ModalScript::poll);
        timer_.start(5);
    }

    QStringList seen;
    bool finished() const { return steps_.empty(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        const bool known = modal && handled_.contains(modal);
        if (known && ++pollsOnHandled_ == kPatience) {
            seen << QStringLiteral("stuck");
            modal->close();
        }
        if (!modal || known)
            return;
        handled_ << modal;
        pollsOnHandled_ = 0;
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            seen << QStringLiteral("box %1: %2").arg(box->windowTitle(), box->text());
        else
            seen << QStringLiteral("%1 %2").arg(modal->objectName(), modal->windowTitle());
        if (steps_.empty()) {
            seen << QStringLiteral("unexpected");
            modal->close();
            return;
        }
        // Run apart from this timer, which does not fire again while its own
        // handler runs: the step may open a further modal widget and wait there.
        QTimer::singleShot(0, modal, [step = steps_.front(), modal] { step(modal); });
        steps_.pop_front();
    }

    static constexpr int kPatience = 1000;  // polls before a widget counts as stuck

    std::deque<Step> steps_;
    QTimer timer_;
    int pollsOnHandled_ = 0;
    QList<QPointer<QWidget>> handled_;  // a dialog is active again once its question closes
};

ModalScript::Step answer(QMessageBox::StandardButton button)
{
    return [button](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(button)->click(); };
}

ModalScript::Step closeBox()
{
    return [](QWidget* modal) { modal->close(); };
}

ModalScript::Step choose(const QString& path)
{
    return [path](QWidget* modal) {
        // Typed into the name field, as selectFile leaves a focused field alone.
        modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        qobject_cast<QDialog*>(modal)->accept();
    };
}

ModalScript::Step cancelDialog()
{
    return [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); };
}

const QString kQuestion = QStringLiteral("Möchten Sie das Rätsel speichern ?");
const QString kSaveDialog = QStringLiteral("speicher_dlg ein ZifRax-Rätsel speichern...");
const QString kLoadDialog = QStringLiteral("laden_dlg ein Zifrax für Windows - Rätsel laden ...");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ZifRax_frm> window;
    std::unique_ptr<QTemporaryDir> folder;
    int programEnds = 0;

    CellEdit* cell(int index) { return window->raetsel_txt(index); }
    QString inFolder(const QString& name) { return folder->filePath(name); }

    void type(int index, const QString& digit)
    {
        cell(index)->setText(digit);
        QTest::keyRelease(cell(index), Qt::Key_Right);
    }

    // Runs a menu command while the script answers what it opens.
    QStringList run(QAction* command, const std::vector<ModalScript::Step>& steps)
    {
        ModalScript script(steps);
        command->trigger();
        if (!script.finished())
            script.seen << QStringLiteral("steps left over");
        return script.seen;
    }

    // "Rätsel 1.zfx": 5 given in cell 1, 7 solved in cell 81.
    QString puzzleFile()
    {
        const QString path = inFolder(QStringLiteral("Rätsel 1.zfx"));
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("* Zifrax R\xE4tseldatei *\r\nR\xE4tselstellung: ******\r\n 5\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                       "\r\n\r\nL\xF6sungstellung: ******\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n 0 0 0 0 0 0 0 0 7\r\n");
        return path;
    }

    QString captionWith(const QString& fileTitle) { return window->state.programTitle + " (" + fileTitle + ")"; }

private slots:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        window = std::make_unique<ZifRax_frm>();
        programEnds = 0;
        window->quitApplication = [this] { ++programEnds; };
        window->show();
    }

    void cleanup()
    {
        window.reset();
        folder.reset();
    }

    void saveQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("reply");  // a standard button, or 0 for the box closed
        const QString replyNames[] = {"Ja", "Nein", "Abbrechen", "closed"};
        const int replies[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, 0};
        for (const QString command : {"M_neu", "M_end", "M_laden"})
            for (int k = 0; k < 4; ++k)
                QTest::newRow(qPrintable(command + ' ' + replyNames[k])) << command << replies[k];
    }

    void saveQuestion()
    {
        QFETCH(QString, command);
        QFETCH(int, reply);
        const bool newPuzzle = command == "M_neu", load = command == "M_laden";
        const bool goesOn = reply == QMessageBox::Yes || reply == QMessageBox::No;
        const QString earlierPath = inFolder(QStringLiteral("früher.zfx"));
        const QString savedPath = inFolder(QStringLiteral("gesichert.zfx"));
        const QString loadPath = puzzleFile();
        type(40, QStringLiteral("3"));
        window->state.currentFilePath = earlierPath;
        window->rechenzeit_lbl(3)->setText(QStringLiteral("12"));
        const QString caption = window->windowTitle();

        QString boxDetails;
        const ModalScript::Step question = [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            boxDetails = QStringLiteral("%1 %2 %3 %4 %5")
                             .arg(int(box->icon()))
                             .arg(box->defaultButton() == box->button(QMessageBox::Yes))
                             .arg(box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text(),
                                  box->button(QMessageBox::Cancel)->text());
            (reply ? answer(QMessageBox::StandardButton(reply)) : closeBox())(modal);
        };
        QStringList expected{QStringLiteral("box %1: %2")
                                 .arg(newPuzzle ? "ZifRax for Windows" : "Zifrax for Windows", kQuestion)};
        std::vector<ModalScript::Step> steps{question};
        if (reply == QMessageBox::Yes && load) {
            steps = {question, choose(savedPath), choose(loadPath)};
            expected << kSaveDialog << kLoadDialog;
        } else if (reply == QMessageBox::Yes) {
            steps = {question, choose(savedPath)};
            expected << kSaveDialog;
        } else if (reply == QMessageBox::No && load) {
            steps = {question, choose(loadPath)};
            expected << kLoadDialog;
        }

        QCOMPARE(run(window->findChild<QAction*>(command), steps), expected);
        QCOMPARE(boxDetails, QStringLiteral("%1 1 Ja Nein Abbrechen").arg(int(QMessageBox::Question)));
        QCOMPARE(QFile::exists(savedPath), reply == QMessageBox::Yes);
        if (reply == QMessageBox::Yes)
            QVERIFY(readFile(savedPath).contains(" 0 0 0 3 0 0 0 0 0\r\n"));

        QCOMPARE(programEnds, command == "M_end" && goesOn ? 1 : 0);
        if (command == "M_end" && goesOn) {
            QCOMPARE(cell(40)->text(), QStringLiteral("3"));
            return;
        }
        if (!goesOn) {
            // Nothing changed, except that "Neu" forgets the path even then.
            QCOMPARE(cell(40)->text(), QStringLiteral("3"));
            QCOMPARE(window->windowTitle(), caption);
            QCOMPARE(window->rechenzeit_lbl(3)->text(), QStringLiteral("12"));
            QCOMPARE(window->state.unchangedFlag, false);
            QCOMPARE(window->state.currentFilePath, newPuzzle ? QString() : earlierPath);
            return;
        }
        QCOMPARE(cell(40)->text(), QString());
        QCOMPARE(cell(40)->backgroundColour(), kEmptyCellColour);
        QCOMPARE(window->rechenzeit_lbl(3)->text(), QString());
        QCOMPARE(window->state.unchangedFlag, true);
        QCOMPARE(window->state.currentFilePath, load ? loadPath : QString());
        QCOMPARE(window->windowTitle(),
                 load ? captionWith(QStringLiteral("Rätsel 1.zfx")) : window->state.programTitle);
    }

    void noQuestionWhileUnchanged()
    {
        // Right after start and right after a load the flag is True.
        QCOMPARE(run(window->M_laden, {choose(puzzleFile())}), QStringList{kLoadDialog});
        QCOMPARE(run(window->M_laden, {cancelDialog()}), QStringList{kLoadDialog});
        QCOMPARE(run(window->M_neu, {}), QStringList());
        QCOMPARE(run(window->M_end, {}), QStringList());
        QCOMPARE(programEnds, 1);
    }

    void loadRestoresBothColours()
    {
        type(2, QStringLiteral("4"));
        window->state.unchangedFlag = true;
        run(window->M_laden, {choose(puzzleFile())});

        QCOMPARE(cell(1)->text(), QStringLiteral("5"));
        QCOMPARE(cell(1)->backgroundColour(), kPuzzleColour);
        QCOMPARE(cell(81)->text(), QStringLiteral("7"));
        QCOMPARE(cell(81)->backgroundColour(), kSolutionColour);
        QCOMPARE(cell(2)->text(), QString());  // cleared before reading
        QCOMPARE(window->windowTitle(), captionWith(QStringLiteral("Rätsel 1.zfx")));
        QCOMPARE(window->state.loadedFileTitle, QStringLiteral("Rätsel 1.zfx"));

        // A cancelled open dialog forgets the path but keeps the rest.
        run(window->M_laden, {cancelDialog()});
        QCOMPARE(window->state.currentFilePath, QString());
        QCOMPARE(window->state.loadedFileTitle, QStringLiteral("Rätsel 1.zfx"));
        QCOMPARE(window->windowTitle(), captionWith(QStringLiteral("Rätsel 1.zfx")));
        QCOMPARE(cell(1)->text(), QStringLiteral("5"));
    }

    void saveWithoutPathActsAsSaveAs()
    {
        type(1, QStringLiteral("9"));
        const QString path = inFolder(QStringLiteral("ohne Endung"));  // no ".zfx" added
        QCOMPARE(run(window->M_speichern, {choose(path)}), QStringList{kSaveDialog});
        QCOMPARE(window->state.currentFilePath, path);
        QCOMPARE(window->windowTitle(), captionWith(QStringLiteral("ohne Endung")));
        QVERIFY(readFile(path).contains("\r\n 9 0 0 0 0 0 0 0 0\r\n"));

        // Now "Speichern" writes to the same file without a dialog.
        type(2, QStringLiteral("8"));
        QCOMPARE(run(window->M_speichern, {}), QStringList());
        QVERIFY(readFile(path).contains("\r\n 9 8 0 0 0 0 0 0 0\r\n"));
        QCOMPARE(window->state.unchangedFlag, false);  // saving does not change it

        // Saving as onto an existing file asks before replacing it.
        const QStringList seen = run(window->M_speichern_unter, {choose(path), answer(QMessageBox::Yes)});
        QVERIFY2(seen.size() == 2 && seen[1].startsWith(QStringLiteral("box ")), qPrintable(seen.join('|')));

        // A cancelled save dialog forgets the path and writes nothing.
        QCOMPARE(run(window->M_speichern_unter, {cancelDialog()}), QStringList{kSaveDialog});
        QCOMPARE(window->state.currentFilePath, QString());
        QCOMPARE(window->windowTitle(), captionWith(QStringLiteral("ohne Endung")));
    }

    void failedSaveChangesNothing()
    {
        type(1, QStringLiteral("9"));
        window->state.currentFilePath = inFolder(QStringLiteral("bisher.zfx"));
        const QString caption = window->windowTitle();
        const QString path = inFolder(QStringLiteral("fehlt/neu.zfx"));
        const QStringList seen = run(window->M_speichern_unter, {choose(path), answer(QMessageBox::Ok)});

        QCOMPARE(seen.size(), 2);
        QVERIFY2(seen[1].startsWith(QStringLiteral("box Zifrax for Windows: Das Rätsel kann nicht in der Datei ") +
                                    path + QStringLiteral(" gespeichert werden.")),
                 qPrintable(seen[1]));
        QVERIFY(seen[1].contains(QStringLiteral("Den Ordner")));
        QCOMPARE(window->state.currentFilePath, inFolder(QStringLiteral("bisher.zfx")));
        QCOMPARE(window->windowTitle(), caption);
    }

    void unreadableFileKeepsGrid_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "fehlt.zfx" << "Die Datei gibt es nicht.";
        QTest::newRow("over 1 MiB") << "gross.zfx" << "Sie ist größer als 1 MiB";
    }

    void unreadableFileKeepsGrid()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QFile big(inFolder(QStringLiteral("gross.zfx")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray("* Zifrax R\xE4tseldatei *\r\n").append(QByteArray(1024 * 1024, ' ')));
        big.close();
        type(1, QStringLiteral("6"));
        window->state.unchangedFlag = true;
        const QString caption = window->windowTitle();

        const QString path = inFolder(name);
        const QStringList seen = run(window->M_laden, {choose(path), answer(QMessageBox::Ok)});
        QCOMPARE(seen.size(), 2);
        QVERIFY2(seen[1].startsWith("box Zifrax for Windows: Die Datei " + path + " kann nicht geladen werden."),
                 qPrintable(seen[1]));
        QVERIFY2(seen[1].contains(reason), qPrintable(seen[1]));
        QCOMPARE(cell(1)->text(), QStringLiteral("6"));
        QCOMPARE(cell(1)->backgroundColour(), kPuzzleColour);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->state.currentFilePath, QString());
        QCOMPARE(programEnds, 0);
    }

    void defectiveFileEndsProgram()
    {
        const QString path = inFolder(QStringLiteral("kaputt.zfx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("* zifrax R\xE4tseldatei *\r\nR\xE4tselstellung: ******\r\n 5\r\n");
        file.close();

        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        const QStringList seen = run(window->M_laden, {choose(path), [&](QWidget* modal) {
                                                           auto* box = qobject_cast<QMessageBox*>(modal);
                                                           icon = box->icon();
                                                           buttons = int(box->buttons().size());
                                                           box->button(QMessageBox::Ok)->click();
                                                       }});
        QCOMPARE(seen, (QStringList{kLoadDialog, "box Zifrax for Windows: Die Zifrax - Rätseldatei " + path +
                                                     " ist defekt !!!"}));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, 1);
        QCOMPARE(programEnds, 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(cell(1)->text(), QString());  // no cell set
    }

    void programEndLeavesEventLoop()
    {
        // The real ending, not the observer: the event loop returns with 0.
        ZifRax_frm program;
        program.show();
        QTimer::singleShot(0, program.M_end, &QAction::trigger);
        QTimer fallback;  // rather fail than hang; gone with this test
        fallback.callOnTimeout([] { QApplication::exit(1); });
        fallback.start(60000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!program.isVisible());
    }

    void closeBoxEndsWithoutQuestion()
    {
        type(1, QStringLiteral("6"));
        ModalScript script({});
        QVERIFY(window->close());
        QCOMPARE(script.seen, QStringList());
        QCOMPARE(programEnds, 0);  // the last window closing ends the program by itself
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
