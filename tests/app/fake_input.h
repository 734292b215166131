// SPDX-License-Identifier: GPL-3.0-or-later
// Key and mouse events sent through the X server as if from real devices
// (XTest). Kept apart from Qt's headers, which clash with Xlib's macros.
#pragma once

struct _XDisplay;

namespace zifrax::testing {

class FakeInput {
public:
    FakeInput();  // on the display that DISPLAY names
    ~FakeInput();
    FakeInput(const FakeInput&) = delete;
    FakeInput& operator=(const FakeInput&) = delete;

    void key(const char* keysymName, bool down);  // "Return", "Control_L", "u" …
    void moveTo(int x, int y);                    // screen coordinates
    void button(unsigned button, bool down);      // 1 left, 2 middle, 3 right

private:
    _XDisplay* display_;
};

}  // namespace zifrax::testing
