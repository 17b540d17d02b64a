# Writes the .def of the soft card DLL: the eleven card calls at their ordinals
# (CIF95DLL_softcard.def), then every function of namespace softcard that the
# soft card library defines (its control API, for nuvhost.exe), by name from
# ordinal 101 on.
#   cmake -DNM=... -DLIBRARY=libsoftcard.a -DBASE=CIF95DLL_softcard.def -DOUTPUT=CIF95DLL.def -P softcard_def.cmake
execute_process(COMMAND ${NM} --defined-only -g ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not list ${LIBRARY}")
endif()
file(READ ${BASE} def)
string(REGEX MATCHALL "[0-9a-fA-F]+ T _(_ZN8softcard[^\n]*)" lines "${symbols}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]+ T _" "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
if(NOT names)
  message(FATAL_ERROR "no functions of namespace softcard found in ${LIBRARY}")
endif()
# From ordinal 101 on, leaving the card library's own range to the eleven calls.
string(APPEND def "; The control API, generated from ${LIBRARY}.\n")
set(ordinal 101)
foreach(name IN LISTS names)
  string(APPEND def "${name} @${ordinal}\n")
  math(EXPR ordinal "${ordinal} + 1")
endforeach()
file(WRITE ${OUTPUT} "${def}")
