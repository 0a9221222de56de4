# What `cmake --install` puts where, and the Debian package that CPack builds from it
# (scripts/package). The icons are packaging/zelmora.svg rendered at each size with
# `convert -background none zelmora.svg -resize NxN -depth 8 -strip zelmora-N.png`.
include(GNUInstallDirs)

set(zelmora_packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)

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
endif()

if(TARGET slopecalc)
    install(TARGETS slopecalc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

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
set(CPACK_PACKAGE_DESCRIPTION
    "Zelmora drives a batch calculator once per case of the soil strengths and computes the \
sensitivities, a first-order reliability index, the probability of failure and a linearity \
check. It comes with slopecalc, a limit-equilibrium slope calculator that stands in for the \
finite-element batch calculator, and example models.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zelmora team <zelmora@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries come from dpkg-shlibdeps; Qt loads its platform plugins at run time,
# so those are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-text-editor | gedit")
include(CPack)
