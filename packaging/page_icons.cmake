# The page's icons, web/page/icon-SIZE.png, are the window icon made larger
# by make_icons, as the menu icons are. The page's em++ build has no Qt to
# run make_icons, so they are kept in the source tree; this checks that they
# are still what make_icons makes of trotix.xpm, or with UPDATE=ON makes
# them again. A size written maskable:SIZE is the maskable icon-SIZE-maskable.png.
#
#   cmake -DMAKE_ICONS=... -DICON=trotix.xpm -DPAGE=web/page -DWORK=dir "-DSIZES=32;192;512;maskable:512" [-DUPDATE=ON] -P page_icons.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${MAKE_ICONS} ${ICON} ${WORK} icon ${SIZES} COMMAND_ERROR_IS_FATAL ANY)
foreach(size IN LISTS SIZES)
  set(suffix "")
  if(size MATCHES "^maskable:(.*)")
    set(size ${CMAKE_MATCH_1})
    set(suffix -maskable)
  endif()
  set(made ${WORK}/${size}x${size}/apps/icon${suffix}.png)
  set(kept ${PAGE}/icon-${size}${suffix}.png)
  if(UPDATE)
    file(COPY_FILE ${made} ${kept})
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${kept} RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      message(FATAL_ERROR "${kept} is not what make_icons makes of ${ICON}: "
                          "cmake --build build --target page_icons makes it again")
    endif()
  endif()
endforeach()
