#include "standin_browser.h"

#include <mshtml.h>
#include <oleacc.h>

namespace tunora::standin {
namespace {

// The numbers the plug-in asks for, written out as the browser knows them.
constexpr GUID kHtmlDocument2 = {
    0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
constexpr GUID kWebBrowserService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

}  // namespace

HRESULT StandinBrowser::QueryInterface(REFIID iid, void** object) {
  *object = nullptr;
  // Navigate is where the plug-in's browser interface has it.
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IWebBrowser && iid != kWebBrowser2)
    return E_NOINTERFACE;
  *object = static_cast<IWebBrowser*>(this);
  return S_OK;
}

HRESULT StandinBrowser::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  navigations.emplace_back(url != nullptr ? url : L"");
  if (pane != nullptr) SendMessageW(pane, 0x700, 0, 0);
  return S_OK;
}

StandinDocument::~StandinDocument() {
  if (marshaler_ != nullptr) marshaler_->Release();
}

LRESULT StandinDocument::objectFor(WPARAM wParam) {
  if (answers == DocumentAnswers::NoObject) return 0;
  return LresultFromObject(kHtmlDocument2, wParam, static_cast<IServiceProvider*>(this));
}

HRESULT StandinDocument::QueryInterface(REFIID iid, void** object) {
  *object = nullptr;
  if (iid == IID_IMarshal) {
    if (marshaler_ == nullptr &&
        FAILED(CoCreateFreeThreadedMarshaler(static_cast<IServiceProvider*>(this), &marshaler_)))
      return E_NOINTERFACE;
    return marshaler_->QueryInterface(iid, object);
  }
  const bool provider = iid == IID_IServiceProvider;
  if (provider && answers == DocumentAnswers::NoServiceProvider) return E_NOINTERFACE;
  if (iid != IID_IUnknown && iid != kHtmlDocument2 && !provider) return E_NOINTERFACE;
  *object = static_cast<IServiceProvider*>(this);
  return S_OK;
}

HRESULT StandinDocument::QueryService(REFGUID service, REFIID iid, void** object) {
  *object = nullptr;
  if (service != kWebBrowserService || answers == DocumentAnswers::NoBrowser) return E_NOINTERFACE;
  return browser_.QueryInterface(iid, object);
}

}  // namespace tunora::standin
