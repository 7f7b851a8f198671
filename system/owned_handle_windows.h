#pragma once
// Owned<Handle, Free>: one Windows handle (a font, an icon, a brush, a cursor, a menu, a
// window, a hook, a kernel object, a service, system-allocated memory) freed by its own function
// when the holder lets it go; and the holders of what is taken for a moment and given back: a
// window's DC, an object selected into a DC, a WM_PAINT's painting, the open clipboard, locked
// global memory, a COM reference.

#include <windows.h>

#include <objbase.h>
#include <winsvc.h>

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

// Kernel objects, services and what the system allocates for the record service and its installer.
// CreateFileW, CreateNamedPipeW and FindFirstFileW fail with INVALID_HANDLE_VALUE rather than
// null: Kernel() and Search() take their result so that a failure is held as empty.
using OwnedKernel = Owned<HANDLE, CloseHandle>;
using OwnedSearch = Owned<HANDLE, FindClose>;
using OwnedService = Owned<SC_HANDLE, CloseServiceHandle>;
using OwnedEventSource = Owned<HANDLE, DeregisterEventSource>;
// A security descriptor, an SDDL text or a SID text the system made with LocalAlloc.
template <typename Pointer>
using OwnedLocal = Owned<Pointer, LocalFree>;
// A text COM or the shell hands over.
template <typename Pointer>
using OwnedTaskMemory = Owned<Pointer, CoTaskMemFree>;

inline OwnedKernel Kernel(HANDLE handle)
{
    return OwnedKernel(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
inline OwnedSearch Search(HANDLE handle)
{
    return OwnedSearch(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace brivana

// ---- What the window's drawing, dialogs and keys hold for a moment ----------------------------

namespace brivana {

// A window's device context, released when the holder goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context; the one it replaced goes back when the holder goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection()
    {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// One WM_PAINT's painting: BeginPaint, and EndPaint when the holder goes.
class Painting {
public:
    explicit Painting(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~Painting() { EndPaint(window_, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

using OwnedHook = Owned<HHOOK, UnhookWindowsHookEx>;

// The clipboard, open for this window while the holder lives.
class OpenClipboardFor {
public:
    explicit OpenClipboardFor(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardFor()
    {
        if (open_) CloseClipboard();
    }
    OpenClipboardFor(const OpenClipboardFor&) = delete;
    OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A global memory block locked while the holder lives.
template <typename T>
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL memory) : memory_(memory), data_(static_cast<T*>(GlobalLock(memory))) {}
    ~GlobalLocked()
    {
        if (data_) GlobalUnlock(memory_);
    }
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
    T* get() const { return data_; }

private:
    HGLOBAL memory_;
    T* data_;
};

// One reference to a COM object, released when the holder goes.
template <typename Interface>
class ComReference {
public:
    ComReference() = default;
    explicit ComReference(Interface* object) : object_(object) {}
    ~ComReference()
    {
        if (object_) object_->Release();
    }
    ComReference(ComReference&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComReference& operator=(ComReference&&) = delete;
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;
    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    // Where a function that hands out a reference writes it; the holder must hold none yet.
    void** out() { return reinterpret_cast<void**>(&object_); }

private:
    Interface* object_ = nullptr;
};

}  // namespace brivana
