# The Windows build (MinGW-w64): FLTK 1.3.8 and GoogleTest built from source,
# everything linked statically, tests run under Wine. Included before the
# project's warning flags so that they stay off FLTK's and GoogleTest's code.
include(FetchContent)

# One .exe with nothing beside it: the C and C++ runtimes and winpthread inside.
add_link_options(-static -static-libgcc -static-libstdc++)

set(VORLIX_FLTK_ARCHIVE "" CACHE FILEPATH
    "Local copy of fltk-1.3.8-source.tar.gz; empty to download it from FLTK's release address")
if(VORLIX_FLTK_ARCHIVE)
  set(fltk_url "${VORLIX_FLTK_ARCHIVE}")
else()
  set(fltk_url "https://www.fltk.org/pub/fltk/1.3.8/fltk-1.3.8-source.tar.gz")
endif()
FetchContent_Declare(fltk
  URL "${fltk_url}"
  URL_HASH SHA256=135b5e713676126fc569aebd4e073c02146e00ef1eafc01aac2ab599641c877b
  DOWNLOAD_EXTRACT_TIMESTAMP ON)

if(VORLIX_WINDOWS)
  set(OPTION_USE_GL OFF CACHE BOOL "" FORCE)
  set(OPTION_USE_THREADS OFF CACHE BOOL "" FORCE)
  set(OPTION_USE_SYSTEM_ZLIB OFF CACHE BOOL "" FORCE)
  set(OPTION_USE_SYSTEM_LIBJPEG OFF CACHE BOOL "" FORCE)
  set(OPTION_USE_SYSTEM_LIBPNG OFF CACHE BOOL "" FORCE)
  set(OPTION_BUILD_HTML_DOCUMENTATION OFF CACHE BOOL "" FORCE)
  set(OPTION_BUILD_PDF_DOCUMENTATION OFF CACHE BOOL "" FORCE)
  set(FLTK_BUILD_TEST OFF CACHE BOOL "" FORCE)
  set(FLTK_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
  FetchContent_GetProperties(fltk)
  if(NOT fltk_POPULATED)
    FetchContent_Populate(fltk)
    # Only the library the backend links gets built.
    add_subdirectory(${fltk_SOURCE_DIR} ${fltk_BINARY_DIR} EXCLUDE_FROM_ALL)
  endif()
  # FLTK 1.3's headers test WIN32, which a strict C++ mode does not define.
  target_compile_definitions(fltk INTERFACE WIN32)
  target_include_directories(fltk SYSTEM INTERFACE $<BUILD_INTERFACE:${fltk_SOURCE_DIR}>
                             $<BUILD_INTERFACE:${fltk_BINARY_DIR}>)
  set(FLTK_INCLUDE_DIRS "")
endif()

if(VORLIX_TESTS)
  # GoogleTest from Debian's source package, with the C runtime linked as ours.
  set(VORLIX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VORLIX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # The tests run under Wine in a prefix of the build's own. env execs Wine in
  # its own place, so a test's result is Wine's own: started through
  # "cmake -E env", one test in a few hundred failed with a bare 1 and no output.
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR AND CMAKE_CROSSCOMPILING)
    find_program(VORLIX_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
    find_program(VORLIX_ENV NAMES env REQUIRED)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${VORLIX_ENV} WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all ${VORLIX_WINE})
  endif()
endif()
