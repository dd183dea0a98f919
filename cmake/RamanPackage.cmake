# A Debian package of what `cmake --install` puts in place: `cpack -G DEB` in the build folder.
# The dependencies are the runtime packages of the shared libraries the programs link, found by
# dpkg-shlibdeps (from dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME raman-browser)
set(CPACK_PACKAGE_VENDOR "Raman Browser developers")
set(CPACK_PACKAGE_CONTACT "Raman Browser developers <raman-browser@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Browse, review and re-analyse Raman measurements and identify minerals")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads the measurement folders of a Raman spectrometer, processes spectra and searches them \
against reference libraries of minerals. Includes raman-cli for batch use.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY raman-browser)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver is a plugin, which shlibdeps does not see: the index of the measurement list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
# Reports go through pdflatex; the program works without it. Without Qt's translations the
# German user interface shows Qt's own buttons and file dialogs in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "texlive-latex-base, texlive-latex-recommended, qttranslations5-l10n")
include(CPack)
