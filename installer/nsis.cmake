# The Windows setup program (installer/ml_tunora.nsi), built with NSIS's
# makensis beside the plug-in: build/win/tunora-setup-VERSION.exe.
if(NOT WIN32)
  return()
endif()
find_program(TUNORA_MAKENSIS makensis)
if(NOT TUNORA_MAKENSIS)
  message(STATUS "Windows installer left out: no makensis (Debian package nsis)")
  return()
endif()

set(TUNORA_SETUP ${CMAKE_BINARY_DIR}/tunora-setup-${PROJECT_VERSION}.exe)
file(GLOB tunora_installed_templates CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/htmlcreator/templates/*.html)
add_custom_command(
  OUTPUT ${TUNORA_SETUP}
  COMMAND ${TUNORA_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DDLL=$<TARGET_FILE:ml_tunora>
          -DTEMPLATES=${PROJECT_SOURCE_DIR}/src/htmlcreator/templates -DOUTFILE=${TUNORA_SETUP}
          ${CMAKE_CURRENT_LIST_DIR}/ml_tunora.nsi
  DEPENDS ml_tunora ${CMAKE_CURRENT_LIST_DIR}/ml_tunora.nsi ${tunora_installed_templates}
  COMMENT "Making the setup program with NSIS")
add_custom_target(tunora_installer ALL DEPENDS ${TUNORA_SETUP})
