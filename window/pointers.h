#pragma once
// The window's mouse pointers: its own pointer over its surface, and the icon pointer (a small
// square inside a square) that Qt lacks among its stock shapes, drawn here.

#include <QCursor>

namespace brivana::window {

// The window's own pointer, from the pictures; its hot spot is at (5, 0).
QCursor WindowPointer();
QCursor IconPointer();

}  // namespace brivana::window
