# A private Firebird server for the server test runs and benchmarks: Debian's server binary,
# downloaded once and unpacked under the build folder (never installed), started by the tests
# as the current user (tests/support/LocalFirebirdServer, scripts/fbserver.sh).
option(BRISKLANE_SERVER_TESTS "Run the data suites a second time against a private Firebird server" ON)
if(BRISKLANE_SERVER_TESTS)
  set(BL_FBSERVER_PKG ${CMAKE_BINARY_DIR}/fbserver-pkg)
  set(BL_FBSERVER_BIN ${BL_FBSERVER_PKG}/usr/sbin/firebird)
  add_custom_command(OUTPUT ${BL_FBSERVER_BIN}
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fbserver.sh fetch ${BL_FBSERVER_PKG} >/dev/null
    COMMENT "Unpacking Debian's Firebird server for the server test runs")
  add_custom_target(bl_fbserver ALL DEPENDS ${BL_FBSERVER_BIN})
endif()
