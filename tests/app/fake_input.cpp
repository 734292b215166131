// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/fake_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace zifrax::testing {

FakeInput::FakeInput() : display_(XOpenDisplay(nullptr)) {}

FakeInput::~FakeInput() { XCloseDisplay(display_); }

void FakeInput::key(const char* keysymName, bool down)
{
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XStringToKeysym(keysymName)), down, CurrentTime);
    XFlush(display_);
}

void FakeInput::moveTo(int x, int y)
{
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XFlush(display_);
}

void FakeInput::button(unsigned button, bool down)
{
    XTestFakeButtonEvent(display_, button, down, CurrentTime);
    XFlush(display_);
}

}  // namespace zifrax::testing
