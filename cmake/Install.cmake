# `cmake --install`: the programs in bin; on Linux also the program where
# XScreenSaver looks for screen savers, its description for the settings
# program, the manual pages (screen savers live in section 6, drawing-render
# in section 1) and the launcher.
include(GNUInstallDirs)
foreach(tool drawing drawing-render)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
if(UNIX AND NOT APPLE AND TARGET drawing)
  install(PROGRAMS $<TARGET_FILE:drawing>
          DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
  # Adds the screen saver to XScreenSaver's list, or takes it out again.
  install(PROGRAMS ${PROJECT_SOURCE_DIR}/apps/drawing/drawing-xscreensaver
          DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/drawing-xscreensaver.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/apps/drawing/drawing.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/drawing.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/drawing-render.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/apps/drawing/drawing.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
# The Windows screen saver beside the program: Windows runs a `.scr` from the
# system folder (see the README's Windows section).
if(TARGET drawing-scr)
  install(TARGETS drawing-scr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
