# The release: BALTIC-<version>-win32.zip in the build folder, made with every
# build by cmake/make_package.cmake. It holds the plug-in, the replaying host
# stand-in with the note on the country file built into it, a sample log to
# replay, the operator's guide with its images, the change log, the licence
# and SHA256SUMS of them all.
set(BALTIC_PACKAGE ${CMAKE_BINARY_DIR}/BALTIC-${PROJECT_VERSION}-win32.zip)
file(GLOB GUIDE_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/images/*.png)
set(GUIDE_FILES)
if(EXISTS ${CMAKE_SOURCE_DIR}/docs/operator-guide.md)
  list(APPEND GUIDE_FILES ${CMAKE_SOURCE_DIR}/docs/operator-guide.md)
endif()
list(APPEND GUIDE_FILES ${GUIDE_IMAGES})
find_program(BALTIC_STRIP NAMES ${TOOLCHAIN_PREFIX}-strip strip)
add_custom_command(OUTPUT ${BALTIC_PACKAGE}
  COMMAND ${CMAKE_COMMAND}
    -DSOURCE=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION} -DOUTPUT=${BALTIC_PACKAGE}
    -DSTAGE=${CMAKE_BINARY_DIR}/package -DSTRIP=${BALTIC_STRIP}
    "-DPROGRAMS=$<TARGET_FILE:BALTIC>;$<TARGET_FILE:hostsim_release>"
    "-DGUIDE=${GUIDE_FILES}" "-DNOTES=${BALTIC_CTY_NOTICE}"
    -P ${CMAKE_SOURCE_DIR}/cmake/make_package.cmake
  DEPENDS BALTIC hostsim_release ${GUIDE_FILES} ${BALTIC_CTY_NOTICE} ${CMAKE_SOURCE_DIR}/cmake/make_package.cmake
    ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/samples/baltic-sample.adi
  COMMENT "Packing ${BALTIC_PACKAGE}"
  VERBATIM)
add_custom_target(package_zip ALL DEPENDS ${BALTIC_PACKAGE})
