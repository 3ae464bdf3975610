# Run by cpack between staging and packing: Debian keeps the programs of
# games in /usr/games (policy 11.11; lintian refuses a package of section
# games with its program elsewhere), while `cmake --install` uses the usual
# bin folder.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${staged}/games)
file(RENAME ${staged}/${CPACK_TROTIX_BINDIR}/trotix ${staged}/games/trotix)
file(REMOVE_RECURSE ${staged}/${CPACK_TROTIX_BINDIR})
