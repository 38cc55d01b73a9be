#include "host/browser_pane.h"

#include <exdisp.h>
#include <mshtml.h>
#include <servprov.h>
#include <wrl/client.h>

#include <memory>
#include <string>

namespace tunora::host {
namespace {

using Microsoft::WRL::ComPtr;

// The service under which a document's site hands out its browser: the
// number of the browser application interface.
constexpr GUID kWebBrowserService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The browser waits this long for the document's answer.
constexpr UINT kDocumentTimeoutMs = 1000;

using ObjectFromLresultFunction = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);

struct LibraryDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

struct BstrDeleter {
  void operator()(BSTR text) const { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<std::remove_pointer_t<BSTR>, BstrDeleter>;

// COM for the calling thread, as long as the object lives.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

HWND childOfClass(HWND parent, const wchar_t* className) {
  return FindWindowExW(parent, nullptr, className, nullptr);
}

ComPtr<IWebBrowser2> browserOfDocument(const ComPtr<IHTMLDocument2>& document) {
  ComPtr<IServiceProvider> services;
  ComPtr<IWebBrowser2> browser;
  if (FAILED(document.As(&services)) ||
      FAILED(services->QueryService(kWebBrowserService, IID_IWebBrowser2,
                                    reinterpret_cast<void**>(browser.GetAddressOf()))))
    return nullptr;
  return browser;
}

}  // namespace

bool navigatePane(HWND pane, std::u16string_view path, bool& ownNavigation) {
  const HWND view = childOfClass(pane, L"Shell DocObject View");
  const HWND server = view != nullptr ? childOfClass(view, L"Internet Explorer_Server") : nullptr;
  if (server == nullptr) return false;

  // Released before COM goes.
  const ComScope com;
  const UniqueLibrary accessibility(LoadLibraryW(L"OLEACC.DLL"));
  if (!accessibility) return false;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(server, RegisterWindowMessageW(L"WM_HTML_GETOBJECT"), 0, 0, SMTO_ABORTIFHUNG,
                      kDocumentTimeoutMs, &answer);
  const auto objectFromLresult = reinterpret_cast<ObjectFromLresultFunction>(
      reinterpret_cast<void*>(GetProcAddress(accessibility.get(), "ObjectFromLresult")));
  if (objectFromLresult == nullptr || answer == 0) return false;
  ComPtr<IHTMLDocument2> document;
  if (FAILED(objectFromLresult(static_cast<LRESULT>(answer), IID_IHTMLDocument2, 0,
                               reinterpret_cast<void**>(document.GetAddressOf()))) ||
      !document)
    return false;
  const ComPtr<IWebBrowser2> browser = browserOfDocument(document);
  if (!browser) return false;
  const std::u16string url(path);
  const UniqueBstr address(SysAllocString(reinterpret_cast<const wchar_t*>(url.c_str())));
  VARIANT none;
  VariantInit(&none);
  ownNavigation = true;
  return SUCCEEDED(browser->Navigate(address.get(), &none, &none, &none, &none));
}

}  // namespace tunora::host
