# Builds the country file into hostsim (run by cmake -P from host/CMakeLists.txt).
# In: INPUT (cty.dat), OUTPUT (the C++ source to write), NOTICE_IN and NOTICE
# (the text that goes beside hostsim in the package, with the file's date).
# The file's text is kept as it is, in raw string literals of at most 8000
# characters each; hostsim parses it when it first needs it.
cmake_minimum_required(VERSION 3.16)
file(READ ${INPUT} text)
string(LENGTH "${text}" length)
if(length EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
string(FIND "${text}" ")cty\"" delimiter)
if(NOT delimiter EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the text that ends the raw string literal")
endif()
# The file's version: its "=VERyyyymmdd" entry.
string(REGEX MATCH "=VER([0-9][0-9][0-9][0-9])([0-9][0-9])([0-9][0-9])" version "${text}")
if(NOT version)
  message(FATAL_ERROR "${INPUT} has no =VERyyyymmdd entry, so its date is not known")
endif()
set(CTY_DATE "${CMAKE_MATCH_1}-${CMAKE_MATCH_2}-${CMAKE_MATCH_3}")

set(source "// Written by cmake/embed_cty.cmake from ${INPUT} (version ${CTY_DATE}); do not edit.\n")
string(APPEND source "extern const char* const kCtyDatSource = \"cty.dat of ${CTY_DATE} (built in)\";\n")
string(APPEND source "extern const char* const kCtyDatParts[] = {\n")
set(count 0)
set(at 0)
while(at LESS length)
  string(SUBSTRING "${text}" ${at} 8000 part)
  string(APPEND source "R\"cty(${part})cty\",\n")
  math(EXPR at "${at} + 8000")
  math(EXPR count "${count} + 1")
endwhile()
string(APPEND source "};\nextern const unsigned kCtyDatPartCount = ${count};\n")
file(WRITE ${OUTPUT}.new "${source}")
file(RENAME ${OUTPUT}.new ${OUTPUT})
configure_file(${NOTICE_IN} ${NOTICE} @ONLY NEWLINE_STYLE CRLF)
