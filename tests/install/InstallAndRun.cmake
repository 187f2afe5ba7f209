# Run by CTest with BUILD_DIR, PREFIX, SOURCE_QUESTIONS and WITH_GUI set.
# Fails (FATAL_ERROR) on the first thing an installed copy would get wrong.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(folder "${PREFIX}/lib/numbrelle")
set(programs numbrelle-run)
if(WITH_GUI)
  list(APPEND programs numbrelle numbrelle-preview)
endif()
# Links are relative, so the installed tree can be moved or packaged whole.
function(expect_link link expected)
  if(NOT IS_SYMLINK "${PREFIX}/${link}")
    message(FATAL_ERROR "no link ${PREFIX}/${link}")
  endif()
  file(READ_SYMLINK "${PREFIX}/${link}" target)
  if(NOT target STREQUAL expected)
    message(FATAL_ERROR "${link} points to ${target}, not ${expected}")
  endif()
endfunction()

foreach(program IN LISTS programs)
  if(NOT EXISTS "${folder}/${program}")
    message(FATAL_ERROR "${program} is not installed in ${folder}")
  endif()
  expect_link(bin/${program} ../lib/numbrelle/${program})
endforeach()
# The questions lie in share/, and the program finds them beside itself.
expect_link(lib/numbrelle/questions ../../share/numbrelle/questions)

# Every bundled question file, and nothing else, lies beside the program.
file(GLOB bundled RELATIVE "${SOURCE_QUESTIONS}" "${SOURCE_QUESTIONS}/*")
file(GLOB installed RELATIVE "${folder}/questions" "${folder}/questions/*")
list(SORT bundled)
list(SORT installed)
if(NOT bundled STREQUAL installed)
  message(FATAL_ERROR "installed questions differ from the bundled ones:\n${installed}\n${bundled}")
endif()
foreach(name IN LISTS bundled)
  file(SHA256 "${SOURCE_QUESTIONS}/${name}" a)
  file(SHA256 "${folder}/questions/${name}" b)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "${name} changed on its way into the installed folder")
  endif()
endforeach()

# The entry's values hold ";", which CMake lists would split, so it is read whole.
file(READ "${PREFIX}/share/applications/numbrelle.desktop" entry)
foreach(pattern "\nType=Application\n" "\nExec=numbrelle\n" "\nIcon=numbrelle\n" "\nCategories=Education;"
                "\nName=[^\n]+" "\nName\\[ja\\]=[^\n]+")
  if(NOT entry MATCHES "${pattern}")
    message(FATAL_ERROR "the desktop entry does not match ${pattern}")
  endif()
endforeach()
if(WITH_GUI)
  file(READ "${PREFIX}/share/applications/numbrelle-preview.desktop" entry)
  foreach(pattern "\nType=Application\n" "\nExec=numbrelle-preview %f\n" "\nIcon=numbrelle\n" "\nMimeType=text/plain;")
    if(NOT entry MATCHES "${pattern}")
      message(FATAL_ERROR "the preview's desktop entry does not match ${pattern}")
    endif()
  endforeach()
  # The installed preview, through its link, writes a screen without a display.
  list(GET bundled 0 first)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=QT_QPA_PLATFORM
                          "${PREFIX}/bin/numbrelle-preview" --png "${PREFIX}/png" "${folder}/questions/${first}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  get_filename_component(stem "${first}" NAME_WLE)
  # Layout warnings (status 1) are the library's business, not the install's.
  if(status GREATER 1 OR NOT EXISTS "${PREFIX}/png/${stem}-1.png")
    message(FATAL_ERROR "the installed numbrelle-preview failed (${status}):\n${errors}\n${output}")
  endif()
endif()
foreach(file share/icons/hicolor/scalable/apps/numbrelle.svg share/metainfo/org.numbrelle.Numbrelle.metainfo.xml
             share/doc/numbrelle/authoring.md share/doc/numbrelle/screenshots/preview.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "${file} is not installed")
  endif()
endforeach()
foreach(program IN LISTS programs)
  if(NOT EXISTS "${PREFIX}/share/man/man1/${program}.1")
    message(FATAL_ERROR "the manual page of ${program} is not installed")
  endif()
endforeach()

# The installed runner, called through its link, runs every installed question.
list(TRANSFORM installed PREPEND "${folder}/questions/")
execute_process(COMMAND "${PREFIX}/bin/numbrelle-run" --runs 20 --seed 1 ${installed}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed numbrelle-run failed (${status}):\n${errors}\n${output}")
endif()
string(REGEX MATCHALL "\n== " runs "\n${output}")
list(LENGTH runs count)
list(LENGTH installed files)
math(EXPR expected "${files} * 20")
if(NOT count EQUAL expected)
  message(FATAL_ERROR "expected ${expected} runs from the installed runner, saw ${count}")
endif()
message(STATUS "installed runner ran ${count} questions from ${files} files")

# The installed check, called through its link, finds the preview beside the
# file the link points to and measures the layout with it.
if(WITH_GUI)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY "${PREFIX}/bin/numbrelle-run" --check --runs 2
                          "${folder}/questions/${first}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT output MATCHES "\nlayout checked by numbrelle-preview on seeds 1..2\n")
    message(FATAL_ERROR "the installed check did not measure the layout (${status}):\n${errors}\n${output}")
  endif()
endif()
