# The JPEG codec is libjpeg-turbo in every tree: Debian's package natively,
# a static MinGW build (scripts/build-jpeg-mingw.sh) for Windows.
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/mingw-prebuilt.cmake)
  tunora_link_mingw_prebuilt(TUNORA_MINGW_JPEG mingw-jpeg build-jpeg-mingw.sh libjpeg.a)
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(tunora_core PUBLIC JPEG::JPEG)
endif()
