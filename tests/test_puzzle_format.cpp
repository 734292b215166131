// The puzzle file's bytes: the writer against a hand-written file, the
// reader's line rules, and the reader fed with damaged files.
#include <QFile>
#include <QTest>
#include <algorithm>
#include <random>

#include "files/puzzle_format.h"

using namespace zifrax;
using namespace zifrax::puzzle_file;

namespace {

// The grid of tests/data/solved_grid.zfx: givens, then the solver's digits.
constexpr const char* kGivens[9] = {"53..7....", "6..195...", ".98....6.", "8...6...3", "4..8.3..1",
                                    "7...2...6", ".6....28.", "...419..5", "....8..79"};
constexpr const char* kSolution[9] = {"534678912", "672195348", "198342567", "859761423", "426853791",
                                      "713924856", "961537284", "287419635", "345286179"};

GridDescription solvedGrid()
{
    GridDescription grid;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            CellContent& cell = grid[cellIndex(row, column)];
            cell.text = std::string(1, kSolution[row - 1][column - 1]);
            cell.colour = kGivens[row - 1][column - 1] == '.' ? kSolutionColour : kPuzzleColour;
        }
    return grid;
}

std::string fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(path));
    return file.readAll().toStdString();
}

// A file made of the given lines, each ended by CR LF.
std::string lines(std::initializer_list<std::string_view> content)
{
    std::string out;
    for (std::string_view line : content)
        out.append(line).append("\r\n");
    return out;
}

const std::string kMagic = "* Zifrax R\xE4tseldatei *";
const std::string kPuzzleHeader = "R\xE4tselstellung: ******";
const std::string kSolutionHeader = "L\xF6sungstellung: ******";
const std::string kZeroRow = " 0 0 0 0 0 0 0 0 0";

}  // namespace

class PuzzleFormatTest : public QObject {
    Q_OBJECT

private slots:
    void writerMatchesHandWrittenFile()
    {
        const std::string expected = fileBytes(QStringLiteral(ZIFRAX_TEST_DATA_DIR "/solved_grid.zfx"));
        QCOMPARE(expected.size(), std::size_t(534));
        QCOMPARE(write(solvedGrid()), expected);
    }

    // The shipped samples are in the exact format: rewriting one gives its bytes.
    void samplesAreExact_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("givens");
        QTest::newRow("easy") << "leicht.zfx" << 36;
        QTest::newRow("hard") << "schwer.zfx" << 12;
        QTest::newRow("no solution") << "unloesbar.zfx" << 37;
    }

    void samplesAreExact()
    {
        QFETCH(QString, name);
        QFETCH(int, givens);
        const std::string bytes = fileBytes(QStringLiteral(ZIFRAX_SAMPLES_DIR "/") + name);
        GridDescription grid;
        QCOMPARE(read(bytes, grid), ReadOutcome::Read);
        QCOMPARE(std::count_if(grid.begin(), grid.end(), [](const CellContent& c) { return c.colour == kPuzzleColour; }),
                 givens);
        QCOMPARE(write(grid), bytes);
    }

    void roundTripRestoresBothColours()
    {
        GridDescription grid = solvedGrid();
        // Cells in any other colour are not stored and come back empty.
        grid[cellIndex(9, 1)].colour = kEmptyCellColour;
        grid[cellIndex(9, 2)].colour = 0x123456;

        GridDescription loaded;
        QCOMPARE(read(write(grid), loaded), ReadOutcome::Read);
        GridDescription expected = grid;
        for (int i : {cellIndex(9, 1), cellIndex(9, 2)})
            expected[i] = CellContent{};
        QVERIFY(loaded == expected);
    }

    void emptyGridGivesEighteenZeroLines()
    {
        const std::string bytes = write(GridDescription{});
        QCOMPARE(bytes.size(), std::size_t(534));
        std::size_t zeroLines = 0;
        for (std::size_t at = bytes.find(kZeroRow + "\r\n"); at != std::string::npos;
             at = bytes.find(kZeroRow + "\r\n", at + 1))
            ++zeroLines;
        QCOMPARE(zeroLines, std::size_t(18));

        GridDescription loaded;
        QCOMPARE(read(bytes, loaded), ReadOutcome::Read);
        QVERIFY(loaded == GridDescription{});
    }

    void magicLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("defective");
        QTest::addColumn<int>("firstCell");  // digit read into cell 1, 0 for none

        const std::string section = kPuzzleHeader + "\r\n" + lines({" 5 0 0 0 0 0 0 0 0"});
        const auto row = [](const std::string& s) { return QByteArray::fromStdString(s); };
        QTest::newRow("missing") << row(lines({"****", "nothing here"}) + section) << true << 0;
        QTest::newRow("empty file") << QByteArray() << true << 0;
        QTest::newRow("other case") << row(lines({"* ZIFRAX R\xE4tseldatei *"}) + section) << true << 0;
        QTest::newRow("letter behind") << row(lines({kMagic + "x"}) + section) << true << 0;
        QTest::newRow("blank behind") << row(lines({kMagic + " "}) + section) << true << 0;
        QTest::newRow("written as UTF-8") << row(lines({"* Zifrax R\xC3\xA4tseldatei *"}) + section) << true << 0;
        QTest::newRow("magic line alone") << row(lines({kMagic})) << false << 0;
        QTest::newRow("magic line without line end") << row(kMagic) << false << 0;
        QTest::newRow("header before magic line") << row(section + lines({kMagic})) << false << 0;
        QTest::newRow("header inside longer line")
            << row(lines({kMagic, "xx " + kPuzzleHeader + " yy", " 5"})) << false << 5;
        QTest::newRow("lone LF line ends") << row(kMagic + "\n" + kPuzzleHeader + "\n 5\n") << false << 5;
        QTest::newRow("grid line before magic line is ignored")
            << row(lines({kPuzzleHeader, kMagic, " 7"})) << false << 0;
    }

    void magicLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, defective);
        QFETCH(int, firstCell);

        GridDescription grid;
        const ReadOutcome outcome = read(content.toStdString(), grid);
        QCOMPARE(outcome == ReadOutcome::Defective, defective);
        QCOMPARE(grid[1].text, firstCell ? std::to_string(firstCell) : std::string());
        QCOMPARE(grid[1].colour, firstCell ? kPuzzleColour : kEmptyCellColour);
        for (int i = 2; i <= kCellCount; ++i)
            QVERIFY(grid[i].text.empty() && grid[i].colour == kEmptyCellColour);
    }

    void sectionsAndFields()
    {
        // Cell 1 in both sections: the solution, read later, wins. Row 2 has
        // no leading blank; row 3 holds what a field must not put into a cell.
        const std::string content =
            lines({kMagic, kPuzzleHeader, " 4 0 0 0 0 0 0 0 0", "5 3 0 0 7 0 0 0 0", " x12-1 9 . 0,4 + 2", "", "", "",
                   "", "", " 0 0 0 0 0 0 0 0 0", kSolutionHeader, " 8 0 0 0 0 0 0 0 0"});
        GridDescription grid;
        grid[cellIndex(3, 1)] = CellContent{"6", kSolutionColour};  // kept: its field is " x"
        QCOMPARE(read(content, grid), ReadOutcome::Read);

        QCOMPARE(grid[1].text, std::string("8"));
        QCOMPARE(grid[1].colour, kSolutionColour);
        QCOMPARE(grid[cellIndex(2, 1)].text, std::string("5"));
        QCOMPARE(grid[cellIndex(2, 2)].text, std::string("3"));
        QCOMPARE(grid[cellIndex(2, 5)].text, std::string("7"));
        QCOMPARE(grid[cellIndex(2, 5)].colour, kPuzzleColour);
        const char* row3[9] = {"6", "", "", "9", "", "", "", "", "2"};
        for (int column = 1; column <= 9; ++column)
            QCOMPARE(grid[cellIndex(3, column)].text, std::string(row3[column - 1]));
    }

    void solutionHeaderOnLastGridLineOpensSection()
    {
        // The nine lines after a header are grid lines whatever they hold,
        // and the last of them is then examined for the solution header.
        const std::string content = lines({kMagic, kPuzzleHeader, kZeroRow, kZeroRow, kZeroRow, kZeroRow, kZeroRow,
                                           kZeroRow, kZeroRow, kZeroRow, " 1 " + kSolutionHeader, " 0 2"});
        GridDescription grid;
        QCOMPARE(read(content, grid), ReadOutcome::Read);
        QCOMPARE(grid[cellIndex(9, 1)], (CellContent{"1", kPuzzleColour}));
        QCOMPARE(grid[cellIndex(1, 2)], (CellContent{"2", kSolutionColour}));
    }

    void truncatedSectionKeepsWhatWasRead()
    {
        const std::string full = write(solvedGrid());
        const std::size_t cut = full.find(kSolutionHeader) + kSolutionHeader.size() + 2 + 10;  // mid row 1
        GridDescription grid;
        QCOMPARE(read(std::string_view(full).substr(0, cut), grid), ReadOutcome::Read);
        for (int column = 1; column <= 9; ++column) {
            const bool given = kGivens[0][column - 1] != '.';
            const bool inCut = 2 * column <= 10;
            QCOMPARE(grid[column].text.empty(), !given && !inCut);
        }
        for (int i = cellIndex(2, 1); i <= kCellCount; ++i)
            QCOMPARE(grid[i].colour, kGivens[rowOf(i) - 1][columnOf(i) - 1] == '.' ? kEmptyCellColour : kPuzzleColour);
    }

    // Thousands of damaged files: every outcome must leave only digits 1 … 9
    // in the two file colours, and a defective file must leave no trace.
    void survivesDamagedFiles()
    {
        const std::string original = write(solvedGrid());
        std::mt19937 random(20070715);  // fixed seed: a failure can be replayed
        const auto below = [&random](std::size_t n) { return std::size_t(random() % n); };
        constexpr int kInputs = 20000;

        for (int round = 0; round < kInputs; ++round) {
            std::string bytes = original;
            switch (round % 4) {
            case 0:  // cut short anywhere
                bytes.resize(below(bytes.size() + 1));
                break;
            case 1:  // a few bytes changed to anything
                for (int k = 1 + int(below(8)); k > 0; --k)
                    bytes[below(bytes.size())] = char(random());
                break;
            case 2: {  // lines dropped, doubled or swapped, line ends mixed up
                for (int k = 1 + int(below(4)); k > 0; --k) {
                    const std::size_t at = below(bytes.size());
                    const std::size_t length = below(60);
                    switch (below(3)) {
                    case 0: bytes.erase(at, length); break;
                    case 1: bytes.insert(at, bytes.substr(at, length)); break;
                    default: bytes.insert(at, 1, below(2) ? '\n' : '\r'); break;
                    }
                }
                break;
            }
            default:  // random bytes, sometimes behind a magic line
                bytes = below(2) ? kMagic + "\r\n" + kPuzzleHeader + "\r\n" : std::string();
                for (std::size_t k = below(2000); k > 0; --k)
                    bytes += char(random());
                break;
            }

            GridDescription grid;
            const ReadOutcome outcome = read(bytes, grid);
            for (int i = 1; i <= kCellCount; ++i) {
                const CellContent& cell = grid[i];
                const bool untouched = cell.text.empty() && cell.colour == kEmptyCellColour;
                const bool digit = cell.text.size() == 1 && cell.text[0] >= '1' && cell.text[0] <= '9' &&
                                   (cell.colour == kPuzzleColour || cell.colour == kSolutionColour);
                if (!(untouched || (digit && outcome == ReadOutcome::Read)))
                    QFAIL(qPrintable(QStringLiteral("input %1, cell %2").arg(round).arg(i)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(PuzzleFormatTest)
#include "test_puzzle_format.moc"
