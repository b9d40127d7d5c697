# The packer as users run it: pack the shipped content, unpack the resource
# into a fresh folder, pack that again; both resources must be identical.
#   cmake -DPACKER=... -DCONTENT=... -DWORK=... -P packer_round_trip.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PACKER} pack ${CONTENT} ${WORK}/first.bin COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PACKER} unpack ${WORK}/first.bin ${WORK}/unpacked COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PACKER} pack ${WORK}/unpacked ${WORK}/second.bin COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/first.bin ${WORK}/second.bin
                RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "unpacking and packing again changed the resource")
endif()
file(REMOVE_RECURSE ${WORK})
