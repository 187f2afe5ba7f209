# Installs Numbrelle as one folder, because the program finds its questions
# beside itself: <prefix>/lib/numbrelle holds the program, numbrelle-run,
# numbrelle-preview and a link "questions" to <prefix>/share/numbrelle/questions,
# where the question files themselves lie (they are the same on every machine).
# <prefix>/bin holds links to the programs; the desktop entries, the icon, the
# AppStream metainfo, the manual pages and the author's guide go where desktop
# menus, software centres, man and readers look for them.
include(GNUInstallDirs)
set(NUMBRELLE_INSTALL_DIR lib/numbrelle)
set(NUMBRELLE_QUESTIONS_DIR ${CMAKE_INSTALL_DATADIR}/numbrelle/questions)

set(numbrelle_installed_programs numbrelle-run)
if(NUMBRELLE_GUI)
  list(PREPEND numbrelle_installed_programs numbrelle)
endif()
if(TARGET numbrelle-preview)
  list(APPEND numbrelle_installed_programs numbrelle-preview)
endif()

install(TARGETS ${numbrelle_installed_programs} RUNTIME DESTINATION ${NUMBRELLE_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/questions/ DESTINATION ${NUMBRELLE_QUESTIONS_DIR}
  FILES_MATCHING PATTERN "*.txt")

# Relative links, so the installed tree can be moved or packaged as a whole.
# numbrelle_install_link(LINK TARGET): LINK is relative to the prefix, TARGET to LINK's folder.
function(numbrelle_install_link link target)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(folder \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${folder}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link} -> ${target}\")
  ")
endfunction()

foreach(program IN LISTS numbrelle_installed_programs)
  numbrelle_install_link(bin/${program} ../${NUMBRELLE_INSTALL_DIR}/${program})
endforeach()
numbrelle_install_link(${NUMBRELLE_INSTALL_DIR}/questions ../../${NUMBRELLE_QUESTIONS_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(TARGET numbrelle-preview)
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle-preview.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/desktop/numbrelle.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/org.numbrelle.Numbrelle.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(program IN LISTS numbrelle_installed_programs)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The guide with the one picture it shows, so its link still works.
install(FILES ${PROJECT_SOURCE_DIR}/docs/authoring.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/screenshots/preview.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/screenshots)
