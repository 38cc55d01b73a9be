# The HTML pages that ship inside the binaries. On Windows they are resources of
# type 23 in an .rc file; elsewhere the same bytes are compiled into a table.
# Each entry of TUNORA_HTML_RESOURCES is "NAME=path", absolute (a generated
# file) or relative to the source tree; the number is TUNORA_RESOURCE_NAME of
# src/io/resource_numbers.h, which both generated files include.

function(tunora_generate_resources out_cpp out_rc)
  set(table "")
  set(rc "#include \"io/resource_numbers.h\"\n")
  foreach(entry IN LISTS TUNORA_HTML_RESOURCES)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 name)
    set(number "TUNORA_RESOURCE_${name}")
    list(GET parts 1 relpath)
    cmake_path(ABSOLUTE_PATH relpath BASE_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE path)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
    list(APPEND pages "${path}")
    file(READ "${path}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND table "constexpr std::uint8_t k${name}[] = {${bytes}};\n")
    list(APPEND entries "{${number}, k${name}}")
    string(APPEND rc "${number} 23 \"${path}\"\n")
  endforeach()
  list(JOIN entries ",\n    " entry_list)
  file(CONFIGURE OUTPUT "${out_cpp}" CONTENT "// Generated from the HTML resource list; do not edit.
#include \"io/resources.h\"

namespace tunora {
namespace {
${table}}  // namespace

std::span<const EmbeddedResource> embeddedResources() {
  static const EmbeddedResource table[] = {
    ${entry_list}
  };
  return table;
}

}  // namespace tunora
")
  file(CONFIGURE OUTPUT "${out_rc}" CONTENT "${rc}")
  # The resource compiler does not report the files an .rc names, so each
  # .rc that carries the pages is rebuilt when one of them changes.
  set(TUNORA_HTML_PAGES "${pages}" PARENT_SCOPE)
endfunction()
