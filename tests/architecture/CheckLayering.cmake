cmake_minimum_required(VERSION 3.25)

# Reads the link closures written at configure time and checks them:
#  - a library links only libraries of lower layers (the layer of each is
#    its rank below; ui and editing share one and may not link each other);
#  - the core libraries link neither Qt Widgets nor Qt Print Support, so the
#    document, its objects, their output and the editing engine run without
#    widgets (and their tests without a display).

set(rank_vekta_resources 0)
set(rank_vekta_foundation 1)
set(rank_vekta_document 2)
set(rank_vekta_output 3)
set(rank_vekta_view 4)
set(rank_vekta_objects 5)
set(rank_vekta_images 6)
set(rank_vekta_editing 7)
set(rank_vekta_ui 7)
set(rank_vekta_app 8)
set(core vekta_foundation vekta_document vekta_view vekta_objects vekta_output vekta_editing vekta_images)
set(widgets Qt6::Widgets Qt::Widgets Qt6::PrintSupport Qt::PrintSupport)

file(STRINGS "${CLOSURES}" lines)
if(NOT lines)
  message(FATAL_ERROR "no link closures in ${CLOSURES}")
endif()
set(faults "")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([^:]+): (.*)$" matched "${line}")
  set(library "${CMAKE_MATCH_1}")
  set(closure "${CMAKE_MATCH_2}")
  foreach(linked IN LISTS closure)
    if(DEFINED rank_${linked} AND NOT rank_${linked} LESS rank_${library})
      string(APPEND faults "  ${library} links ${linked}, which lies above it or beside it\n")
    endif()
    if(library IN_LIST core AND linked IN_LIST widgets)
      string(APPEND faults "  ${library} is a core library and links ${linked}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "The libraries' layering is broken:\n${faults}")
endif()
list(LENGTH lines count)
message(STATUS "${count} libraries checked: dependencies run one way, the core links no widgets")
