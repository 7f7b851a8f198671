# Install rules: the game, and on Linux its desktop entry, AppStream metadata, icons, manual page
# and package documents. Then the Debian package built from them.
if(NOT TARGET brivana)
  return()
endif()

include(GNUInstallDirs)

# Bump together with the project version.
set(BRIVANA_RELEASE_DATE 2026-12-08)
set(BRIVANA_APP_ID org.example.Brivana)

# Directories created by the install are 755 whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian keeps the programs of games in /usr/games, which is not on every session's PATH,
# so the desktop entry names the executable by its full path.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(default_games_dir games)
else()
  set(default_games_dir ${CMAKE_INSTALL_BINDIR})
endif()
set(BRIVANA_INSTALL_GAMESDIR ${default_games_dir} CACHE PATH
    "Directory of the game's executable, relative to the prefix")
cmake_path(ABSOLUTE_PATH BRIVANA_INSTALL_GAMESDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE games_dir)
set(BRIVANA_EXECUTABLE ${games_dir}/brivana)

install(TARGETS brivana RUNTIME DESTINATION ${BRIVANA_INSTALL_GAMESDIR})

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(data_dir ${PROJECT_SOURCE_DIR}/data)
set(pictures_dir ${PROJECT_SOURCE_DIR}/window/pictures)
set(generated_dir ${PROJECT_BINARY_DIR}/data)

configure_file(${data_dir}/${BRIVANA_APP_ID}.desktop.in ${generated_dir}/${BRIVANA_APP_ID}.desktop @ONLY)
# The teacher's entry: the register's page (brivana --registro).
configure_file(${data_dir}/${BRIVANA_APP_ID}.Registro.desktop.in ${generated_dir}/${BRIVANA_APP_ID}.Registro.desktop
               @ONLY)
configure_file(${data_dir}/${BRIVANA_APP_ID}.metainfo.xml.in
               ${generated_dir}/${BRIVANA_APP_ID}.metainfo.xml @ONLY)
configure_file(${data_dir}/brivana.6.in ${generated_dir}/brivana.6 @ONLY)

# The Debian changelog dates its entry in RFC 2822 form.
execute_process(COMMAND date --utc --rfc-email --date=${BRIVANA_RELEASE_DATE}
                OUTPUT_VARIABLE BRIVANA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${data_dir}/changelog.in ${generated_dir}/changelog @ONLY)

# Manual pages and changelogs are installed compressed, without a time stamp in the gzip header.
set(compressed)
foreach(name IN ITEMS brivana.6 changelog)
  add_custom_command(OUTPUT ${generated_dir}/${name}.gz
                     COMMAND gzip -9 -n -c ${generated_dir}/${name} > ${generated_dir}/${name}.gz
                     DEPENDS ${generated_dir}/${name}
                     COMMENT "Compressing ${name}" VERBATIM)
  list(APPEND compressed ${generated_dir}/${name}.gz)
endforeach()
add_custom_target(brivana_compressed_docs ALL DEPENDS ${compressed})

install(FILES ${generated_dir}/${BRIVANA_APP_ID}.desktop ${generated_dir}/${BRIVANA_APP_ID}.Registro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated_dir}/${BRIVANA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN ITEMS 48 64 128 256)
  install(FILES ${pictures_dir}/brivana-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${BRIVANA_APP_ID}.png)
endforeach()
install(FILES ${pictures_dir}/brivana.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${BRIVANA_APP_ID}.svg)
install(FILES ${generated_dir}/brivana.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${data_dir}/copyright ${generated_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/docs/lab-record.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
