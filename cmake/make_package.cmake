# Makes the release zip (run by cmake -P from cmake/package.cmake).
# In: SOURCE, VERSION, OUTPUT, STAGE (a scratch folder), PROGRAMS (the DLL and
# hostsim.exe), the sample log, GUIDE (docs/operator-guide.md and
# docs/images/*.png, as far as they exist), NOTES (texts made by the build,
# for the zip's root: the country file's origin and licence), STRIP (optional).
cmake_minimum_required(VERSION 3.16)

# The change log's newest release must be this one.
file(STRINGS ${SOURCE}/CHANGELOG.md versions REGEX "^## \\[[0-9]")
list(GET versions 0 newest)
if(NOT newest MATCHES "^## \\[${VERSION}\\]")
  message(FATAL_ERROR "CHANGELOG.md's newest entry is \"${newest}\", not version ${VERSION} of CMakeLists.txt")
endif()

file(REMOVE_RECURSE ${STAGE})
set(files)
foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  file(COPY ${program} DESTINATION ${STAGE})
  if(STRIP)
    # Symbols are for debugging the build, not for the operator's copy.
    execute_process(COMMAND ${STRIP} --strip-unneeded ${STAGE}/${name} RESULT_VARIABLE rc)
    if(rc)
      message(FATAL_ERROR "${STRIP} failed on ${name}")
    endif()
  endif()
  list(APPEND files ${name})
endforeach()
foreach(note ${NOTES})
  get_filename_component(name ${note} NAME)
  file(COPY ${note} DESTINATION ${STAGE})
  list(APPEND files ${name})
endforeach()
# The operator's change log lists what this release holds: changes made
# since it, under "[Unreleased]", stay out.
file(READ ${SOURCE}/CHANGELOG.md changelog)
string(REGEX REPLACE "## \\[Unreleased\\][^\n]*\n(([^#]|#[^#]|##[^ ]|## [^[])*)" "" changelog "${changelog}")
file(WRITE ${STAGE}/CHANGELOG.md "${changelog}")
list(APPEND files CHANGELOG.md)
foreach(doc LICENSE samples/baltic-sample.adi)
  get_filename_component(dir ${doc} DIRECTORY)
  file(COPY ${SOURCE}/${doc} DESTINATION ${STAGE}/${dir})
  list(APPEND files ${doc})
endforeach()
foreach(doc ${GUIDE})
  file(RELATIVE_PATH rel ${SOURCE} ${doc})
  get_filename_component(dir ${rel} DIRECTORY)
  file(COPY ${doc} DESTINATION ${STAGE}/${dir})
  list(APPEND files ${rel})
endforeach()

# sha256sum's own format: "<hash>  <path>", paths relative to the zip's root.
set(sums "")
foreach(f ${files})
  file(SHA256 ${STAGE}/${f} hash)
  string(APPEND sums "${hash}  ${f}\n")
endforeach()
file(WRITE ${STAGE}/SHA256SUMS "${sums}")
list(APPEND files SHA256SUMS)

file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip ${files}
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "could not write ${OUTPUT}")
endif()
