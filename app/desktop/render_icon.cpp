// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the window's smiling face as a PNG of the given size, so that the
// desktop icons are drawn by the same code as the window icon:
//   zifrax_render_icon SIZE FILE.png
#include <QImage>
#include <QString>
#include <cstdio>

#include "app/icons.h"

int main(int argc, char* argv[])
{
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: zifrax_render_icon SIZE FILE.png\n");
        return 2;
    }
    if (!zifrax::smileyImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zifrax_render_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
