# The Firebird client library (Debian's libfbclient2 and firebird-dev) as the
# imported target fbclient::fbclient.
if(NOT TARGET fbclient::fbclient)
  find_path(FBCLIENT_INCLUDE_DIR ibase.h PATH_SUFFIXES firebird REQUIRED)
  find_library(FBCLIENT_LIBRARY NAMES fbclient REQUIRED)
  add_library(fbclient::fbclient UNKNOWN IMPORTED)
  set_target_properties(fbclient::fbclient PROPERTIES
    IMPORTED_LOCATION "${FBCLIENT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${FBCLIENT_INCLUDE_DIR}")
endif()
