# The end-to-end page test: `tunora page` output opened in headless Chromium
# through playwright-core. Native tree only; the script reports "skipped"
# (exit 77) when Chromium or tests/e2e/node_modules is missing.
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  find_program(TUNORA_NODE node)
  if(TUNORA_NODE)
    add_test(NAME e2e_pages
             COMMAND ${TUNORA_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/pages.mjs $<TARGET_FILE:tunora>
                     ${PROJECT_SOURCE_DIR}/samples)
    set_tests_properties(e2e_pages PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
    # tunora serve in a browser while mpv changes songs.
    add_test(NAME e2e_serve
             COMMAND ${TUNORA_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/serve.mjs $<TARGET_FILE:tunora>
                     ${PROJECT_SOURCE_DIR}/samples)
    set_tests_properties(e2e_serve PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
  else()
    message(STATUS "e2e page test left out: no node")
  endif()
endif()
