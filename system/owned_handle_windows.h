#pragma once
// Owned<Handle, Free>: one Windows handle (a font, an icon, a brush, a cursor, a menu, a
// window, a kernel object, a service, system-allocated memory) freed by its own function when
// the holder lets it go.

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
