# Read by cpack before it packages: refuses a build whose desktop entry points outside the package.
if(NOT CPACK_BRIVANA_CONFIGURED_PREFIX STREQUAL CPACK_PACKAGING_INSTALL_PREFIX)
  message(FATAL_ERROR "Configure the build with -DCMAKE_INSTALL_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX} "
                      "to package it: its desktop entry would start the game from "
                      "${CPACK_BRIVANA_CONFIGURED_PREFIX}.")
endif()
