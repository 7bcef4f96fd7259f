# Lays out the data delivered with the program as it finds them beside
# itself, and as they are installed under share/tarvex:
#   demo/data  the demonstration data folder (code TVX2026)
#   vide/data  an empty data folder: the delivered pictures and placeholders,
#              an empty index and machine list, an empty machine folder; no
#              code.tvx, which the first start writes with the chosen code
#   cmake -DSOURCES=<source tree> -DCIBLE=<folder> -P partage.cmake
set(livres tarvex.jpg icon.ico tournage.jpg fraisage.jpg pasdimage.jpg pasdeprogramme.txt)

file(COPY "${SOURCES}/demo/data" DESTINATION "${CIBLE}/demo")
foreach(f ${livres})
  file(COPY "${SOURCES}/demo/data/${f}" DESTINATION "${CIBLE}/vide/data")
endforeach()
file(MAKE_DIRECTORY "${CIBLE}/vide/data/machine")
foreach(f data.txt machine.txt)
  # Written once: a new date at every build would install them again.
  if(NOT EXISTS "${CIBLE}/vide/data/${f}")
    file(WRITE "${CIBLE}/vide/data/${f}" "")
  endif()
endforeach()
