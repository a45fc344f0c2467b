# add_qt_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# One Qt Test program, registered with CTest and run on the offscreen platform so that
# widget tests need no display.
function(add_qt_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
