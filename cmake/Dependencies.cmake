# Third-party libraries, all linked statically.
#  - Cross build: SQLite and libjpeg come from the cache that deps/build-deps.sh fills (QUILLET_DEPS),
#    zlib from Debian's MinGW package, GoogleTest from /usr/src/googletest.
#  - Native MSYS2 MinGW64 build on Windows: leave QUILLET_DEPS empty and find_package finds the
#    toolchain's own packages (mingw-w64-x86_64-sqlite3, -zlib, -libjpeg-turbo, -gtest).

set(QUILLET_DEPS "" CACHE PATH "Folder with the prebuilt static SQLite and libjpeg (deps/build-deps.sh)")

if(QUILLET_DEPS)
  add_library(SQLite::SQLite3 STATIC IMPORTED GLOBAL)
  set_target_properties(SQLite::SQLite3 PROPERTIES
    IMPORTED_LOCATION ${QUILLET_DEPS}/sqlite/lib/libsqlite3.a
    INTERFACE_INCLUDE_DIRECTORIES ${QUILLET_DEPS}/sqlite/include)
  add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
  set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${QUILLET_DEPS}/jpeg/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${QUILLET_DEPS}/jpeg/include)
else()
  find_package(SQLite3 REQUIRED)
  find_package(JPEG REQUIRED)
endif()

# Without this find_package picks the import library and the programs would need zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

set(QUILLET_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(EXISTS ${QUILLET_GTEST_SOURCE}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUILLET_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
  add_library(gtest ALIAS GTest::gtest)
  add_library(gmock ALIAS GTest::gmock)
endif()
