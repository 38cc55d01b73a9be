# The default templates (UTF-16LE with byte-order mark) and the two fixed
# pages (8-bit) that ship inside the binaries.
list(APPEND TUNORA_HTML_RESOURCES
  126=src/htmlcreator/templates/single_track.html
  114=src/htmlcreator/templates/multiple_tracks.html
  124=src/htmlcreator/templates/directory.html
  131=src/htmlcreator/templates/mini.html
  123=src/htmlcreator/pages/start.html
)
