#pragma once
// GDI handles that clean up after themselves: a bitmap we own, a memory
// device context, and an object selected into one that is deselected again.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tunora::host {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

struct DeviceContextDeleter {
  void operator()(HDC context) const { DeleteDC(context); }
};
using UniqueMemoryContext = std::unique_ptr<std::remove_pointer_t<HDC>, DeviceContextDeleter>;

// A memory device context compatible with the screen; empty on failure.
inline UniqueMemoryContext screenCompatibleContext() {
  return UniqueMemoryContext(CreateCompatibleDC(nullptr));
}

// Selects `object` into `context` for its lifetime and then restores what
// was selected before, so that the object can be deleted afterwards.
class SelectedObject {
 public:
  SelectedObject(HDC context, HGDIOBJ object)
      : context_(context), previous_(SelectObject(context, object)) {}
  ~SelectedObject() {
    if (selected()) SelectObject(context_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  bool selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC context_;
  HGDIOBJ previous_;
};

}  // namespace tunora::host
