// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include "core/grid.h"

namespace zifrax {

// One cell of the grid: an edit box that reports every key released in it
// and keeps its background as a colour value, compared exactly elsewhere.
class CellEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(uint backgroundColour READ backgroundColour WRITE setBackgroundColour)

public:
    CellEdit(int index, QWidget* parent);

    int index() const { return index_; }
    Colour backgroundColour() const { return colour_; }
    void setBackgroundColour(Colour colour);

signals:
    void keyReleased(int index);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int index_;
    Colour colour_ = kEmptyCellColour;
};

}  // namespace zifrax
