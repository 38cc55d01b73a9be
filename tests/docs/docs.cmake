# The documents in docs/ checked against the tool they describe.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
add_test(NAME docs_template_guide
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/template_guide_test.sh $<TARGET_FILE:tunora>
                 ${PROJECT_SOURCE_DIR})
set_tests_properties(docs_template_guide PROPERTIES TIMEOUT 60)
