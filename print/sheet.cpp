// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/sheet.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>

#include "appearance/colours.h"
#include "core/credits.h"
#include "appearance/fonts.h"

namespace zifrax {

namespace {

constexpr double kTwipsPerInch = 1440.0;

constexpr int kGridLeft = 2500;
constexpr int kGridTop = 2000;
constexpr int kCellSide = 950;
constexpr int kGridRight = kGridLeft + 9 * kCellSide;
constexpr int kGridBottom = kGridTop + 9 * kCellSide;
constexpr int kColumnLeft = 12100;  // texts of the right-hand column
constexpr int kRightEdge = 15500;   // heading rule and both boxes end here

constexpr int kThinLine = 1;  // device pixels
constexpr int kThickLine = 5;

constexpr Colour kBlack = 0x000000;
constexpr Colour kHeadingColour = 0x800000;      // dark blue
constexpr Colour kInfoBoxColour = 0x00C000;      // green
constexpr Colour kCreditsBoxColour = 0xFF8080;   // light blue

// Draws like a line printer's page object: positions in twips, a current
// line width, text colour and font that stay until set again, and texts
// placed by their top-left corner.
class TwipsPainter {
public:
    explicit TwipsPainter(QPainter& painter)
        : painter_(painter)
        , pixelsPerTwipX_(painter.device()->logicalDpiX() / kTwipsPerInch)
        , pixelsPerTwipY_(painter.device()->logicalDpiY() / kTwipsPerInch)
    {
        painter_.setBackgroundMode(Qt::TransparentMode);
    }

    void setLineWidth(int pixels) { lineWidth_ = pixels; }
    void setTextColour(Colour colour) { textColour_ = toQColor(colour); }

    void setFont(double points, bool bold)
    {
        // The window's face rather than the device's default, which differs
        // from machine to machine and may not fit the boxes.
        painter_.setFont(arialFont(points, bold));
    }

    void print(int x, int y, const QString& text)
    {
        if (text.isEmpty())
            return;
        const QFontMetricsF metrics(painter_.font(), painter_.device());
        painter_.setPen(textColour_);
        painter_.drawText(at(x, y) + QPointF(0, metrics.ascent()), text);
    }

    void line(int x1, int y1, int x2, int y2, Colour colour)
    {
        painter_.setPen(pen(colour));
        painter_.drawLine(at(x1, y1), at(x2, y2));
    }

    void outline(int left, int top, int right, int bottom, Colour colour)
    {
        painter_.setPen(pen(colour));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRectF(at(left, top), at(right, bottom)));
    }

    void fill(int left, int top, int right, int bottom, Colour colour)
    {
        painter_.fillRect(QRectF(at(left, top), at(right, bottom)), toQColor(colour));
    }

private:
    QPointF at(int x, int y) const { return QPointF(x * pixelsPerTwipX_, y * pixelsPerTwipY_); }

    QPen pen(Colour colour) const
    {
        // Cosmetic: the width is in device pixels whatever the resolution.
        QPen pen(toQColor(colour));
        pen.setWidth(lineWidth_);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }

    QPainter& painter_;
    const double pixelsPerTwipX_;
    const double pixelsPerTwipY_;
    int lineWidth_ = kThinLine;
    QColor textColour_ = Qt::black;
};

// Calls draw(cell index, left, top) for every cell, row by row.
template <typename Draw>
void forEachCell(Draw draw)
{
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            draw(cellIndex(row, column), kGridLeft + (column - 1) * kCellSide, kGridTop + (row - 1) * kCellSide);
}

}  // namespace

void drawSheet(QPainter& painter, const SheetContent& sheet)
{
    TwipsPainter page(painter);

    page.setTextColour(kHeadingColour);
    page.setFont(24, false);
    page.print(2000, 1000, QStringLiteral("Zifrax   ") + sheet.fileTitle);
    page.setLineWidth(kThickLine);
    page.line(2000, 1500, kRightEdge, 1500, kBlack);

    // Fills first, so that digits and borders lie on top of them.
    forEachCell([&](int index, int left, int top) {
        page.fill(left, top, left + kCellSide, top + kCellSide, sheet.cells[index].colour);
    });
    page.setFont(36, false);
    page.setTextColour(kBlack);
    forEachCell([&](int index, int left, int top) { page.print(left + 250, top + 100, sheet.cells[index].text); });
    page.setLineWidth(kThinLine);
    forEachCell([&](int, int left, int top) { page.outline(left, top, left + kCellSide, top + kCellSide, kBlack); });

    page.setLineWidth(kThickLine);
    for (int x : {kGridLeft + 3 * kCellSide, kGridLeft + 6 * kCellSide})
        page.line(x, kGridTop, x, kGridBottom, kBlack);
    for (int y : {kGridTop + 3 * kCellSide, kGridTop + 6 * kCellSide})
        page.line(kGridLeft, y, kGridRight, y, kBlack);
    page.outline(kGridLeft, kGridTop, kGridRight, kGridBottom, kBlack);

    page.outline(12000, 6900, kRightEdge, 8500, kInfoBoxColour);
    page.setTextColour(kBlack);
    page.setFont(14, true);
    page.print(kColumnLeft, 7000, QStringLiteral("Zifrax"));
    page.setFont(14, false);
    page.print(kColumnLeft, 7400, sheet.frameCaption);
    page.setFont(10, false);
    // German formats whatever the system's locale; the locale's long time
    // format would add the time zone.
    const QLocale german(QLocale::German, QLocale::Germany);
    page.print(kColumnLeft, 7900,
               QStringLiteral("Datum: ") + german.toString(sheet.printedAt.date(), QLocale::ShortFormat));
    page.print(kColumnLeft, 8200,
               QStringLiteral("Uhrzeit: ") + german.toString(sheet.printedAt.time(), QStringLiteral("HH:mm:ss")));

    page.outline(12000, 9000, kRightEdge, 10500, kCreditsBoxColour);
    page.setFont(10, true);
    page.print(kColumnLeft, 9100, QString::fromUtf8(credits::kSheetCreditsHeading));
    page.setFont(10, false);
    int y = 9450;
    for (const char* line : credits::kSheetCreditLines) {
        page.print(kColumnLeft, y, QString::fromUtf8(line));
        y += 250;
    }

    page.setFont(8, false);
    page.print(5000, 11000, sheet.filePath);
}

}  // namespace zifrax
