// SPDX-License-Identifier: GPL-3.0-or-later
// Load, save, save as, new puzzle and program end as a user meets them: the
// question whether to save, the file dialogs, the caption, and the messages
// about files that cannot be used.
#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "files/file_commands.h"
#include "files/puzzle_folder.h"

using namespace zifrax;

namespace {

// Runs a command and answers the modal dialogs and boxes it opens in
// turn with the replies: a file dialog gets the path typed in, a box has the
// button of that text clicked, and anything else closes it. Returns what was
// met: a box as "title: text", a dialog by its object name.
QStringList run(const std::function<void()>& command, const QStringList& replies)
{
    QStringList seen;
    QTimer timer;
    timer.callOnTimeout([&] {
        // Marked, as a dialog is active again once a box it opened is closed.
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answered").toBool())
            return;
        modal->setProperty("answered", true);
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen << (box ? box->windowTitle() + ": " + box->text() : modal->objectName());
        // Answered apart from this timer: the answer may open a further modal widget.
        QTimer::singleShot(0, modal, [modal, box, reply = replies.value(seen.size() - 1)] {
            if (auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); name && !reply.isEmpty()) {
                name->setText(reply);
                return qobject_cast<QDialog*>(modal)->accept();
            }
            for (QAbstractButton* button : box ? box->buttons() : QList<QAbstractButton*>())
                if (button->text().remove(QLatin1Char('&')) == reply)
                    return button->click();
            modal->close();
        });
    });
    timer.start(5);
    command();
    return seen;
}

QStringList run(QAction* command, const QStringList& replies)
{
    return run([command] { command->trigger(); }, replies);
}

// A puzzle with a solution, row by row, 0 for an empty cell.
const QString kPuzzleLine =
    QStringLiteral("530070000600195000098000060800060003400803001700020006060000280000419005000080079");

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ZifRax_frm> window;
    int programEnds = 0;

    CellEdit* cell(int index) { return window->findChild<CellEdit*>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    QAction* command(const char* name) { return window->findChild<QAction*>(name); }

    void type(int index, const char* digit)
    {
        cell(index)->setText(QString::fromLatin1(digit));
        QTest::keyClick(cell(index), Qt::Key_Right);
    }

    // The path of a file in the folder of this test, written with content unless that is null.
    QString file(const QString& name, const QByteArray& content = QByteArray())
    {
        QFile out(folder->filePath(name));
        if (!content.isNull() && out.open(QIODevice::WriteOnly))
            out.write(content);
        return out.fileName();
    }

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

    void saveQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("reply");  // empty: the box is closed
        for (const char* command : {"M_neu", "M_end", "M_laden", "Strg+V"})
            for (const char* reply : {"Ja", "Nein", "Abbrechen", ""})
                QTest::addRow("%s %s", command, reply) << command << reply;
    }

    // After a digit was typed, the three commands and pasting a puzzle line
    // ask; Yes saves as first, Yes and No go on, Cancel and closing the box
    // change nothing.
    void saveQuestion()
    {
        QFETCH(QString, command);
        QFETCH(QString, reply);
        const bool goesOn = reply == "Ja" || reply == "Nein", load = command == "M_laden";
        const bool paste = command == "Strg+V";
        QGuiApplication::clipboard()->setText(kPuzzleLine);
        const QString puzzle = file("Rätsel 1.zfx", "* Zifrax R\xE4tseldatei *\r\nL\xF6sungstellung: ******\r\n 7");
        type(41, "3");
        QStringList replies{reply}, expected{(command == "M_neu" || paste ? "ZifRax" : "Zifrax") +
                                             QStringLiteral(" for Windows: Möchten Sie das Rätsel speichern ?")};
        if (reply == "Ja")
            expected << "speicher_dlg", replies << file("gesichert.zfx");
        if (goesOn && load)
            expected << "laden_dlg", replies << puzzle;

        QCOMPARE(paste ? run([&] { QTest::keyClick(cell(40), Qt::Key_V, Qt::ControlModifier); }, replies)
                       : run(window->findChild<QAction*>(command), replies),
                 expected);
        QCOMPARE(QFile::exists(file("gesichert.zfx")), reply == "Ja");
        QCOMPARE(programEnds, command == "M_end" && goesOn ? 1 : 0);
        QCOMPARE(cell(41)->text(), goesOn && command != "M_end" ? "" : "3");
        if (goesOn && load) {  // the caption names the file; the solved digit keeps its colour
            QCOMPARE(window->windowTitle(), window->state.programTitle + " (Rätsel 1.zfx)");
            QCOMPARE(cell(1)->backgroundColour(), kSolutionColour);
        }
        QCOMPARE(cell(1)->text(), paste && goesOn ? "5" : load && goesOn ? "7" : "");
    }

    void pastePuzzleLine_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("grid");  // the grid as a puzzle line afterwards; empty: no puzzle line
        QTest::addColumn<bool>("solvable");
        const QString line = kPuzzleLine;
        QString rows;
        for (int row = 0; row < 9; ++row)
            rows += line.mid(row * 9, 9) + "\r\n";
        QTest::newRow("digits") << line << line << true;
        QTest::newRow("dots and blanks") << QString(line).replace('0', '.').insert(40, " \t ") << line << true;
        QTest::newRow("nine lines") << rows << line << true;
        QTest::newRow("two 5s in row 1") << "535" + line.mid(3) << "535" + line.mid(3) << false;
        QTest::newRow("too short") << line.left(80) << QString() << true;
        QTest::newRow("too long") << line + "0" << QString() << true;
        QTest::newRow("bad character") << "x" + line.mid(1) << QString() << true;
    }

    // A puzzle line replaces a loaded grid as givens, each digit evaluated as
    // if typed, and the caption and path are reset as by "Neu"; any other
    // text goes into the cell, where cell entry refuses it.
    void pastePuzzleLine()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, grid);
        QFETCH(bool, solvable);
        const QString loaded = file("a.zfx", "* Zifrax R\xE4tseldatei *\r\nL\xF6sungstellung: ******\r\n 0 0 0 0 0 0 0 0 9");
        window->fileCommands().loadFile(loaded);
        QGuiApplication::clipboard()->setText(clipboard);

        QCOMPARE(run([&] { QTest::keyClick(cell(3), Qt::Key_V, Qt::ControlModifier); }, {}), QStringList());
        const bool replaced = !grid.isEmpty();
        for (int i = 1; i <= 81; ++i) {
            const QChar digit = replaced ? grid[i - 1] : i == 9 ? QChar('9') : QChar('0');
            QCOMPARE(cell(i)->text(), digit == '0' ? QString() : QString(digit));
            QCOMPARE(cell(i)->backgroundColour(),
                     digit == '0' ? kEmptyCellColour : replaced ? kPuzzleColour : kSolutionColour);
        }
        QCOMPARE(window->findChild<QPushButton*>("solve_cmd")->isEnabled(), solvable);
        QCOMPARE(window->state.unchangedFlag, !replaced);
        QCOMPARE(window->windowTitle(), window->state.programTitle + (replaced ? "" : " (a.zfx)"));
        QCOMPARE(window->state.currentFilePath, replaced ? QString() : loaded);
    }

    // Strg+C without a selection copies the grid, givens and solver digits;
    // with a selection it copies the selected text as any edit box does.
    void copyPuzzleLine()
    {
        window->fileCommands().loadFile(file("a.zfx", "* Zifrax R\xE4tseldatei *\r\nR\xE4tselstellung: ******\r\n 0 5" +
                                                     QByteArray("\r\n").repeated(9) +
                                                     "L\xF6sungstellung: ******\r\n 0 0 0 0 0 0 0 0 9"));
        QTest::keyClick(cell(2), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), "050000009" + QString(72, '0'));
        cell(2)->selectAll();
        QTest::keyClick(cell(2), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("5"));
    }

    // A cancelled save dialog forgets the path but keeps the caption; "Neu"
    // forgets it even when its question is cancelled.
    void cancelAndNewForgetThePath()
    {
        type(1, "9");
        const QString saved = file("a.zfx");
        run(command("M_speichern_unter"), {saved});
        QCOMPARE(window->state.currentFilePath, saved);
        QCOMPARE(run(command("M_speichern_unter"), {}), QStringList{"speicher_dlg"});
        QVERIFY(window->state.currentFilePath.isEmpty());
        QCOMPARE(window->windowTitle(), window->state.programTitle + " (a.zfx)");

        window->state.currentFilePath = saved;
        run(command("M_neu"), {"Abbrechen"});
        QCOMPARE(cell(1)->text(), QStringLiteral("9"));
        QVERIFY(window->state.currentFilePath.isEmpty());
    }

    void saveWithoutPathActsAsSaveAs()
    {
        type(1, "9");
        const QString saved = file("ohne Endung");  // no suffix is added
        QCOMPARE(run(command("M_speichern"), {saved}), QStringList{"speicher_dlg"});
        type(2, "8");  // with a path, "Speichern" writes at once
        QCOMPARE(run(command("M_speichern"), {}), QStringList());
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly) && written.readAll().contains("\r\n 9 8 0 0 0 0 0 0 0\r\n"));

        // A failed save says why and leaves the path and the caption of the last one.
        const QString failed = file("fehlt/neu.zfx");
        QCOMPARE(run(command("M_speichern_unter"), {failed}),
                 (QStringList{"speicher_dlg", "Zifrax for Windows: Das Rätsel kann nicht in der Datei " + failed +
                                                  " gespeichert werden.\n\nDen Ordner " +
                                                  file("fehlt") + " gibt es nicht."}));
        QCOMPARE(window->windowTitle(), window->state.programTitle + " (ohne Endung)");
    }

    void loadChosenFile_data()
    {
        QTest::addColumn<bool>("fromCommandLine");  // else through the load command's dialog
        QTest::addColumn<QByteArray>("content");     // null: there is no file; "<pipe>": a named pipe
        QTest::addColumn<QString>("message");        // %1 is the path; empty: none
        const QString unreadable = QStringLiteral("Die Datei %1 kann nicht geladen werden.\n\n");
        for (const bool fromCommandLine : {false, true}) {
            const char* way = fromCommandLine ? "command line" : "dialog";
            QTest::addRow("%s: puzzle", way)
                << fromCommandLine << QByteArray("* Zifrax R\xE4tseldatei *\r\nR\xE4tselstellung: ******\r\n 5\r\n")
                << QString();
            QTest::addRow("%s: missing", way) << fromCommandLine << QByteArray() << unreadable + "Die Datei gibt es nicht.";
            QTest::addRow("%s: over 1 MiB", way)
                << fromCommandLine << QByteArray(1024 * 1024 + 1, ' ')
                << unreadable + "Sie ist größer als 1 MiB und damit keine Zifrax-Rätseldatei.";
            QTest::addRow("%s: named pipe", way)
                << fromCommandLine << QByteArray("<pipe>")
                << unreadable + "Das ist keine gewöhnliche Datei, sondern ein Ordner, eine Pipe oder ein Gerät.";
            QTest::addRow("%s: defective", way)
                << fromCommandLine << QByteArray("* zifrax R\xE4tseldatei *\r\nR\xE4tselstellung: ******\r\n 5\r\n")
                << QStringLiteral("Die Zifrax - Rätseldatei %1 ist defekt !!!");
        }
    }

    // A file chosen in the load dialog and a file the program was started
    // with load alike: a puzzle replaces the grid and names itself in the
    // caption, a file that cannot be read leaves the grid as it was, and a
    // defective one is reported and ends the program.
    void loadChosenFile()
    {
        QFETCH(bool, fromCommandLine);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const bool loads = message.isEmpty(), defective = message.contains("defekt");
        const bool pipe = content == "<pipe>";
        const QString path = file("datei.zfx", pipe ? QByteArray() : content);
        QVERIFY(!pipe || mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        type(1, "6");
        window->state.unchangedFlag = true;  // so that no question comes first
        QStringList expected;
        if (!fromCommandLine)
            expected << "laden_dlg";
        if (!loads)
            expected << "Zifrax for Windows: " + message.arg(path);
        QCOMPARE(fromCommandLine ? run([&] { window->fileCommands().loadFile(path); }, {})
                                 : run(command("M_laden"), {path}),
                 expected);
        QCOMPARE(programEnds, defective ? 1 : 0);
        QCOMPARE(cell(1)->text(), loads ? "5" : defective ? "" : "6");
        QCOMPARE(window->windowTitle(), window->state.programTitle + (loads ? " (datei.zfx)" : ""));
        QCOMPARE(window->state.currentFilePath, loads || defective ? path : QString());
    }

    void failedWrite_data()
    {
        QTest::addColumn<QString>("name");  // of the command
        QTest::addColumn<QString>("target");  // the file written: an old one, a new one or a named pipe
        QTest::newRow("Speichern") << "M_speichern" << "alt.zfx";
        QTest::newRow("Speichern, pipe") << "M_speichern" << "pipe";
        QTest::newRow("Speichern unter") << "M_speichern_unter" << "neu.zfx";
        for (const char* command : {"M_neu", "M_end", "M_laden"})
            QTest::newRow(command) << command << "neu.zfx";
    }
    // With the disk full, a save says why, keeps the old file, leaves no new
    // one, and the command goes no further. The disk is a small tmpfs where
    // the test may mount one, otherwise a limit lets files grow to 100 bytes.
    void failedWrite()
    {
        QFETCH(QString, name);
        QFETCH(QString, target);
        const bool tmpfs = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder->path()}) == 0;
        const auto unmount = qScopeGuard([&] {
            if (tmpfs)
                QProcess::execute("umount", {folder->path()});
        });
        type(40, "3");
        const QString old = file("alt.zfx");
        run(command("M_speichern_unter"), {old});
        QFile oldFile(old);
        QVERIFY(oldFile.open(QIODevice::ReadOnly));
        const QByteArray oldContent = oldFile.readAll();
        QCOMPARE(oldContent.size(), 534);
        type(41, "4");
        const QString path = file(target);
        QVERIFY(target != "pipe" || mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        window->state.currentFilePath = path;

        QStringList replies{path}, expected{"speicher_dlg"};
        if (name == "M_speichern")
            replies.clear(), expected.clear();
        else if (name != "M_speichern_unter")
            replies.prepend("Ja"), expected.prepend((name == "M_neu" ? "ZifRax" : "Zifrax") +
                                                    QStringLiteral(" for Windows: Möchten Sie das Rätsel speichern ?"));
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit full{tmpfs ? limit.rlim_cur : 100, limit.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        QFile filler(file("Füllung"));
        if (tmpfs && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) > 0) {}
        QStringList seen = run(command(name.toLatin1().constData()), replies);
        setrlimit(RLIMIT_FSIZE, &limit);

        const QString failure = seen.isEmpty() ? QString() : seen.takeLast();
        QCOMPARE(seen, expected);
        const QString message = "Zifrax for Windows: Das Rätsel kann nicht in der Datei " + path +
                                " gespeichert werden.\n\n";
        QVERIFY2(failure.startsWith(message) && failure.size() > message.size() + 10, qPrintable(failure));
        QVERIFY(oldFile.seek(0));
        QCOMPARE(oldFile.readAll(), oldContent);
        QCOMPARE(QFileInfo(path).isFile(), target == "alt.zfx");
        QCOMPARE(cell(41)->text(), QStringLiteral("4"));
        QCOMPARE(programEnds, 0);
    }

    void filtersListWhatTheySay_data()
    {
        QTest::addColumn<QString>("name");  // of the command
        QTest::addColumn<QString>("puzzleFilter");
        QTest::newRow("Laden") << "M_laden" << "Tovrins Zifrax Rätsel(*.zfx)";
        QTest::newRow("Speichern unter") << "M_speichern_unter" << "Tovrins ZifRax Rätsel (*.zfx)";
    }
    // "alle Dateien (*.*)" lists names without a dot too.
    void filtersListWhatTheySay()
    {
        QFETCH(QString, name);
        QFETCH(QString, puzzleFilter);
        for (const char* each : {"a.zfx", "b.txt", "ohne Endung"})
            file(each, "x");
        QStringList filters;
        QList<QStringList> listed;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            auto* view = dialog->findChild<QListView*>("listView");
            dialog->setDirectory(folder->path());
            for (int index = 0; index < types->count(); ++index) {
                filters << types->itemText(index);
                dialog->selectNameFilter(dialog->nameFilters().at(index));
                QTest::qWait(300);  // the folder is read in the background
                QStringList names;
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                    names << view->model()->index(row, 0, view->rootIndex()).data().toString();
                listed << names;
            }
            dialog->reject();
        });
        command(name.toLatin1().constData())->trigger();
        QCOMPARE(filters, (QStringList{puzzleFilter, "alle Dateien (*.*)"}));
        QCOMPARE(listed, (QList<QStringList>{{"a.zfx"}, {"a.zfx", "b.txt", "ohne Endung"}}));
    }

    void puzzleFolderIsWritable_data()
    {
        QTest::addColumn<QString>("beside");  // the "Rätsel" folder beside the program
        QTest::newRow("writable") << "writable";
        QTest::newRow("read-only") << "read-only";
        QTest::newRow("missing") << "missing";
    }
    // The dialogs open beside the program where the user may write there,
    // otherwise in a folder of the user's own, given the samples once.
    void puzzleFolderIsWritable()
    {
        QFETCH(QString, beside);
        const QString program = file("lib"), samples = program + "/Rätsel", documents = file("Dokumente");
        QVERIFY(QDir().mkpath(beside == "missing" ? program : samples));
        file("lib/Rätsel/Leicht.zfx", "x");
        // Root may write anywhere but on a read-only mount.
        const bool mounted = beside == "read-only" && geteuid() == 0;
        if (mounted && QProcess::execute("mount", {"--bind", "-o", "ro", samples, samples}) != 0)
            QSKIP("a read-only folder needs an ordinary user or a bind mount");
        const auto unmount = qScopeGuard([&] {
            if (mounted)
                QProcess::execute("umount", {samples});
        });
        if (beside == "read-only" && !mounted)
            QVERIFY(QFile::setPermissions(samples, QFile::ReadOwner | QFile::ExeOwner));

        const QString own = documents + "/Zifrax-Rätsel";
        QCOMPARE(puzzleFolder(program, documents), beside == "writable" ? samples : own);
        QCOMPARE(QDir(own).entryList(QDir::Files), beside == "read-only" ? QStringList{"Leicht.zfx"} : QStringList());
        QFile::remove(own + "/Leicht.zfx");  // the user's choice: the samples are not copied again
        QCOMPARE(puzzleFolder(program, documents), beside == "writable" ? samples : own);
        QVERIFY(QDir(own).isEmpty());
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
