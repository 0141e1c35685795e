# The same tree built natively, beside the Windows build: a cross build
# from Linux also configures and builds build/native with the machine's own
# compiler (no toolchain file), so its sanitized unit tests run with the rest.
option(BALTIC_NATIVE_TESTS "Also build the portable core and its unit tests natively" ON)

if(BALTIC_NATIVE_TESTS AND CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  include(ExternalProject)
  set(NATIVE_BINARY_DIR ${CMAKE_BINARY_DIR}/native)
  ExternalProject_Add(native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${NATIVE_BINARY_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  set(NATIVE_UNIT_TESTS ${NATIVE_BINARY_DIR}/bin/unit_tests)
endif()
