# The built-in pages as browsers get them: HTML5 in standards mode.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
add_test(NAME builtin_pages_valid_html
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/valid_html_test.sh $<TARGET_FILE:tunora>
                 ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/src/htmlcreator/pages/start.html)
set_tests_properties(builtin_pages_valid_html PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
