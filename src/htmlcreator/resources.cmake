# The default templates (UTF-16LE with byte-order mark) and the two fixed
# pages (8-bit) that ship inside the binaries.
# The start page names the project's version.
configure_file(${PROJECT_SOURCE_DIR}/src/htmlcreator/pages/start.html
               ${PROJECT_BINARY_DIR}/src/htmlcreator/pages/start.html @ONLY)
list(APPEND TUNORA_HTML_RESOURCES
  SINGLE_TRACK=src/htmlcreator/templates/single_track.html
  MULTIPLE_TRACKS=src/htmlcreator/templates/multiple_tracks.html
  DIRECTORY=src/htmlcreator/templates/directory.html
  MINI=src/htmlcreator/templates/mini.html
  OVERLAY=src/htmlcreator/templates/overlay.html
  START_PAGE=${PROJECT_BINARY_DIR}/src/htmlcreator/pages/start.html
  NO_SUPPORTED_FILES=src/htmlcreator/pages/no_supported_files.html
)
