# What a Linux user installs: `cmake --install` into a temporary root, and
# the Debian package that CPack makes, each checked for its files and run.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
add_test(NAME package_install
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR}
                 ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR}/samples)
add_test(NAME package_deb COMMAND ${CMAKE_CURRENT_LIST_DIR}/deb_test.sh ${CMAKE_BINARY_DIR}
                                  ${PROJECT_VERSION})
set_tests_properties(package_install package_deb PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
