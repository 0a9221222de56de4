# What `cmake --install` puts where, and the Debian package that CPack builds from it
# (scripts/package). The icons are packaging/zelmora.svg rendered at each size with
# `convert -background none zelmora.svg -resize NxN -depth 8 -strip zelmora-N.png`.
include(GNUInstallDirs)

set(zelmora_packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(zelmora_generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(zelmora_docdir ${CMAKE_INSTALL_DATADIR}/doc/zelmora)
file(MAKE_DIRECTORY ${zelmora_generated})

# Off by default: help2man runs each program, which a build for testing does not need.
option(ZELMORA_MAN_PAGES "Generate the man pages (needs help2man)" OFF)
if(ZELMORA_MAN_PAGES)
    find_program(ZELMORA_HELP2MAN help2man REQUIRED)
endif()

# Compressed as Debian wants it: best ratio and no name or time stamp in the header.
function(zelmora_gzip source output)
    add_custom_command(OUTPUT ${output}
                       COMMAND gzip -9n --stdout ${source} > ${output}
                       DEPENDS ${source})
endfunction()

# The command-line programs' man pages come from their own --help and --version, so the
# text is written only once.
function(zelmora_help2man target summary)
    if(NOT ZELMORA_MAN_PAGES)
        return()
    endif()
    set(page ${zelmora_generated}/${target}.1)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${ZELMORA_HELP2MAN} --no-info --section=1 "--name=${summary}"
                               --include=${zelmora_packaging}/see-also.h2m --output=${page}
                               $<TARGET_FILE:${target}>
                       DEPENDS ${target} ${zelmora_packaging}/see-also.h2m
                       VERBATIM)
    zelmora_gzip(${page} ${page}.gz)
    set_property(GLOBAL APPEND PROPERTY zelmora_man_pages ${page}.gz)
endfunction()

if(TARGET zelmora)
    install(TARGETS zelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${zelmora_packaging}/zelmora.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 48 128 256)
        install(FILES ${zelmora_packaging}/zelmora-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME zelmora.png)
    endforeach()
    install(FILES ${zelmora_packaging}/zelmora.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # The desktop program has no options to describe, so its page is written by hand.
    zelmora_gzip(${zelmora_packaging}/zelmora.1 ${zelmora_generated}/zelmora.1.gz)
    set_property(GLOBAL APPEND PROPERTY zelmora_man_pages ${zelmora_generated}/zelmora.1.gz)
endif()

if(TARGET slopecalc)
    install(TARGETS slopecalc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    zelmora_help2man(slopecalc "limit-equilibrium slope calculator for Zelmora's examples")
endif()

if(TARGET zelmora-batch)
    install(TARGETS zelmora-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    zelmora_help2man(zelmora-batch "run a Zelmora reliability analysis without windows")
endif()

if(ZELMORA_MAN_PAGES)
    get_property(zelmora_man_pages GLOBAL PROPERTY zelmora_man_pages)
    add_custom_target(zelmora_man_pages ALL DEPENDS ${zelmora_man_pages})
    install(FILES ${zelmora_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

zelmora_gzip(${zelmora_packaging}/changelog ${zelmora_generated}/changelog.Debian.gz)
add_custom_target(zelmora_changelog ALL DEPENDS ${zelmora_generated}/changelog.Debian.gz)
install(FILES ${zelmora_packaging}/copyright ${zelmora_generated}/changelog.Debian.gz
        DESTINATION ${zelmora_docdir})
install(FILES ${zelmora_packaging}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME zelmora)

if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/examples)
    # The models, project and empty data folders; not what runs of the examples wrote there.
    install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/examples/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/zelmora/examples
            PATTERN ".git*" EXCLUDE
            PATTERN "*.hxx" EXCLUDE
            PATTERN "*.svg" EXCLUDE
            PATTERN "*.mmt" EXCLUDE
            PATTERN "*.tmp" EXCLUDE)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmora)
set(CPACK_PACKAGE_VENDOR "The Zelmora team")
set(CPACK_PACKAGE_CONTACT "The Zelmora team <zelmora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "probabilistic stability assessment of a geotechnical finite-element model")
# Read here: CPack escapes the apostrophes of a description file for XML.
file(READ ${zelmora_packaging}/description CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zelmora team <zelmora@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The shared libraries come from dpkg-shlibdeps; Qt loads its platform plugins at run time,
# so those are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-text-editor | gedit")
include(CPack)
