# The program files of the 10,000-item scenarios, written when the build is
# configured rather than kept in the repository (30,000 lines of nothing but
# "N2", "N3"…): the largest program the transfer takes, one item more, and
# the bytes the first one sends.
set(ici ${CMAKE_CURRENT_LIST_DIR})
if(EXISTS ${ici}/prog-10000.txt AND EXISTS ${ici}/prog-10001.txt AND EXISTS ${ici}/envoi-10000.txt)
  return()
endif()
string(ASCII 19 dc3)
set(programme "%\r\n")
set(envoi "%\n")
foreach(k RANGE 2 10000)
  string(APPEND programme "N${k}\r\n")
  string(APPEND envoi "N${k}\n")
endforeach()
file(WRITE ${ici}/prog-10000.txt "${programme}")
file(WRITE ${ici}/prog-10001.txt "${programme}M2\r\n")
file(WRITE ${ici}/envoi-10000.txt "${envoi}${dc3}\n")
