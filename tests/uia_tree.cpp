// Reads a shown window through UI Automation, as Windows screen readers read it: prints the
// window's element and each element below it, one per line, as its kind, its name, its full
// description, its value and whether it has the keyboard, separated by tabs. NVDA and Narrator
// present a window's opening from these properties of the element with the focus. A property
// UI Automation gives no answer for is printed as "?" (Wine answers some of them only), an
// answered empty one as nothing. Waits up to 10 s for a top-level window with exactly the title
// given.
//   uia_tree.exe TITLE
// Exits 1 when there is no such window, or UI Automation cannot be reached.

#include <windows.h>
#include <objbase.h>
#include <uiautomation.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const char* text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
  if (size > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

// The kinds a screen reader names to its user; any other by its number.
std::string Kind(CONTROLTYPEID kind) {
  switch (kind) {
    case UIA_ButtonControlTypeId: return "button";
    case UIA_EditControlTypeId: return "edit";
    case UIA_TextControlTypeId: return "text";
    case UIA_WindowControlTypeId: return "window";
    case UIA_PaneControlTypeId: return "pane";
    case UIA_GroupControlTypeId: return "group";
    case UIA_StatusBarControlTypeId: return "status bar";
    case UIA_MenuBarControlTypeId: return "menu bar";
    case UIA_MenuItemControlTypeId: return "menu item";
    case UIA_TitleBarControlTypeId: return "title bar";
    case UIA_ScrollBarControlTypeId: return "scroll bar";
    case UIA_HyperlinkControlTypeId: return "link";
    case UIA_ImageControlTypeId: return "image";
    case UIA_DocumentControlTypeId: return "document";
    case UIA_CustomControlTypeId: return "custom";
    default: return "kind " + std::to_string(kind);
  }
}

// A property as UI Automation answers it, asked for by its id rather than through a pattern (the
// Value pattern gave Wine's client nothing): text as it is, a truth as "yes" or "no", and "?"
// where there is no answer. Tabs and line ends become spaces, so that each element stays a line.
std::string Property(IUIAutomationElement& element, PROPERTYID id) {
  VARIANT value;
  VariantInit(&value);
  std::string answer = "?";
  // The Ex form with defaults, which is what GetCurrentPropertyValue is on Windows: Wine 10
  // answers only the Ex form (the other is a stub there that answers E_NOTIMPL).
  if (SUCCEEDED(element.GetCurrentPropertyValueEx(id, FALSE, &value))) {
    if (V_VT(&value) == VT_BSTR) {
      const BSTR written = V_BSTR(&value);
      answer = written != nullptr ? Narrow(written, static_cast<int>(SysStringLen(written)))
                                  : std::string();
    } else if (V_VT(&value) == VT_BOOL) {
      answer = V_BOOL(&value) != VARIANT_FALSE ? "yes" : "no";
    }
  }
  VariantClear(&value);
  const auto breaksLine = [](char each) { return each == '\t' || each == '\n' || each == '\r'; };
  std::replace_if(answer.begin(), answer.end(), breaksLine, ' ');
  return answer;
}

// Not named by older MinGW-w64 headers; the ids are UI Automation's own.
constexpr PROPERTYID kFullDescription = 30159;
constexpr PROPERTYID kValue = 30045;
constexpr PROPERTYID kHasKeyboardFocus = 30008;

void Print(IUIAutomationElement& element) {
  CONTROLTYPEID kind = 0;
  element.get_CurrentControlType(&kind);
  BSTR name = nullptr;
  element.get_CurrentName(&name);
  const std::string written =
      name != nullptr ? Narrow(name, static_cast<int>(SysStringLen(name))) : std::string();
  SysFreeString(name);
  std::printf("%s\t%s\t%s\t%s\t%s\n", Kind(kind).c_str(), written.c_str(),
              Property(element, kFullDescription).c_str(), Property(element, kValue).c_str(),
              Property(element, kHasKeyboardFocus).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: uia_tree.exe TITLE\n");
    return 2;
  }
  const std::wstring title = Wide(argv[1]);
  HWND window = nullptr;
  for (int tries = 0; tries < 100 && window == nullptr; ++tries) {
    window = FindWindowW(nullptr, title.c_str());
    if (window == nullptr) Sleep(100);
  }
  if (window == nullptr) {
    std::fprintf(stderr, "uia_tree: no window titled %s\n", argv[1]);
    return 1;
  }

  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IUIAutomation* automation = nullptr;
  IUIAutomationElement* element = nullptr;
  IUIAutomationCondition* every = nullptr;
  IUIAutomationElementArray* found = nullptr;
  int status = 1;
  HRESULT result = CoCreateInstance(__uuidof(CUIAutomation), nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IUIAutomation), reinterpret_cast<void**>(&automation));
  if (FAILED(result)) {
    std::fprintf(stderr, "uia_tree: UI Automation cannot be reached (0x%08lx)\n",
                 static_cast<unsigned long>(result));
  } else if (result = automation->ElementFromHandle(window, &element);
             FAILED(result) || element == nullptr) {
    std::fprintf(stderr, "uia_tree: UI Automation has no element for %s (0x%08lx)\n", argv[1],
                 static_cast<unsigned long>(result));
  } else if (result = automation->CreateTrueCondition(&every);
             FAILED(result) || every == nullptr ||
             FAILED(result = element->FindAll(TreeScope_Subtree, every, &found)) ||
             found == nullptr) {
    // Wine's UI Automation has no tree walkers (E_NOTIMPL for every view), so the window's
    // elements are asked for all at once, in the tree's order.
    std::fprintf(stderr, "uia_tree: UI Automation cannot list the elements of %s (0x%08lx)\n",
                 argv[1], static_cast<unsigned long>(result));
  } else {
    int count = 0;
    found->get_Length(&count);
    for (int i = 0; i < count; ++i) {
      IUIAutomationElement* each = nullptr;
      if (SUCCEEDED(found->GetElement(i, &each)) && each != nullptr) {
        Print(*each);
        each->Release();
      }
    }
    status = 0;
  }
  if (found != nullptr) found->Release();
  if (every != nullptr) every->Release();
  if (element != nullptr) element->Release();
  if (automation != nullptr) automation->Release();
  CoUninitialize();
  std::fflush(stdout);
  return status;
}
