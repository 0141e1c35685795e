# The same tree built natively, beside the Windows build: a cross build
# from Linux also configures and builds build/native with the machine's own
# compiler (no toolchain file), so its sanitized unit tests run with the rest.
option(BALTIC_NATIVE_TESTS "Also build the portable core and its unit tests natively" ON)

if(BALTIC_NATIVE_TESTS AND CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  find_program(NATIVE_CXX NAMES g++ clang++ c++)
  if(NOT NATIVE_CXX)
    message(FATAL_ERROR "No C++ compiler for this machine (install g++) for the native unit tests; "
      "or configure with -DBALTIC_NATIVE_TESTS=OFF to build without them.")
  endif()
  include(ExternalProject)
  set(NATIVE_BINARY_DIR ${CMAKE_BINARY_DIR}/native)
  ExternalProject_Add(native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${NATIVE_BINARY_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=${NATIVE_CXX}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  set(NATIVE_UNIT_TESTS ${NATIVE_BINARY_DIR}/bin/unit_tests)
endif()
