// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace zifrax {

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The bevel alone, then picture and caption stacked in the middle.
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QSize pictureSize = iconSize();
    const int textHeight = fontMetrics().height();
    const int top = (height() - pictureSize.height() - 4 - textHeight) / 2;
    const QRect pictureRect(QPoint((width() - pictureSize.width()) / 2, top), pictureSize);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    icon().paint(&painter, pictureRect, Qt::AlignCenter, mode, isChecked() ? QIcon::On : QIcon::Off);
    const QRect textRect(0, pictureRect.bottom() + 4, width(), textHeight);
    painter.drawItemText(textRect, Qt::AlignCenter, palette(), isEnabled(), text(), QPalette::ButtonText);
}

}  // namespace zifrax
