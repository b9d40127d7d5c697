# The menu bar bitmap as another program reads it: vellumicon --bitmap draws
# a test pattern, and ImageMagick must find each coloured pixel where the
# source put it (strip order, bottom-up rows, the left pixel of a byte in its
# high half) and the file must be a 4-bit bitmap of 48 x 16.
#   cmake -DICONMAKER=... -DIDENTIFY=... -DSOURCE=... -DWORK=... -P bitmap_read_by_imagemagick.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${ICONMAKER} --bitmap ${SOURCE} ${WORK}/pattern.bmp COMMAND_ERROR_IS_FATAL ANY)
set(format "%m %wx%h %z")
set(expected "BMP3 48x16 4")
foreach(pixel "0,0 FF0000" "1,0 00FF00" "2,0 C0C0C0" "0,15 0000FF" "16,0 FFFF00" "47,15 FFFFFF"
              "46,15 C0C0C0")
    string(REPLACE " " ";" parts ${pixel})
    list(GET parts 0 at)
    list(GET parts 1 colour)
    string(APPEND format " ${at}=%[hex:p{${at}}]")
    string(APPEND expected " ${at}=${colour}")
endforeach()
execute_process(COMMAND ${IDENTIFY} -format ${format} ${WORK}/pattern.bmp
                OUTPUT_VARIABLE found COMMAND_ERROR_IS_FATAL ANY)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "ImageMagick reads\n  ${found}\nnot\n  ${expected}")
endif()
file(REMOVE_RECURSE ${WORK})
