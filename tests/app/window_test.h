// SPDX-License-Identifier: GPL-3.0-or-later
// What the window's tests share: a fresh window for each test, its controls
// found by their names, typing into a cell, and a runner that answers the
// dialogs and boxes a command opens.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/application_setup.h"
#include "app/cell_edit.h"
#include "app/zifrax_frm.h"

namespace zifrax::testing {

class WindowTest : public QObject {
protected:
    std::unique_ptr<ZifRax_frm> window;
    int programEnds = 0;

    // A new window, shown and active; the end of the program is only counted.
    void openWindow()
    {
        programEnds = 0;
        window = std::make_unique<ZifRax_frm>();
        window->quitApplication = [this] { ++programEnds; };
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <typename T = QWidget>
    T* named(const QString& name) const { return window->findChild<T*>(name); }
    CellEdit* cell(int index) const { return named<CellEdit>(QStringLiteral("raetsel_txt(%1)").arg(index)); }
    bool solvable() const { return named("solve_cmd")->isEnabled(); }
    // Text put into a cell as if typed, then a key pressed and released there.
    void type(int index, const QString& text)
    {
        cell(index)->setText(text);
        QTest::keyClick(cell(index), Qt::Key_Right);
    }
    // Runs a command and answers the modal dialogs and boxes it opens in turn
    // with the replies: a file dialog gets the path typed in, a box has the
    // button of that text clicked, and anything else is closed. Returns what was
    // met: a box as "title: text", a dialog by its object name.
    static QStringList run(const std::function<void()>& command, const QStringList& replies = {})
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
    QStringList run(const char* action, const QStringList& replies = {})
    {
        return run([this, action] { named<QAction>(action)->trigger(); }, replies);
    }
};

}  // namespace zifrax::testing
