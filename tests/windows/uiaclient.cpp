// What a Windows screen reader is handed of a window: asks UI Automation for
// the window by its title, as Narrator and NVDA do when it comes to the
// foreground, and prints every element under it, one a line, in UTF-8:
//   CONTROL-TYPE-ID <tab> STATE <tab> NAME
// STATE is "on" or "off" for what can be checked or selected, else "-".
//   uiaclient TITLE SECONDS   waits up to SECONDS for a window of that title
// Exits 1 when no such window appears, 2 when UI Automation fails.
#include <initguid.h>
#include <windows.h>
#include <ole2.h>
#include <uiautomation.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;
    ~ComPtr()
    {
        if (pointer)
            pointer->Release();
    }
    Interface *operator->() const { return pointer; }
    Interface *get() const { return pointer; }
    Interface **out() { return &pointer; }

private:
    Interface *pointer = nullptr;
};

// Owns a VARIANT that UI Automation filled.
class Variant {
public:
    Variant() { VariantInit(&value); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;
    ~Variant() { VariantClear(&value); }
    VARIANT *out() { return &value; }
    const VARIANT &get() const { return value; }

private:
    VARIANT value;
};

std::string utf8(const wchar_t *text, int length)
{
    if (length <= 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string nameOf(IUIAutomationElement *element)
{
    BSTR name = nullptr;
    if (FAILED(element->get_CurrentName(&name)) || !name)
        return {};
    std::string text = utf8(name, static_cast<int>(SysStringLen(name)));
    SysFreeString(name);
    return text;
}

// Whether the element is checked (a check box's toggle) or chosen (a radio
// button or a list item), as a screen reader says it.
const char *stateOf(IUIAutomationElement *element)
{
    Variant toggle;
    if (SUCCEEDED(element->GetCurrentPropertyValue(UIA_ToggleToggleStatePropertyId, toggle.out()))
        && toggle.get().vt == VT_I4)
        return toggle.get().lVal == ToggleState_On ? "on" : "off";
    Variant selected;
    if (SUCCEEDED(element->GetCurrentPropertyValue(UIA_SelectionItemIsSelectedPropertyId, selected.out()))
        && selected.get().vt == VT_BOOL)
        return selected.get().boolVal ? "on" : "off";
    return "-";
}

HWND waitForWindow(const wchar_t *title, int seconds)
{
    for (int tenth = 0; tenth <= seconds * 10; ++tenth) {
        if (HWND window = FindWindowW(nullptr, title))
            return window;
        Sleep(100);
    }
    return nullptr;
}

int printElements(HWND window)
{
    ComPtr<IUIAutomation> automation;
    if (FAILED(CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, IID_IUIAutomation,
                                reinterpret_cast<void **>(automation.out()))))
        return 2;
    ComPtr<IUIAutomationElement> root;
    ComPtr<IUIAutomationCondition> everything;
    ComPtr<IUIAutomationElementArray> elements;
    if (FAILED(automation->ElementFromHandle(window, root.out()))
        || FAILED(automation->CreateTrueCondition(everything.out()))
        || FAILED(root->FindAll(TreeScope_Descendants, everything.get(), elements.out())) || !elements.get())
        return 2;
    int count = 0;
    elements->get_Length(&count);
    for (int index = 0; index < count; ++index) {
        ComPtr<IUIAutomationElement> element;
        if (FAILED(elements->GetElement(index, element.out())))
            return 2;
        CONTROLTYPEID type = 0;
        element->get_CurrentControlType(&type);
        std::printf("%d\t%s\t%s\n", static_cast<int>(type), stateOf(element.get()), nameOf(element.get()).c_str());
    }
    return 0;
}

} // namespace

int main()
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 3) {
        std::fputs("usage: uiaclient TITLE SECONDS\n", stderr);
        return 2;
    }
    const HWND window = waitForWindow(arguments[1], static_cast<int>(std::wcstol(arguments[2], nullptr, 10)));
    LocalFree(arguments);
    if (!window) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 2;
    const int status = printElements(window);
    CoUninitialize();
    std::fflush(stdout);
    return status;
}
