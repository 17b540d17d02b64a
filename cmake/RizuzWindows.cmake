# How the Windows DLL is bound to the host: import libraries generated from
# our own .def files (err by name from PALKIT.dll, the card calls by ordinal
# from CIF95DLL.dll), the export from rizuz.def, runtimes linked in statically.
set(RIZUZ_WIN32_DIR ${PROJECT_SOURCE_DIR}/platform/win32)
find_program(RIZUZ_DLLTOOL NAMES ${RIZUZ_MINGW_PREFIX}-dlltool dlltool REQUIRED)

function(rizuz_import_library name)
  set(lib ${PROJECT_BINARY_DIR}/import/lib${name}.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/import
    COMMAND ${RIZUZ_DLLTOOL} -d ${RIZUZ_WIN32_DIR}/${name}.def -l ${lib}
    DEPENDS ${RIZUZ_WIN32_DIR}/${name}.def
    COMMENT "Import library for ${name}.dll")
  add_custom_target(import_${name} DEPENDS ${lib})
  add_library(${name}_import STATIC IMPORTED GLOBAL)
  set_target_properties(${name}_import PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(${name}_import import_${name})
endfunction()

rizuz_import_library(PALKIT)
rizuz_import_library(CIF95DLL)

function(rizuz_link_windows_driver target)
  target_sources(${target} PRIVATE ${RIZUZ_WIN32_DIR}/rizuz.def)
  target_link_libraries(${target} PRIVATE PALKIT_import CIF95DLL_import)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
