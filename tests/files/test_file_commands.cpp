// SPDX-License-Identifier: GPL-3.0-or-later
// Load, save, save as and puzzle lines as a user meets them: the file
// dialogs, the caption, and the messages about files that cannot be used or
// written. The save question's answers are typed in the X11 test.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_commands.h"
#include "files/puzzle_folder.h"
#include "tests/app/window_test.h"
#include "tests/full_disk.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

const QByteArray kMagic = "* Zifrax R\xE4tseldatei *\r\n";

}  // namespace

class FileCommandsTest : public WindowTest {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;

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
        openWindow();
    }

    void puzzleLines_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("grid");  // the grid as a puzzle line afterwards; empty: no puzzle line
        QTest::addColumn<bool>("rulesHold");
        const QString line =  // a puzzle with a solution, row by row, 0 for an empty cell
            QStringLiteral("530070000600195000098000060800060003400803001700020006060000280000419005000080079");
        QString rows;  // with dots, blanks and a tab
        for (int row = 0; row < 9; ++row)
            rows += QString(line.mid(row * 9, 9)).replace('0', '.') + (row == 4 ? " \t\r\n" : "\r\n");
        QTest::newRow("digits") << line << line << true;
        QTest::newRow("nine lines") << rows << line << true;
        QTest::newRow("two 5s in row 1") << "535" + line.mid(3) << "535" + line.mid(3) << false;
        QTest::newRow("too short") << line.left(80) << QString() << true;
        QTest::newRow("too long") << line + "0" << QString() << true;
        QTest::newRow("bad character") << "x" + line.mid(1) << QString() << true;
    }
    // A puzzle line pasted over a loaded grid replaces it as givens, each
    // digit evaluated as if typed, and the caption and path are reset as by
    // "Neu"; any other text goes into the cell, where cell entry refuses it.
    // Strg+C without a selection copies the grid, givens and solver digits.
    void puzzleLines()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, grid);
        QFETCH(bool, rulesHold);
        const QString loaded = file("a.zfx", kMagic + "L\xF6sungstellung: ******\r\n 0 0 0 0 0 0 0 0 9");
        window->fileCommands().loadFile(loaded);
        QGuiApplication::clipboard()->setText(clipboard);

        QCOMPARE(run([&] { QTest::keyClick(cell(3), Qt::Key_V, Qt::ControlModifier); }), QStringList());
        const bool replaced = !grid.isEmpty();
        const QString expected = replaced ? grid : "000000009" + QString(72, '0');
        for (int i = 1; i <= 81; ++i) {
            QCOMPARE(cell(i)->text(), expected[i - 1] == '0' ? QString() : QString(expected[i - 1]));
            QCOMPARE(cell(i)->backgroundColour(),
                     expected[i - 1] == '0' ? kEmptyCellColour : replaced ? kPuzzleColour : kSolutionColour);
        }
        QCOMPARE(solvable(), rulesHold);
        QCOMPARE(window->state.unchangedFlag, !replaced);
        QCOMPARE(window->windowTitle(), window->state.programTitle + (replaced ? "" : " (a.zfx)"));
        QCOMPARE(window->state.currentFilePath, replaced ? QString() : loaded);
        QTest::keyClick(cell(3), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }

    // "Speichern" without a path acts as "Speichern unter", with one it
    // writes at once. A failed save says why and keeps the last path and
    // caption; a cancelled save dialog forgets the path but keeps the
    // caption; "Neu" forgets it even when its question is cancelled.
    void savingAndThePath()
    {
        type(1, "9");
        const QString saved = file("ohne Endung");  // no suffix is added
        QCOMPARE(run("M_speichern", {saved}), QStringList{"speicher_dlg"});
        type(2, "8");
        QCOMPARE(run("M_speichern"), QStringList());
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly) && written.readAll().contains("\r\n 9 8 0 0 0 0 0 0 0\r\n"));

        const QString failed = file("fehlt/neu.zfx");
        QCOMPARE(run("M_speichern_unter", {failed}),
                 (QStringList{"speicher_dlg", "Zifrax for Windows: Das Rätsel kann nicht in der Datei " + failed +
                                                  " gespeichert werden.\n\nDen Ordner " + file("fehlt") + " gibt es nicht."}));
        QCOMPARE(window->state.currentFilePath, saved);
        QCOMPARE(run("M_speichern_unter"), QStringList{"speicher_dlg"});
        QVERIFY(window->state.currentFilePath.isEmpty());
        QCOMPARE(window->windowTitle(), window->state.programTitle + " (ohne Endung)");

        window->state.currentFilePath = saved;
        run("M_neu", {"Abbrechen"});
        QCOMPARE(cell(1)->text(), QStringLiteral("9"));
        QVERIFY(window->state.currentFilePath.isEmpty());
    }

    void loadChosenFile_data()
    {
        QTest::addColumn<bool>("fromCommandLine");  // else through the load command's dialog
        QTest::addColumn<QByteArray>("content");     // null: there is no file; "<pipe>": a named pipe
        QTest::addColumn<QString>("message");        // %1 is the path; empty: none
        const QString unreadable = QStringLiteral("Die Datei %1 kann nicht geladen werden.\n\n");
        const QByteArray puzzle = "R\xE4tselstellung: ******\r\n 5\r\n";
        for (const bool fromCommandLine : {false, true}) {
            const char* way = fromCommandLine ? "command line" : "dialog";
            QTest::addRow("%s: puzzle", way) << fromCommandLine << kMagic + puzzle << QString();
            QTest::addRow("%s: missing", way) << fromCommandLine << QByteArray() << unreadable + "Die Datei gibt es nicht.";
            QTest::addRow("%s: over 1 MiB", way) << fromCommandLine << QByteArray(1024 * 1024 + 1, ' ')
                                                 << unreadable + "Sie ist größer als 1 MiB und damit keine Zifrax-Rätseldatei.";
            QTest::addRow("%s: named pipe", way)
                << fromCommandLine << QByteArray("<pipe>")
                << unreadable + "Das ist keine gewöhnliche Datei, sondern ein Ordner, eine Pipe oder ein Gerät.";
            QTest::addRow("%s: defective", way) << fromCommandLine << "* zifrax R\xE4tseldatei *\r\n" + puzzle
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
        QCOMPARE(fromCommandLine ? run([&] { window->fileCommands().loadFile(path); }) : run("M_laden", {path}), expected);
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
        for (const char* command : {"M_speichern_unter", "M_neu", "M_end", "M_laden"})
            QTest::newRow(command) << command << "neu.zfx";
    }
    // With the disk full, a save says why, keeps the old file, leaves no new
    // one, and the command goes no further.
    void failedWrite()
    {
        QFETCH(QString, name);
        QFETCH(QString, target);
        FullDisk disk(folder->path());
        const QByteArray old = kMagic + "R\xE4tselstellung: ******\r\n 7\r\n";
        file("alt.zfx", old);
        const QString path = file(target);
        QVERIFY(target != "pipe" || mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        type(41, "4");
        window->state.currentFilePath = path;
        QStringList replies{path}, expected{"speicher_dlg"};
        if (name == "M_speichern")
            replies.clear(), expected.clear();
        else if (name != "M_speichern_unter")
            replies.prepend("Ja"), expected.prepend((name == "M_neu" ? "ZifRax" : "Zifrax") + QStringLiteral(" for Windows: Möchten Sie das Rätsel speichern ?"));
        disk.fill();
        QStringList seen = run(qPrintable(name), replies);

        const QString failure = seen.isEmpty() ? QString() : seen.takeLast();
        QCOMPARE(seen, expected);
        const QString message = "Zifrax for Windows: Das Rätsel kann nicht in der Datei " + path + " gespeichert werden.\n\n";
        QVERIFY2(failure.startsWith(message) && failure.size() > message.size() + 10, qPrintable(failure));
        QFile oldFile(file("alt.zfx"));
        QVERIFY(oldFile.open(QIODevice::ReadOnly));
        QCOMPARE(oldFile.readAll(), old);
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
            auto* view = dialog->findChild<QListView*>("listView");
            dialog->setDirectory(folder->path());
            for (const QString& filter : dialog->nameFilters()) {
                dialog->selectNameFilter(filter);
                filters << dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
                QTest::qWait(300);  // the folder is read in the background
                listed << QStringList();
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                    listed.last() << view->model()->index(row, 0, view->rootIndex()).data().toString();
            }
            dialog->reject();
        });
        named<QAction>(name)->trigger();
        QCOMPARE(filters, (QStringList{puzzleFilter, "alle Dateien (*.*)"}));
        QCOMPARE(listed, (QList<QStringList>{{"a.zfx"}, {"a.zfx", "b.txt", "ohne Endung"}}));
    }

    void puzzleFolderIsWritable_data()
    {
        QTest::addColumn<QString>("beside");  // the "Rätsel" folder beside the program
        for (const char* beside : {"writable", "read-only", "missing"})
            QTest::newRow(beside) << beside;
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
