# Installs pexil.desktop with the installed program's path in Exec and
# TryExec: run by `cmake --install` (CMAKE_INSTALL_PREFIX is the prefix
# given there; DESTDIR is honoured), with PEXIL_DESKTOP_TEMPLATE and
# PEXIL_DESKTOP_WORK set by the install code that includes it.
set(PEXIL_DESKTOP_TRY_EXEC "${CMAKE_INSTALL_PREFIX}/bin/pexil")
# A path with spaces or quotes is written quoted, its quotes, backslashes,
# dollars and back quotes escaped (the Exec key's rules).
set(PEXIL_DESKTOP_EXEC "${PEXIL_DESKTOP_TRY_EXEC}")
if(PEXIL_DESKTOP_EXEC MATCHES "[ \t\"'\\\\$`]")
  string(REPLACE "\\" "\\\\\\\\" PEXIL_DESKTOP_EXEC "${PEXIL_DESKTOP_EXEC}")
  string(REPLACE "\"" "\\\\\"" PEXIL_DESKTOP_EXEC "${PEXIL_DESKTOP_EXEC}")
  string(REPLACE "$" "\\\\$" PEXIL_DESKTOP_EXEC "${PEXIL_DESKTOP_EXEC}")
  string(REPLACE "`" "\\\\`" PEXIL_DESKTOP_EXEC "${PEXIL_DESKTOP_EXEC}")
  set(PEXIL_DESKTOP_EXEC "\"${PEXIL_DESKTOP_EXEC}\"")
endif()
configure_file("${PEXIL_DESKTOP_TEMPLATE}" "${PEXIL_DESKTOP_WORK}/pexil.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${PEXIL_DESKTOP_WORK}/pexil.desktop")
