#pragma once
// Libraries that the tool opens on their first call instead of at every start.
// A library linked as usual is loaded and set up, with the libraries behind
// it, each time the tool starts, whether or not the command needs it. The
// tool links with --as-needed and defines stand-ins for the functions it
// calls (the *_on_demand_posix.cpp files), so the library itself is not
// loaded at start; each stand-in forwards to the library's own function,
// found here.

namespace tunora {

// A shared library opened by its file name. It stays loaded until the process
// ends, as a linked one would.
class OnDemandLibrary {
 public:
  explicit OnDemandLibrary(const char* fileName);

  bool opened() const { return handle_ != nullptr; }

  // Sets `function` to the library's function `name`; null, and false, when
  // the library or the function is missing.
  template <typename Function>
  bool bind(const char* name, Function& function) const {
    function = reinterpret_cast<Function>(symbol(name));
    return function != nullptr;
  }

 private:
  void* symbol(const char* name) const;

  void* handle_ = nullptr;
};

// The table of a library's functions, opened and filled on the first call by
// `Functions::bindAll(const OnDemandLibrary&)`, which tells whether it found
// them all. Null when the library or one of its functions is missing: the
// stand-ins then fail as the library reports failure, all of them, rather
// than leave a caller with half a library.
template <typename Functions>
const Functions* loadOnDemand(const char* fileName) {
  static const Functions* const loaded = [fileName]() -> const Functions* {
    const OnDemandLibrary library(fileName);
    static Functions functions;
    return library.opened() && functions.bindAll(library) ? &functions : nullptr;
  }();
  return loaded;
}

}  // namespace tunora
