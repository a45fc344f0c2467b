# add_benchmark(<name> SOURCES <files...> LIBRARIES <targets...>)
# One Google Benchmark program. Benchmarks are built by the default preset and run by hand,
# never by the tests.
function(add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBRARIES})
endfunction()
