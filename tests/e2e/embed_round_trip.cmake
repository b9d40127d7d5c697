# The host packer embedding a resource into copies of the built programs, as
# a game master runs it: the resource reads back byte for byte, every other
# resource and every section stay as they were (the desktop program's
# .shared section still shared), and each refusal leaves no file behind.
#   cmake -DPACKER=... -DOBJDUMP=... -DOBJCOPY=... [-DWRESTOOL=...] -DRESOURCE=...
#         -DPROGRAMS="a.exe;b.exe" -DWORK=... -P embed_round_trip.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# The section lines of objdump -h: name, size, addresses and file offset,
# then the flags on the line below.
function(section_lines program out)
    execute_process(COMMAND ${OBJDUMP} -h ${program} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "\n +[0-9]+ [^\n]*\n[^\n]*" lines "${text}")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# The resources wrestool lists, without their offsets in the file.
function(resource_lines program out)
    execute_process(COMMAND ${WRESTOOL} -l ${program} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX REPLACE "offset=0x[0-9a-f]+ " "" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect_refusal what rules program)
    execute_process(COMMAND ${PACKER} embed ${rules} ${program} ${WORK}/refused.exe
                    RESULT_VARIABLE failed ERROR_VARIABLE message)
    file(GLOB left ${WORK}/refused.exe*)
    if(NOT failed OR left)
        message(FATAL_ERROR "${what}: embed did not refuse, or left ${left}")
    endif()
    message(STATUS "${what}: ${message}")
endfunction()

foreach(program ${PROGRAMS})
    get_filename_component(name ${program} NAME)
    set(embedded ${WORK}/${name})
    execute_process(COMMAND ${PACKER} embed ${RESOURCE} ${program} ${embedded} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${PACKER} extract ${embedded} ${WORK}/${name}.bin COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${RESOURCE} ${WORK}/${name}.bin
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${name}: the resource read back is not the one embedded")
    endif()

    # Every section keeps its place, size and flags (the old resources'
    # section only its name); the new section comes last.
    section_lines(${program} before)
    section_lines(${embedded} after)
    list(LENGTH before count)
    list(SUBLIST after 0 ${count} kept)
    string(REPLACE ".rsrc   " ".oldrsrc" before "${before}")
    if(NOT "${kept}" STREQUAL "${before}")
        message(FATAL_ERROR "${name}: sections changed:\n${before}\n---\n${kept}")
    endif()
    if(name STREQUAL "vellumrules.exe" AND NOT "${after}" MATCHES "\\.shared [^\n]*\n[^\n]*SHARED")
        message(FATAL_ERROR "${name}: the .shared section is no longer shared")
    endif()

    # Every resource but the rules is listed as before, with its size.
    if(WRESTOOL)
        resource_lines(${program} before)
        resource_lines(${embedded} after)
        string(REGEX REPLACE "--type='DATAFILES'[^\n]*\n" "" before "${before}")
        string(REGEX REPLACE "--type='DATAFILES'[^\n]*\n" "" after "${after}")
        if(NOT "${after}" STREQUAL "${before}")
            message(FATAL_ERROR "${name}: resources changed:\n${before}\n---\n${after}")
        endif()
    endif()
endforeach()

list(GET PROGRAMS 0 program)
expect_refusal("a foreign file" ${RESOURCE} ${RESOURCE})
expect_refusal("a resource that is no rules image" ${program} ${program})
execute_process(COMMAND ${OBJCOPY} --remove-section=.rsrc ${program} ${WORK}/no-resources.exe
                COMMAND_ERROR_IS_FATAL ANY)
expect_refusal("a program whose resource section was removed" ${RESOURCE} ${WORK}/no-resources.exe)
file(REMOVE_RECURSE ${WORK})
