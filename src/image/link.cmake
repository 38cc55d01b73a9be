# PNG covers are scaled with libpng (and zlib): Debian's packages natively,
# static MinGW builds (scripts/build-png-mingw.sh) for Windows.
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/mingw-prebuilt.cmake)
  tunora_link_mingw_prebuilt(TUNORA_MINGW_PNG mingw-png build-png-mingw.sh libpng.a libz.a)
else()
  find_package(PNG REQUIRED)
  target_link_libraries(tunora_core PUBLIC PNG::PNG)
endif()
