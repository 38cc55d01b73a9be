# The setup program under Wine: silent install, the stand-in player with the
# installed plug-in, silent uninstall.
if(NOT WIN32 OR NOT TUNORA_SETUP)
  return()
endif()
add_test(NAME installer_install_load_uninstall
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/installer_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                 ${TUNORA_SETUP} $<TARGET_FILE:ml_tunora>
                 ${PROJECT_SOURCE_DIR}/src/htmlcreator/templates $<TARGET_FILE:standin_host>)
# The stand-in player must not run beside another one.
set_tests_properties(installer_install_load_uninstall PROPERTIES
                     TIMEOUT 120 RUN_SERIAL TRUE LABELS host)
