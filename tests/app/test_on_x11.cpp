// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a user meets it on an X11 desktop: key presses and mouse
// clicks go through the X server (XTest) from a thread of their own, while
// the GUI thread runs the event loop and whatever dialog the window opens.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QThread>
#include <functional>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"
#include "print/print_commands.h"
#include "print/sheet.h"
#include "tests/app/fake_input.h"

using namespace zifrax;
using zifrax::testing::FakeInput;

namespace {

// The user's hands and eyes. Widgets are only touched inside look(), which
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
    // Presses the keys of a chord such as "Control_L+u" in turn and
    // releases them in reverse order; key names are X keysym names.
    void type(const QString& chord)
    {
        const QStringList keys = chord.split(QLatin1Char('+'));
        for (const QString& key : keys)
            hold(key, true);
        for (auto key = keys.crbegin(); key != keys.crend(); ++key)
            hold(*key, false);
    }
    void hold(const QString& key, bool down)
    {
        input_.key(key.toLatin1().constData(), down);
        settle();
    }
    // Clicks a widget, by default in its middle; button 2 is the middle, 3 the right button.
    void click(QWidget* widget, unsigned button = 1, QPoint at = {-1, -1})
    {
        moveTo(widget, at);
        press(button, true);
        press(button, false);
    }
    void moveTo(QWidget* widget, QPoint at = {-1, -1})
    {
        const QPoint global = look([&] { return widget->mapToGlobal(at.x() < 0 ? widget->rect().center() : at); });
        input_.moveTo(global.x(), global.y());
        settle();
    }
    void press(unsigned button, bool down)
    {
        input_.button(button, down);
        settle();
    }

    // Types a path into the file dialog in front and confirms it with Enter,
    // held down until the dialog has closed when holdEnter is set.
    void choose(const QString& path, bool holdEnter = false)
    {
        waitForModal();
        look([&] { QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit")->setText(path); });
        hold(QStringLiteral("Return"), true);
        if (holdEnter) {
            waitFor([] { return QApplication::activeModalWidget() == nullptr; });
            QThread::msleep(150);
        }
        hold(QStringLiteral("Return"), false);
        waitFor([] { return QApplication::activeModalWidget() == nullptr; });
    }
    bool waitFor(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 300; ++i, QThread::msleep(10))
            if (look(condition))
                return true;
        return false;
    }
    // What the modal dialog or box in front shows: its object name or its text.
    QString modal()
    {
        return look([] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* box = qobject_cast<QMessageBox*>(modal);
            return box ? box->text() : modal ? modal->objectName() : QString();
        });
    }
    // Waits until a dialog or box has the keyboard.
    void waitForModal()
    {
        waitFor([] {
            QWidget* modal = QApplication::activeModalWidget();
            return modal && modal->isActiveWindow();
        });
    }
    // Waits for a dialog or box, reads it and closes it with Escape.
    QString dismissModal()
    {
        waitForModal();
        const QString seen = modal();
        type(QStringLiteral("Escape"));
        waitFor([] { return QApplication::activeModalWidget() == nullptr; });
        return seen;
    }

private:
    static void settle() { QThread::msleep(30); }
    FakeInput input_;
};

// A small window of another kind that the user drags a text out of.
class DragSource : public QLabel {
public:
    explicit DragSource(const QString& text) : QLabel(QStringLiteral("Text zum Ziehen"))
    {
        text_ = text;
        setGeometry(0, 0, 120, 60);
        show();
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setText(text_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QString text_;
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
        while (user.look([] { return QApplication::activeModalWidget() != nullptr; }))
            user.look([] { QApplication::activeModalWidget()->close(); });
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    return outcome;
}

// The strongest lightness difference from the commonest colour inside a
// rectangle: how well its text stands out from its background.
int contrast(const QImage& image, const QRect& rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                             [](auto a, auto b) { return a.second < b.second; })->first;
    int strongest = 0;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
        strongest = std::max(strongest, qAbs(QColor(*it).lightness() - QColor(background).lightness()));
    return strongest;
}

}  // namespace

class OnX11Test : public QObject {
    Q_OBJECT

    std::unique_ptr<ZifRax_frm> window;
    int programEnds = 0;

    CellEdit* cell(int index) { return named<CellEdit>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    template <typename T = QWidget>
    T* named(const QString& name) { return window->findChild<T*>(name); }
    QString cellState(int index)
    {
        const Colour colour = cell(index)->backgroundColour();
        return cell(index)->text() + (colour == kPuzzleColour ? " red" : colour == kSolutionColour ? " green" : " plain");
    }
    void newWindow()
    {
        window = std::make_unique<ZifRax_frm>();
        window->quitApplication = [this] { ++programEnds; };
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "runs on X11 only");
        setUpApplication();
    }
    void init()
    {
        programEnds = 0;
        newWindow();
    }
    void cleanup() { window.reset(); }

    void menuShortcutsWorkInCellsAndButtons_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("outcome");  // the dialog or box shown, the program end, the given's text
        const QString noPrinter = QStringLiteral("Es kann nicht gedruckt werden");
        const QList<std::pair<const char*, QString>> shortcuts{
            {"n", " | "},           {"l", "laden_dlg | 5"},   {"s", "speicher_dlg | 5"},
            {"u", "speicher_dlg | 5"}, {"a", "Drucker_dlg | 5"}, {"d", noPrinter + " | 5"}, {"e", "end | 5"}};
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
        window->findChild<QWidget*>(focus)->setFocus();
        const QString seen = asUser([&](User& user) {
            user.type("Control_L+" + key);
            QString shown;
            if (user.waitFor([&] { return QApplication::activeModalWidget() || programEnds || cell(20)->text().isEmpty(); }))
                shown = programEnds ? QStringLiteral("end") : user.modal().left(29);
            if (!shown.isEmpty() && shown != "end")
                user.dismissModal();
            return shown + " | " + user.look([&] { return cell(20)->text(); });
        });
        QCOMPARE(seen, outcome);
    }

    // Enter held on the load dialog comes up over the loaded grid, in a cell
    // holding a solver digit.
    void aKeyPressedInADialogIsNotEnteredOnItsRelease()
    {
        cell(3)->setFocus();
        const QString seen = asUser([&](User& user) {
            user.type(QStringLiteral("Control_L+l"));
            user.choose(QStringLiteral(ZIFRAX_TEST_DATA_DIR "/solved_grid.zfx"), true);
            return user.look([&] {
                return QApplication::focusWidget()->objectName() + " " + cellState(3) +
                       (window->state.unchangedFlag ? " unchanged" : " changed");
            });
        });
        QCOMPARE(seen, QStringLiteral("raetsel_txt(1) 4 green unchanged"));
    }

    void focusIsInCellOneAfterNewAndLoad_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("Neu") << "n";
        QTest::newRow("Laden") << "l";
    }
    void focusIsInCellOneAfterNewAndLoad()
    {
        QFETCH(QString, key);
        named("stop_chk")->setFocus();
        const QString seen = asUser([&](User& user) {
            user.type("Control_L+" + key);
            if (key == "l")
                user.choose(QStringLiteral(ZIFRAX_TEST_DATA_DIR "/solved_grid.zfx"));
            return user.look([] { return QApplication::focusWidget()->objectName(); });
        });
        QCOMPARE(seen, QStringLiteral("raetsel_txt(1)"));
    }

    void saveQuestionTakesAccessKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("outcome");  // the dialog that followed, then cell 40
        for (const char* modifier : {"Alt_L+", ""}) {
            QTest::addRow("%sj", modifier) << modifier + QStringLiteral("j") << "speicher_dlg | ";
            QTest::addRow("%sn", modifier) << modifier + QStringLiteral("n") << " | ";
            QTest::addRow("%sa", modifier) << modifier + QStringLiteral("a") << " | 3";
        }
    }
    void saveQuestionTakesAccessKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QString, outcome);
        cell(40)->setFocus();
        const QString seen = asUser([&](User& user) {
            user.type(QStringLiteral("3"));
            user.type(QStringLiteral("Control_L+n"));
            user.waitForModal();
            user.type(keys);
            user.waitFor([] { return !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); });
            QString next = user.modal();
            if (!next.isEmpty())
                next = user.dismissModal();  // a box left open is cancelled
            return next + " | " + user.look([&] { return cell(40)->text(); });
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
        const QString seen = asUser([&](User& user) {
            user.click(cell(20));
            user.type(QStringLiteral("5"));
            user.click(cell(21));
            if (how == "Löschen") {
                user.type(QStringLiteral("5"));
                user.look([&] { cell(21)->selectAll(); });
            }
            user.look([&] {
                QGuiApplication::clipboard()->setText(text, how == "middle" ? QClipboard::Selection
                                                                             : QClipboard::Clipboard);
            });
            if (how == "drop") {
                user.moveTo(&source);
                user.press(1, true);
                for (int step = 1; step <= 8; ++step)
                    user.moveTo(&source, {20 + 8 * step, 20 + 8 * step});
                user.moveTo(cell(21), {10, 10});
                user.moveTo(cell(21));
                user.press(1, false);
            } else if (how == "middle") {
                user.click(cell(21), 2);
            } else {
                user.click(cell(21), 3);
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
        QTest::addColumn<QString>("reach");  // how the cell is reached
        QTest::addColumn<QString>("key");
        for (const char* key : {"Delete", "BackSpace"}) {
            QTest::addRow("Tab, %s", key) << "Tab" << key;
            for (int x : {12, 20, 28})
                QTest::addRow("click at %d, %s", x, key) << QString::number(x) << key;
        }
    }
    void deleteKeysEmptyAFilledCell()
    {
        QFETCH(QString, reach);
        QFETCH(QString, key);
        const QString seen = asUser([&](User& user) {
            user.click(cell(20));
            user.type(QStringLiteral("8"));
            if (reach == "Tab") {
                user.click(cell(19));
                user.type(QStringLiteral("Tab"));
            } else {
                user.click(cell(20), 1, {reach.toInt(), 20});
            }
            user.type(key);
            return user.look([&] { return cellState(20); });
        });
        QCOMPARE(seen, QStringLiteral(" plain"));
    }

    // Cells in fixed colours and the yellow frame keep dark text under a dark
    // desktop palette, and the sheet prints empty cells white.
    void darkPaletteKeepsFixedColoursReadable()
    {
        QPalette dark(QColor(53, 53, 53), QColor(40, 40, 40));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::ButtonText, Qt::white);
        const QPalette light = QApplication::palette();
        QApplication::setPalette(dark);
        newWindow();
        cell(1)->setText(QStringLiteral("5"));
        cell(1)->setBackgroundColour(kPuzzleColour);
        cell(2)->setText(QStringLiteral("6"));
        cell(2)->setBackgroundColour(kSolutionColour);
        cell(3)->setText(QStringLiteral("7"));
        named<QLabel>("variation_lbl(1)")->setText(QStringLiteral("Zeile: 3"));
        QTest::qWait(200);
        const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
        QImage sheet(1600, 1200, QImage::Format_RGB32);
        sheet.fill(Qt::gray);
        QPainter painter(&sheet);
        drawSheet(painter, sheetOfWindow(*window, {}));
        painter.end();
        QApplication::setPalette(light);

        QStyleOptionGroupBox title;
        title.initFrom(named<QGroupBox>("Solver_fra"));
        title.text = named<QGroupBox>("Solver_fra")->title();
        title.subControls = QStyle::SC_GroupBoxLabel;
        const QRect titleRect = window->style()->subControlRect(QStyle::CC_GroupBox, &title,
                                                                QStyle::SC_GroupBoxLabel, named<QGroupBox>("Solver_fra"));
        const auto inWindow = [&](QWidget* widget, const QRect& rect) {
            return QRect(widget->mapTo(window.get(), rect.topLeft()), rect.size());
        };
        const QList<std::pair<const char*, QRect>> places{
            {"given", inWindow(cell(1), cell(1)->rect().adjusted(6, 6, -6, -6))},
            {"solved", inWindow(cell(2), cell(2)->rect().adjusted(6, 6, -6, -6))},
            {"empty cell colour", inWindow(cell(3), cell(3)->rect().adjusted(6, 6, -6, -6))},
            {"heading", inWindow(named("variation_lbl(0)"), named("variation_lbl(0)")->rect())},
            {"value", inWindow(named("variation_lbl(1)"), named("variation_lbl(1)")->rect())},
            {"frame caption", inWindow(named<QGroupBox>("Solver_fra"), titleRect)}};
        for (const auto& [place, rect] : places)
            QVERIFY2(contrast(shot, rect) > 90, place);
        QCOMPARE(sheet.pixelColor(6400 / 15, 5900 / 15), QColor(Qt::white));  // inside cell (5, 5), at 96 dpi
    }
};

QTEST_MAIN(OnX11Test)
#include "test_on_x11.moc"
