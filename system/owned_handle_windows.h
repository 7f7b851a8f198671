#pragma once
// Owned<Handle, Free>: one Windows handle (a font, an icon, a brush, a cursor, a menu, a
// window) freed by its own function when the holder lets it go.

#include <windows.h>

#include <utility>

namespace brivana {

template <typename Handle, auto Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    // Frees the handle held, then holds this one.
    void reset(Handle handle = nullptr)
    {
        if (handle_) Free(handle_);
        handle_ = handle;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedBrush = Owned<HBRUSH, DeleteObject>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedCursor = Owned<HCURSOR, DestroyCursor>;
using OwnedMenu = Owned<HMENU, DestroyMenu>;
using OwnedWindow = Owned<HWND, DestroyWindow>;

}  // namespace brivana
