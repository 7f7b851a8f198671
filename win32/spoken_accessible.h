#pragma once
// What a screen reader is told of a control through MSAA: the control's standard accessible
// object, with its own name, description and role in place of the standard ones where it has them.
// A control answers WM_GETOBJECT with one made afresh, so the words are always its latest.

#include <windows.h>

#include <string>

namespace brivana::win32 {

struct SpokenWords {
    std::wstring name;         // empty: the standard name (the window text, or its label's)
    std::wstring description;  // empty: the standard description
    long role = 0;             // 0: the standard role
};

// The answer to WM_GETOBJECT for a control; 0 when the object asked for is not its client
// (the control's own window procedure answers then).
LRESULT SpokenAccessible(HWND control, WPARAM flags, LPARAM objectId, const SpokenWords& words);

}  // namespace brivana::win32
