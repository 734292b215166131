// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a user meets it on an X11 desktop: key presses and mouse
// clicks go through the X server (xdotool, by XTest) from a thread of their
// own, while the GUI thread runs the event loop and any dialog it opens.
#include <QClipboard>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include "tests/app/window_test.h"

using namespace zifrax;
using namespace zifrax::testing;

namespace {

// The user's hands and eyes. Widgets are touched only inside look(), which
// runs on the GUI thread, in a dialog's event loop too.
class User {
public:
    template <typename F>
    auto look(F f)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
            QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
        } else {
            std::invoke_result_t<F> result{};
            QMetaObject::invokeMethod(qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
            return result;
        }
    }
    bool waitFor(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 300; ++i, QThread::msleep(10))
            if (look(condition))
                return true;
        return false;
    }
    // xdotool commands such as {"key", "ctrl+u"}, {"keydown", "Return"},
    // {"mousedown", "1"}; then a moment for the window to react.
    void xdotool(const QStringList& command)
    {
        QProcess::execute(QStringLiteral("xdotool"), command);
        QThread::msleep(30);
    }
    void key(const QString& keys) { xdotool(QStringList{QStringLiteral("key")} + keys.split(QLatin1Char(' '))); }
    // Moves the pointer to a point of the widget, by default its middle, and
    // clicks there with the button, unless it is 0 (3 is the right button).
    void click(QWidget* widget, int button = 1, QPoint at = {-1, -1})
    {
        const QPoint p = look([&] { return widget->mapToGlobal(at.x() < 0 ? widget->rect().center() : at); });
        xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
        if (button)
            xdotool({"click", QString::number(button)});
    }
    // Waits for a dialog or box to take the keyboard and returns its text or
    // name; with Escape it is closed.
    QString modal(bool escape = true)
    {
        waitFor([] { return QApplication::activeModalWidget() && QApplication::activeModalWidget()->isActiveWindow(); });
        const QString seen = look([] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box ? box->text().left(29) : QApplication::activeModalWidget()->objectName();
        });
        if (escape) {
            key(QStringLiteral("Escape"));
            waitFor([] { return !QApplication::activeModalWidget(); });
        }
        return seen;
    }
    // Types a path into the file dialog in front and confirms it with Enter,
    // held until the dialog has closed when holdEnter is set.
    void choose(const QString& path, bool holdEnter = false)
    {
        modal(false);
        look([&] { QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit")->setText(path); });
        xdotool({"keydown", "Return"});
        if (holdEnter && waitFor([] { return !QApplication::activeModalWidget(); }))
            QThread::msleep(150);
        xdotool({"keyup", "Return"});
        waitFor([] { return !QApplication::activeModalWidget(); });
    }
};

// Runs the user's script on a thread of its own and the event loop here
// until it ends; returns what the script reports.
QString asUser(const std::function<QString(User&)>& script)
{
    QString outcome;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        User user;
        outcome = script(user);
        // A dialog left open by a failed step would keep the loop from ending.
        while (user.look([] { return QApplication::activeModalWidget() && (QApplication::activeModalWidget()->close(), true); }))
            ;
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    return outcome;
}

// A window of another kind that a text is dragged out of.
class DragSource : public QLabel {
public:
    explicit DragSource(const QString& text) : QLabel(text) { setGeometry(0, 0, 120, 60), show(); }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        drag->setMimeData(new QMimeData);
        drag->mimeData()->setText(text());
        drag->exec(Qt::CopyAction);
    }
};

// The strongest lightness difference from the commonest colour of a
// rectangle: how well its text stands out from its background.
int contrast(const QImage& image, const QRect& rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y)];
    const int background = QColor(std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                                      return a.second < b.second;
                                  })->first).lightness();
    int strongest = 0;
    for (auto colour = counts.keyBegin(); colour != counts.keyEnd(); ++colour)
        strongest = std::max(strongest, qAbs(QColor(*colour).lightness() - background));
    return strongest;
}

const QString kSolvedGrid = QStringLiteral(ZIFRAX_TEST_DATA_DIR "/solved_grid.zfx");

}  // namespace

class OnX11Test : public WindowTest {
    Q_OBJECT

    QString cellState(int index)
    {
        const Colour colour = cell(index)->backgroundColour();
        return cell(index)->text() + (colour == kPuzzleColour ? " red" : colour == kSolutionColour ? " green" : " plain");
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "runs on X11 only");
        setUpApplication();
    }
    void init() { openWindow(); }
    void cleanup() { window.reset(); }

    void menuShortcutsWorkInCellsAndButtons_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("outcome");  // the dialog or box shown or the program's end, then cell 20
        const QList<std::pair<const char*, const char*>> shortcuts{
            {"n", " | "},          {"l", "laden_dlg | 5"},   {"s", "speicher_dlg | 5"}, {"u", "speicher_dlg | 5"},
            {"a", "Drucker_dlg | 5"}, {"d", "Es kann nicht gedruckt werden | 5"}, {"e", "end | 5"}};
        for (const char* focus : {"raetsel_txt(20)", "stop_chk"})
            for (const auto& [key, outcome] : shortcuts)
                QTest::addRow("%s Ctrl+%s", focus, key) << focus << key << outcome;
    }
    void menuShortcutsWorkInCellsAndButtons()
    {
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(QString, outcome);
        cell(20)->setText(QStringLiteral("5"));
        named(focus)->setFocus();
        const QString seen = asUser([&](User& user) {
            user.key("ctrl+" + key);
            user.waitFor([&] { return QApplication::activeModalWidget() || programEnds || cell(20)->text().isEmpty(); });
            const QString shown = user.look([&] {
                return programEnds ? QStringLiteral("end") : QApplication::activeModalWidget() ? QStringLiteral("?") : QString();
            });
            return (shown == "?" ? user.modal() : shown) + " | " + user.look([&] { return cell(20)->text(); });
        });
        QCOMPARE(seen, outcome);
    }

    // After a load the focus is in cell 1, and Enter, held on the load
    // dialog, comes up there without entering anything.
    void aKeyPressedInADialogIsNoCellEntry()
    {
        named("stop_chk")->setFocus();
        const QString seen = asUser([&](User& user) {
            user.key(QStringLiteral("ctrl+l"));
            user.choose(kSolvedGrid, true);
            return user.look([&] {
                return QApplication::focusWidget()->objectName() + (window->state.unchangedFlag ? " unchanged" : " changed");
            });
        });
        QCOMPARE(seen, QStringLiteral("raetsel_txt(1) unchanged"));
    }

    void saveQuestionTakesAccessKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("outcome");  // the dialog that follows the answer, cell 40, the focus
        for (const char* alt : {"alt+", ""}) {
            QTest::addRow("%sj", alt) << alt + QStringLiteral("j") << "speicher_dlg |  | raetsel_txt(1)";
            QTest::addRow("%sn", alt) << alt + QStringLiteral("n") << " |  | raetsel_txt(1)";
            QTest::addRow("%sa", alt) << alt + QStringLiteral("a") << " | 3 | raetsel_txt(40)";
        }
    }
    void saveQuestionTakesAccessKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QString, outcome);
        cell(40)->setFocus();
        const QString seen = asUser([&](User& user) {
            user.key(QStringLiteral("3"));
            user.key(QStringLiteral("ctrl+n"));
            user.modal(false);
            user.key(keys);
            user.waitFor([] { return !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); });
            // What follows, or the box itself when the keys did nothing, is closed with Escape.
            const QString next = user.look([] { return QApplication::activeModalWidget() != nullptr; }) ? user.modal()
                                                                                                       : QString();
            return next + " | " + user.look([&] { return cell(40)->text() + " | " + QApplication::focusWidget()->objectName(); });
        });
        QCOMPARE(seen, outcome);
    }

    void textArrivingWithoutAKeyIsChecked_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");     // pasted, or dropped into cell 21
        QTest::addColumn<QString>("outcome");  // cells 20 and 21, the solve button
        QTest::newRow("Einfügen, letters") << "Einfügen" << "59x" << "5 red |  plain | enabled";
        QTest::newRow("Einfügen, blank") << "Einfügen" << " 7" << "5 red | 7 red | enabled";
        QTest::newRow("Einfügen, clash") << "Einfügen" << "5" << "5 red | 5 red | disabled";
        QTest::newRow("Löschen") << "Löschen" << "" << "5 red |  plain | enabled";
        QTest::newRow("middle click") << "middle" << "1.5" << "5 red | 2 red | enabled";
        QTest::newRow("drop") << "drop" << " 3" << "5 red | 3 red | enabled";
    }
    // Cell 20 holds a typed 5; for "Löschen", cell 21 a typed 5 as well.
    void textArrivingWithoutAKeyIsChecked()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, outcome);
        DragSource source(text);
        QGuiApplication::clipboard()->setText(text, how == "middle" ? QClipboard::Selection : QClipboard::Clipboard);
        const QString seen = asUser([&](User& user) {
            user.click(cell(20));
            user.key(QStringLiteral("5"));
            user.click(cell(21));
            if (how == "Löschen") {
                user.key(QStringLiteral("5"));
                user.look([&] { cell(21)->selectAll(); });
            }
            if (how == "drop") {
                user.click(&source, 0);
                user.xdotool({"mousedown", "1"});
                for (int step = 1; step <= 8; ++step)
                    user.click(&source, 0, {20 + 8 * step, 20 + 8 * step});
                user.click(cell(21), 0, {10, 10});
                user.click(cell(21), 0);
                user.xdotool({"mouseup", "1"});
            } else {
                user.click(cell(21), how == "middle" ? 2 : 3);
            }
            if (how.startsWith("Einfügen") || how == "Löschen") {
                user.waitFor([] { return QApplication::activePopupWidget() != nullptr; });
                const auto [menu, place] = user.look([&] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    for (QAction* action : menu->actions())
                        if (action->text().remove('&').startsWith(how))
                            return std::pair(static_cast<QWidget*>(menu), menu->actionGeometry(action).center());
                    return std::pair(static_cast<QWidget*>(menu), QPoint());
                });
                user.click(menu, 1, place);
            }
            user.waitFor([] { return !QApplication::activePopupWidget(); });
            return user.look([&] {
                return cellState(20) + " | " + cellState(21) + " | " +
                       (named("solve_cmd")->isEnabled() ? "enabled" : "disabled");
            });
        });
        QCOMPARE(seen, outcome);
    }

    void deleteKeysEmptyAFilledCell_data()
    {
        QTest::addColumn<int>("click");  // where cell 20 is clicked, 0: reached with Tab from cell 19
        QTest::addColumn<QString>("key");
        for (const QString& key : {QStringLiteral("Delete"), QStringLiteral("BackSpace")})
            for (int x : {0, 12, 20, 28})
                QTest::addRow("%s %d", qPrintable(key), x) << x << key;
    }
    void deleteKeysEmptyAFilledCell()
    {
        QFETCH(int, click);
        QFETCH(QString, key);
        const QString seen = asUser([&](User& user) {
            user.click(cell(20));
            user.key(QStringLiteral("8"));
            if (click) {
                user.click(cell(20), 1, {click, 20});
            } else {
                user.click(cell(19));
                user.key(QStringLiteral("Tab"));
            }
            user.key(key);
            return user.look([&] { return cellState(20); });
        });
        QCOMPARE(seen, QStringLiteral(" plain"));
    }

    // Under a dark desktop palette the text on the fixed colours of the cells
    // and of the yellow frame stays dark.
    void darkPaletteKeepsFixedColoursReadable()
    {
        const QPalette light = QApplication::palette();
        QPalette dark(QColor(53, 53, 53), QColor(40, 40, 40));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, Qt::white);
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        init();
        const QList<std::pair<QString, Colour>> cells{{"5", kPuzzleColour}, {"6", kSolutionColour}, {"7", kEmptyCellColour}};
        for (int index = 1; index <= 3; ++index)
            cell(index)->setText(cells[index - 1].first), cell(index)->setBackgroundColour(cells[index - 1].second);
        named<QLabel>("variation_lbl(1)")->setText(QStringLiteral("Zeile: 3"));
        named("stop_chk")->setFocus();
        QTest::qWait(200);
        const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
        QApplication::setPalette(light);

        for (const char* name : {"raetsel_txt(1)", "raetsel_txt(2)", "raetsel_txt(3)", "variation_lbl(0)", "variation_lbl(1)"}) {
            const int frame = qobject_cast<CellEdit*>(named(name)) ? 6 : 0;  // the cells' frames are left out
            const QRect inside = named(name)->rect().adjusted(frame, frame, -frame, -frame);
            QVERIFY2(contrast(shot, inside.translated(named(name)->mapTo(window.get(), QPoint()))) > 90, name);
        }
    }
};

QTEST_MAIN(OnX11Test)
#include "test_on_x11.moc"
