# Installs Numbrelle as one folder, because the program finds its questions
# beside itself: <prefix>/lib/numbrelle holds the program, numbrelle-run,
# numbrelle-preview and the questions folder; <prefix>/bin holds links to the
# programs, and the desktop entries and icon go where desktop menus look for them.
set(NUMBRELLE_INSTALL_DIR lib/numbrelle)

set(numbrelle_installed_programs numbrelle-run)
if(NUMBRELLE_GUI)
  list(PREPEND numbrelle_installed_programs numbrelle)
endif()
if(TARGET numbrelle-preview)
  list(APPEND numbrelle_installed_programs numbrelle-preview)
endif()

install(TARGETS ${numbrelle_installed_programs} RUNTIME DESTINATION ${NUMBRELLE_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/questions/ DESTINATION ${NUMBRELLE_INSTALL_DIR}/questions
  FILES_MATCHING PATTERN "*.txt")

# Relative links, so the installed tree can be moved or packaged as a whole.
foreach(program IN LISTS numbrelle_installed_programs)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/${program}\")
    file(CREATE_LINK \"../${NUMBRELLE_INSTALL_DIR}/${program}\" \"\${bin}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/${program} -> ../${NUMBRELLE_INSTALL_DIR}/${program}\")
  ")
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle.desktop DESTINATION share/applications)
if(TARGET numbrelle-preview)
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle-preview.desktop DESTINATION share/applications)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle.svg DESTINATION share/icons/hicolor/scalable/apps)
