// SPDX-License-Identifier: GPL-3.0-or-later
// The puzzle file's bytes: the writer against a hand-written file, the
// reader's line rules, and the reader fed with damaged files.
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <random>

#include "files/puzzle_format.h"

using namespace zifrax;
using namespace zifrax::puzzle_file;

namespace {

// The grid of tests/files/data/solved_grid.zfx, row by row: the givens, and all digits once solved.
constexpr char kGivens[] = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
constexpr char kDigits[] = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

GridDescription solvedGrid()
{
    GridDescription grid;
    for (int i = 1; i <= kCellCount; ++i)
        grid[i] = {std::string(1, kDigits[i - 1]), kGivens[i - 1] == '.' ? kSolutionColour : kPuzzleColour};
    return grid;
}

const std::string kMagic = "* Zifrax R\xE4tseldatei *\r\n";
const std::string kPuzzle = "R\xE4tselstellung: ******";
const std::string kSolved = "L\xF6sungstellung: ******";

// A header, its first grid line and eight empty ones.
std::string section(const std::string& header, const std::string& row1)
{
    return header + "\r\n" + row1 + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
}

// Reads content into a grid whose cell 19 holds a solved 6. Gives the outcome,
// then the cells that are not empty as "index=text" and P or S for the colour.
QString readResult(std::string_view content)
{
    GridDescription grid;
    grid[19] = {"6", kSolutionColour};
    QString out = read(content, grid) == ReadOutcome::Defective ? "defective:" : "read:";
    for (int i = 1; i <= kCellCount; ++i)
        if (grid[i] != CellContent{})
            out += QStringLiteral(" %1=%2%3").arg(i).arg(QString::fromStdString(grid[i].text))
                       .arg(grid[i].colour == kPuzzleColour ? 'P' : grid[i].colour == kSolutionColour ? 'S' : '?');
    return out;
}

}  // namespace

class PuzzleFormatTest : public QObject {
    Q_OBJECT

private slots:
    void filesAreExact_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("hand-written") << QStringLiteral(ZIFRAX_TEST_DATA_DIR "/solved_grid.zfx");
        for (const char* name : {"leicht.zfx", "schwer.zfx", "unloesbar.zfx"})
            QTest::newRow(name) << QStringLiteral(ZIFRAX_SAMPLES_DIR "/") + QLatin1String(name);
    }

    // Reading a file and writing the grid again gives its bytes; the
    // hand-written file reads as the solved grid in both colours.
    void filesAreExact()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string bytes = file.readAll().toStdString();
        GridDescription grid;
        read(bytes, grid);
        QCOMPARE(write(grid), bytes);
        if (QTest::currentDataTag() == QLatin1String("hand-written"))
            QVERIFY(grid == solvedGrid());
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("result");
        const auto add = [](const char* name, const std::string& content, const char* result) {
            QTest::newRow(name) << QByteArray::fromStdString(content) << QString::fromLatin1(result);
        };
        add("missing magic line", "****\r\n" + section(kPuzzle, " 5"), "defective: 19=6S");
        add("empty file", "", "defective: 19=6S");
        add("other case", "* ZIFRAX R\xE4tseldatei *\r\n" + section(kPuzzle, " 5"), "defective: 19=6S");
        add("letter behind", "* Zifrax R\xE4tseldatei *x\r\n" + section(kPuzzle, " 5"), "defective: 19=6S");
        add("header before magic line", section(kPuzzle, " 5") + kMagic, "read: 19=6S");
        add("header inside longer line", kMagic + "xx " + kPuzzle + " yy\r\n 5\r\n", "read: 1=5P 19=6S");
        add("solution wins", kMagic + section(kPuzzle, " 4") + section(kSolved, " 8"), "read: 1=8S 19=6S");
        add("no leading blank", kMagic + section(kPuzzle, "5 3 0 0 7"), "read: 1=5P 2=3P 5=7P 19=6S");
        add("bad fields", kMagic + kPuzzle + "\r\n\r\n\r\n x12-1 9 . 0,4 + 2\r\n", "read: 19=6S 22=9P 27=2P");
        add("truncated section", kMagic + kSolved + "\r\n 4 0 3", "read: 1=4S 3=3S 19=6S");
    }

    void reader()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, result);
        QCOMPARE(readResult(content.toStdString()), result);
    }

    // Thousands of damaged files: a file read must leave only digits 1 … 9 in
    // the two file colours, and a defective file must leave no trace.
    void survivesDamagedFiles()
    {
        const QRegularExpression digitsOnly(QStringLiteral("^(defective: 19=6S|read:( \\d+=[1-9][PS])*)$"));
        std::mt19937 random(20070715);  // fixed seed: a failure can be replayed
        const auto upTo = [&random](std::size_t n) { return std::size_t(random() % (n + 1)); };
        for (int round = 0; round < 20000; ++round) {
            std::string bytes = round % 4 ? write(solvedGrid()) : kMagic + kPuzzle + "\r\n";  // or noise behind it
            for (std::size_t k = round % 4 ? 0 : upTo(2000); k > 0; --k)
                bytes += char(random());
            for (int k = int(upTo(6)); k >= 0; --k) {  // cut, drop, double, change or insert bytes
                const std::size_t at = upTo(bytes.size()), length = upTo(60);
                switch (upTo(3)) {
                case 0: bytes.resize(at); break;
                case 1: bytes.erase(at, length); break;
                case 2: bytes.insert(at, bytes.substr(at, length)); break;
                default: bytes.replace(at, upTo(1), 1, upTo(1) ? char(random()) : "\r\n"[upTo(1)]); break;
                }
            }
            const QString result = readResult(bytes);
            QVERIFY2(digitsOnly.match(result).hasMatch(), qPrintable(QString::number(round) + ": " + result));
        }
    }
};

QTEST_APPLESS_MAIN(PuzzleFormatTest)
#include "test_puzzle_format.moc"