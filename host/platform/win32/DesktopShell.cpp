#include "DesktopShell.h"

#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstring>

#include "SystemLibrary.h"
#include "Wide.h"

namespace vrk {
namespace {

// COM and its strings are loaded when first used, from the system folder.
struct ComApi {
    using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    using AllocString = BSTR(WINAPI*)(const OLECHAR*);
    using FreeString = void(WINAPI*)(BSTR);
    Initialize initialize = nullptr;
    CreateInstance createInstance = nullptr;
    AllocString allocString = nullptr;
    FreeString freeString = nullptr;
    ComApi() {
        HMODULE ole = SystemLibrary(L"ole32.dll");
        HMODULE automation = SystemLibrary(L"oleaut32.dll");
        initialize = SystemFunction<Initialize>(ole, "CoInitializeEx");
        createInstance = SystemFunction<CreateInstance>(ole, "CoCreateInstance");
        allocString = SystemFunction<AllocString>(automation, "SysAllocString");
        freeString = SystemFunction<FreeString>(automation, "SysFreeString");
    }
    bool available() const { return initialize && createInstance && allocString && freeString; }
};

const ComApi& Com() {
    static const ComApi api;
    return api;
}

// One interface pointer, released when it goes.
template <class Interface> class ComPointer {
public:
    ComPointer() = default;
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ~ComPointer() {
        if (pointer_) pointer_->Release();
    }
    Interface** Put() { return &pointer_; }
    void** PutVoid() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

// An argument of no value. (VariantInit would import the automation
// library with the program.)
VARIANT NoValue() {
    VARIANT value;
    std::memset(&value, 0, sizeof value);
    value.vt = VT_EMPTY;
    return value;
}

// A text argument for the shell's call; empty text is no argument.
class TextArgument {
public:
    explicit TextArgument(const std::string& text) : value_(NoValue()) {
        if (text.empty()) return;
        const std::wstring wide = Wide(text);
        value_.vt = VT_BSTR;
        value_.bstrVal = Com().allocString(wide.c_str());
    }
    ~TextArgument() {
        if (value_.vt == VT_BSTR && value_.bstrVal) Com().freeString(value_.bstrVal);
    }
    TextArgument(const TextArgument&) = delete;
    TextArgument& operator=(const TextArgument&) = delete;
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

// The shell of the desktop, reached through the view of the desktop window:
// ShellWindows finds the desktop's browser, whose shell view gives the
// folder view's automation object, whose application is the shell itself,
// in the desktop's process.
bool DesktopShellDispatch(ComPointer<IShellDispatch2>& shell) {
    ComPointer<IShellWindows> windows;
    if (FAILED(Com().createInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                    windows.PutVoid())))
        return false;
    VARIANT location = NoValue(), root = NoValue();
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    long window = 0;
    ComPointer<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.Put()) != S_OK ||
        !desktop)
        return false;
    ComPointer<IServiceProvider> services;
    ComPointer<IShellBrowser> browser;
    ComPointer<IShellView> view;
    ComPointer<IDispatch> background;
    ComPointer<IShellFolderViewDual> folderView;
    ComPointer<IDispatch> application;
    return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.PutVoid())) &&
           SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.Put())) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.PutVoid())) &&
           SUCCEEDED(folderView->get_Application(application.Put())) && application &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.PutVoid())) && shell;
}

// A failure of the call's way to the desktop's process, not of what it asked.
bool NoAnswer(HRESULT result) {
    return HRESULT_FACILITY(result) == FACILITY_RPC || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
}

} // namespace

bool OpenThroughDesktop(const ShellCall& call) {
    if (!Com().available()) return false;
    // The window's thread joins a single-threaded apartment once and stays
    // in it; a thread already in the multi-threaded one may call as it is.
    static const HRESULT joined = Com().initialize(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(joined) && joined != RPC_E_CHANGED_MODE) return false;

    ComPointer<IShellDispatch2> shell;
    if (!DesktopShellDispatch(shell)) return false;
    const std::wstring file = Wide(call.file);
    const BSTR fileText = Com().allocString(file.c_str());
    if (!fileText) return false;
    const TextArgument parameters(call.parameters), directory(call.directory), verb(call.verb);
    VARIANT show = NoValue();
    show.vt = VT_I4;
    show.lVal = call.showCommand;
    const HRESULT result = shell->ShellExecute(fileText, parameters.get(), directory.get(), verb.get(), show);
    Com().freeString(fileText);
    return !NoAnswer(result);
}

} // namespace vrk
