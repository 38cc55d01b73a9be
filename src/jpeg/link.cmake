# The JPEG codec is libjpeg-turbo in every tree: Debian's package natively,
# a static MinGW build (scripts/build-jpeg-mingw.sh) for Windows.
if(WIN32)
  set(tunora_mingw_jpeg "$ENV{TUNORA_MINGW_JPEG}")
  if(tunora_mingw_jpeg STREQUAL "")
    set(tunora_mingw_jpeg /opt/tunora/mingw-jpeg)
  endif()
  if(NOT EXISTS ${tunora_mingw_jpeg}/lib/libjpeg.a)
    message(FATAL_ERROR "libjpeg-turbo for MinGW is missing in ${tunora_mingw_jpeg}: "
                        "run scripts/build-jpeg-mingw.sh")
  endif()
  target_include_directories(tunora_core SYSTEM PRIVATE ${tunora_mingw_jpeg}/include)
  target_link_libraries(tunora_core PUBLIC ${tunora_mingw_jpeg}/lib/libjpeg.a)
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(tunora_core PUBLIC JPEG::JPEG)
endif()
