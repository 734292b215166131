// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fixed layout, built from its tables in twips.
#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/cell_edit.h"
#include "appearance/colours.h"
#include "appearance/fonts.h"
#include "app/icons.h"
#include "app/picture_button.h"
#include "app/twips.h"
#include "app/zifrax_frm.h"

namespace zifrax {

namespace {

constexpr Colour kWindowColour = 0x0080FFFF;  // light yellow
constexpr Colour kValueColour = 0x00800080;   // purple: stage progress
constexpr Colour kTimeColour = 0x000000C0;    // dark red: computing time

void setBackground(QWidget* widget, Colour colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, toQColor(colour));
    // Text on a fixed colour gets a fixed colour too, so that a dark desktop
    // scheme's light text does not land on the light yellow.
    if (colour == kWindowColour)
        p.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

// Cell k of a row or column starts here: 720 twips apart within a box, 840
// between boxes.
constexpr int cellOffset(int k) { return 240 + 720 * (k - 1) + 120 * ((k - 1) / 3); }

// A straight line of one pixel from (x1, y1) to (x2, y2); lines run
// either across or down.
void addLine(QWidget* parent, int element, int x1, int y1, int x2, int y2)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("trennlinie(%1)").arg(element));
    line->setFrameShape(QFrame::NoFrame);
    line->setGeometry(px(x1), px(y1), std::max(1, px(x2) - px(x1)), std::max(1, px(y2) - px(y1)));
    setBackground(line, kShadowColour);
}

QLabel* addLabel(QWidget* frame, const QString& name, int left, int top, int width, int height,
                 const QString& text, double points, Colour textColour, bool defaultTextColour)
{
    auto* label = new QLabel(text, frame);
    label->setObjectName(name);
    label->setGeometry(twipsRect(left, top, width, height));
    // A label free to change size posts a layout request with every new
    // text, which would double the cost of a progress report.
    label->setFixedSize(label->size());
    label->setAlignment(Qt::AlignCenter);
    label->setFont(arialFont(points, true));
    // The labels share the frame's light yellow; they are not filled on their
    // own, so the style's tint of the frame's inside shows evenly through them.
    if (!defaultTextColour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, toQColor(textColour));
        label->setPalette(p);
    }
    return label;
}

// One of the two buttons right of the grid, its picture above its caption.
QPushButton* addPictureButton(QWidget* parent, const QString& name, const QString& caption, int top,
                              const QIcon& picture)
{
    auto* button = new PictureButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(twipsRect(7080, top, 2292, 1092));
    button->setFont(arialFont(10.2, true));
    button->setIcon(picture);
    button->setIconSize(QSize(32, 32));
    return button;
}

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

void addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

}  // namespace

void ZifRax_frm::buildControls()
{
    setObjectName(QStringLiteral("ZifRax_frm"));
    setWindowIcon(smileyIcon());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(9600), px(7080));
    setBackground(client, kWindowColour);
    setCentralWidget(client);

    // The cells, row by row.
    for (int index = 1; index <= kCellCount; ++index) {
        auto* cell = new CellEdit(index, client);
        cell->setGeometry(twipsRect(cellOffset(columnOf(index)), cellOffset(rowOf(index)), 612, 612));
        cell->setAlignment(Qt::AlignCenter);
        cell->setFont(arialFont(24, false));
        cell->setTextMargins(0, 0, 0, 0);
        cell->setToolTip(QStringLiteral("Hier bitte eine Zahl zwischen 1 und 9 eingeben..."));
        cells_[index] = cell;
    }
    addLine(client, 0, 2400, 240, 2400, 6840);
    addLine(client, 1, 4680, 240, 4680, 6840);
    addLine(client, 2, 240, 2400, 6840, 2400);
    addLine(client, 3, 240, 4680, 6840, 4680);

    solve_cmd = addPictureButton(client, QStringLiteral("solve_cmd"), QStringLiteral("ZifRax-Rätsel lösen"), 240,
                                 lightBulbIcon());
    stop_chk = addPictureButton(client, QStringLiteral("stop_chk"), QStringLiteral("Berechnung anhalten"), 1560,
                                stopSignIcon());
    stop_chk->setCheckable(true);
    stop_chk->setToolTip(QStringLiteral("Hier kann man das Gemetzel anhalten."));

    Solver_fra = new QGroupBox(client);
    Solver_fra->setObjectName(QStringLiteral("Solver_fra"));
    Solver_fra->setGeometry(twipsRect(7080, 2880, 2292, 3972));
    Solver_fra->setFont(arialFont(10.2, true));
    setBackground(Solver_fra, kWindowColour);

    variationLabels_[0] = addLabel(Solver_fra, QStringLiteral("variation_lbl(0)"), 480, 360, 1212, 252,
                                   QStringLiteral("Variation"), 7.8, 0, true);
    variationLabels_[1] = addLabel(Solver_fra, QStringLiteral("variation_lbl(1)"), 120, 600, 2052, 252,
                                   QString(), 7.8, kValueColour, false);
    addLine(Solver_fra, 4, 0, 960, 2280, 960);
    bruteForceLabels_[0] = addLabel(Solver_fra, QStringLiteral("brute_force_lbl(0)"), 480, 1080, 1212, 252,
                                    QStringLiteral("Brute Force"), 7.8, 0, true);
    bruteForceLabels_[1] = addLabel(Solver_fra, QStringLiteral("brute_force_lbl(1)"), 120, 1440, 2052, 252,
                                    QString(), 7.8, kValueColour, false);
    addLine(Solver_fra, 5, 0, 1800, 2280, 1800);
    timeLabels_[0] = addLabel(Solver_fra, QStringLiteral("rechenzeit_lbl(0)"), 480, 1920, 1212, 252,
                              QStringLiteral("Rechenzeit"), 7.8, 0, true);
    for (int i = 1; i <= 3; ++i)
        timeLabels_[i] = addLabel(Solver_fra, QStringLiteral("rechenzeit_lbl(%1)").arg(i), 120,
                                  2400 + 480 * (i - 1), 2052, 372, QString(), 16.2, kTimeColour, false);
    // The value labels start empty, so they are named after what they show.
    variationLabels_[1]->setAccessibleName(QStringLiteral("Variation"));
    bruteForceLabels_[1]->setAccessibleName(QStringLiteral("Brute Force"));
    timeLabels_[1]->setAccessibleName(QStringLiteral("Rechenzeit Stunden"));
    timeLabels_[2]->setAccessibleName(QStringLiteral("Rechenzeit Minuten"));
    timeLabels_[3]->setAccessibleName(QStringLiteral("Rechenzeit Sekunden"));

    // Tab order: the cells row by row, then the solve button and the stop button.
    for (int index = 1; index < kCellCount; ++index)
        setTabOrder(cells_[index], cells_[index + 1]);
    setTabOrder(cells_[kCellCount], solve_cmd);
    setTabOrder(solve_cmd, stop_chk);
    for (QWidget* w : {static_cast<QWidget*>(client), static_cast<QWidget*>(Solver_fra)})
        w->setFocusPolicy(Qt::NoFocus);

    M_raetsel = menuBar()->addMenu(QStringLiteral("&Rätsel"));
    M_raetsel->setObjectName(QStringLiteral("M_raetsel"));
    M_neu = addMenuItem(M_raetsel, "M_neu", QStringLiteral("Neu"), QKeySequence(Qt::CTRL | Qt::Key_N));
    M_laden = addMenuItem(M_raetsel, "M_laden", QStringLiteral("Laden"), QKeySequence(Qt::CTRL | Qt::Key_L));
    addSeparator(M_raetsel, "M_strich1");
    M_speichern = addMenuItem(M_raetsel, "M_speichern", QStringLiteral("Speichern"),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    M_speichern_unter = addMenuItem(M_raetsel, "M_speichern_unter", QStringLiteral("Speichern unter..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_U));
    addSeparator(M_raetsel, "M_strich2");
    M_Druckeinstellung = addMenuItem(M_raetsel, "M_Druckeinstellung", QStringLiteral("Druckerauswahl"),
                                     QKeySequence(Qt::CTRL | Qt::Key_A));
    M_drucken = addMenuItem(M_raetsel, "M_drucken", QStringLiteral("Drucken"), QKeySequence(Qt::CTRL | Qt::Key_D));
    addSeparator(M_raetsel, "M_strich3");
    M_end = addMenuItem(M_raetsel, "M_end", QStringLiteral("Programmende"), QKeySequence(Qt::CTRL | Qt::Key_E));
}

}  // namespace zifrax
