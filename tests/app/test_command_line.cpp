// SPDX-License-Identifier: GPL-3.0-or-later
// The program's arguments as a shell user meets them: the built program is
// run, and its exit status and output are what count. Starting with a file
// is checked in the file command tests and, under X, by the package check.
#include <QProcess>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // the beginning of standard output
        QTest::addColumn<QString>("err");  // the beginning of standard error
        const QString usage = QStringLiteral("Aufruf: zifrax [DATEI] | --help | --version\n");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Aufruf: zifrax [DATEI]\nZifrax hilft" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Zifrax 15.07.07\n" << "";
        QTest::newRow("short option") << QStringList{"-h"} << 2 << ""
                                      << "zifrax: unbekannte Option „-h“\n" + usage;
        QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen"} << 2 << ""
                                         << "zifrax: unbekannte Option „-platform“\n" + usage;
        QTest::newRow("bad option before help") << QStringList{"--hilfe", "--help"} << 2 << ""
                                                << "zifrax: unbekannte Option „--hilfe“\n";
        QTest::newRow("two files") << QStringList{"a.zfx", "b.zfx"} << 2 << ""
                                   << "zifrax: bitte höchstens eine Datei angeben\n" + usage;
        // After "--" an option's name is a file's: with it, these are two files.
        QTest::newRow("files after --") << QStringList{"--", "--help", "a.zfx"} << 2 << ""
                                        << "zifrax: bitte höchstens eine Datei angeben\n";
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess program;
        program.start(QStringLiteral(ZIFRAX_PROGRAM), arguments);
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        // An empty expectation means no output at all.
        for (const auto& [output, beginning] : {std::pair(program.readAllStandardOutput(), out), {program.readAllStandardError(), err}})
            QVERIFY2(beginning.isEmpty() ? output.isEmpty() : QString::fromUtf8(output).startsWith(beginning), output.constData());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
