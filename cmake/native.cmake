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
  # One native configuration of the tree in build/<dir>, with its own
  # compiler and options.
  function(native_build name dir compiler)
    ExternalProject_Add(${name}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/${dir}
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=${compiler} ${ARGN}
      BUILD_ALWAYS ON
      INSTALL_COMMAND "")
  endfunction()

  native_build(native native ${NATIVE_CXX})
  set(NATIVE_UNIT_TESTS ${CMAKE_BINARY_DIR}/native/bin/unit_tests)

  # The core again with ThreadSanitizer, for the two-thread stress.
  native_build(native_tsan native-tsan ${NATIVE_CXX} -DBALTIC_SANITIZER=thread)
  set(NATIVE_STRESS ${CMAKE_BINARY_DIR}/native-tsan/bin/stress_tests)

  # And with clang's libFuzzer, ASan and UBSan, for the exports' fuzzer.
  find_program(NATIVE_CLANGXX NAMES clang++ clang++-14)
  if(NATIVE_CLANGXX)
    native_build(native_fuzz native-fuzz ${NATIVE_CLANGXX} -DBALTIC_SANITIZER=fuzzer)
    set(NATIVE_FUZZER ${CMAKE_BINARY_DIR}/native-fuzz/bin/fuzz_exports)
  else()
    message(WARNING "No clang++: the exports' fuzzer is not built (scripts/setup.sh installs clang).")
  endif()
endif()
