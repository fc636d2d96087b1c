# Runs at install time: fills the desktop entry's Exec= with the installed
# launcher's full path (without DESTDIR, which is only a staging area).
if(IS_ABSOLUTE "${ZARVOX_BINDIR}")
  set(launcher "${ZARVOX_BINDIR}/zarvox-launch")
else()
  set(launcher "${CMAKE_INSTALL_PREFIX}/${ZARVOX_BINDIR}/zarvox-launch")
endif()

# A desktop entry cannot carry a line break, and a % would be read as a field
# code by some desktops even when written %%: refuse rather than install an
# entry that does not start the game.
if(launcher MATCHES "[\n\r\t%]")
  message(FATAL_ERROR "A desktop entry cannot name this launcher path: ${launcher}")
endif()
if(launcher MATCHES "^[A-Za-z0-9/._+-]+$")
  set(exec "${launcher}")
else()
  # A path with spaces or reserved characters goes in double quotes with \ " ` $
  # escaped; the entry's string escaping then doubles every backslash.
  string(REGEX REPLACE "([\\\\\"`$])" "\\\\\\1" quoted "${launcher}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  set(exec "\"${quoted}\"")
endif()

set(ZARVOX_LAUNCH_EXEC "${exec}")
configure_file("${ZARVOX_DESKTOP_IN}" "${ZARVOX_DESKTOP_OUT}" @ONLY)
