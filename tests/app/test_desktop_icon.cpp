// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-drawn SVG icon must show the same face as the program's own
// drawing, from which the PNG icons and the window icon come.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "app/icons.h"

class TestDesktopIcon : public QObject {
    Q_OBJECT

private slots:
    void svgMatchesTheWindowIcon()
    {
        const int size = 64;
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("svg.png"));
        QVERIFY2(QProcess::execute(QStringLiteral("rsvg-convert"), {"-w", QString::number(size), "-h",
                                                                   QString::number(size), "-o", png,
                                                                   QStringLiteral(ZIFRAX_ICON_SVG)}) == 0,
                 "rsvg-convert (Debian package librsvg2-bin) could not render the SVG icon");
        const QImage fromSvg = QImage(png).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage drawn = zifrax::smileyImage(size);
        QCOMPARE(fromSvg.size(), drawn.size());

        // Two renderers anti-alias edges a little differently, which changes a
        // thin seam of pixels by part of their coverage; a moved, resized or
        // recoloured part changes a whole area, so the mean difference tells them apart.
        double total = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb a = fromSvg.pixel(x, y), b = drawn.pixel(x, y);
                total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                         std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
            }
        }
        const double mean = total / (size * size * 4);
        QVERIFY2(mean < 1.0, qPrintable(QStringLiteral("mean difference per channel %1").arg(mean)));
    }
};

QTEST_MAIN(TestDesktopIcon)
#include "test_desktop_icon.moc"
