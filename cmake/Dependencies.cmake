# Libraries from Debian packages (see scripts/deps.sh). Firebird ships no pkg-config file.
find_path(FIREBIRD_INCLUDE_DIR firebird/Interface.h REQUIRED)
find_library(FIREBIRD_CLIENT_LIBRARY fbclient REQUIRED)
add_library(Firebird::Client UNKNOWN IMPORTED)
set_target_properties(Firebird::Client PROPERTIES
  IMPORTED_LOCATION ${FIREBIRD_CLIENT_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${FIREBIRD_INCLUDE_DIR})

find_package(CURL REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GMIME REQUIRED IMPORTED_TARGET gmime-3.0)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
