# Copies SOURCE as Kestrova.ini and Kestrova.bak into FOLDER when it holds neither, so settings
# already there (changed by hand or by the program) are never replaced.
if(NOT EXISTS "${FOLDER}/Kestrova.ini" AND NOT EXISTS "${FOLDER}/Kestrova.bak")
  file(MAKE_DIRECTORY "${FOLDER}")
  file(COPY_FILE "${SOURCE}" "${FOLDER}/Kestrova.bak")
  file(COPY_FILE "${SOURCE}" "${FOLDER}/Kestrova.ini")
endif()
