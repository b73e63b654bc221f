# Fails when the committed diagram differs from what the tables draw now;
# regenerate with scripts/draw-layouts.sh.
execute_process(COMMAND ${TOOL} ${LAYOUT} OUTPUT_VARIABLE drawn RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "layout_svg ${LAYOUT} failed: ${rc}")
endif()
file(READ ${EXPECTED} committed)
if(NOT drawn STREQUAL committed)
  message(FATAL_ERROR "${EXPECTED} is out of date: run scripts/draw-layouts.sh")
endif()
