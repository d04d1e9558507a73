# Each folder is a library whose code sees only the folders below it. Its include path is a
# folder of links to those folders alone, so an include of any other folder fails to compile
# (tools/check-layers.py checks the same on the sources).

# kestrova_view(TARGET folder...): TARGET's code sees only these folders of the source tree.
function(kestrova_view target)
  set(view ${CMAKE_BINARY_DIR}/views/${target})
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS ${view}/${folder})
      get_filename_component(parent ${view}/${folder} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
endfunction()

# kestrova_library(NAME SEES folder... SOURCES file... [LINKS target...])
function(kestrova_library name)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "" "SEES;SOURCES;LINKS")
  add_library(${name} STATIC ${L_SOURCES})
  kestrova_view(${name} ${L_SEES})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
  kestrova_warnings(${name})
  kestrova_strict(${name})
endfunction()
