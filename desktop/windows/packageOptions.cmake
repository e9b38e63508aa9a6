# Read by cpack for each package it makes: only the ZIP unpacks into a folder of its own (the
# installer installs into the folder the user chooses).
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
