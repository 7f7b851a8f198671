#include "system/open_in_browser.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "system/error_text.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

// The shell's handlers may be COM objects: the thread is set up for them while it asks.
struct ComForTheShell {
    const bool ready = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    ~ComForTheShell()
    {
        if (ready) CoUninitialize();
    }
};

}  // namespace

std::string OpenInBrowser(const std::string& path)
{
    const ComForTheShell com;
    // The shell opens a .html file in the default browser.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return {};
    return "Non riesco ad aprire la pagina " + path + " nel browser (" + SystemErrorText(GetLastError()) +
           "). La si può aprire a mano.";
}

}  // namespace brivana
