# Writes the vellum manual page with help2man: the program's --help and
# --version, each command's --help as a section of its own, and the
# hand-written sections of vellum.h2m.
#   cmake -DVELLUM=... -DHELP2MAN=... -DINCLUDE=vellum.h2m -DWORK=dir -DOUTPUT=vellum.1 -P make_man_page.cmake
set(commands categories list show find filter roll)
file(READ ${INCLUDE} sections)
string(APPEND sections "\n[COMMANDS]\n")
foreach(command ${commands})
    execute_process(COMMAND ${VELLUM} ${command} --help
        OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "vellum ${command} --help failed")
    endif()
    # roff: a backslash is written doubled; a line may not start with a dot.
    string(REPLACE "\\" "\\\\" help "${help}")
    string(REGEX REPLACE "\n\\." "\n\\\\&." help "${help}")
    string(APPEND sections ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${WORK}/vellum-man.h2m "${sections}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr
        --name "the Vellum Rules compendium and dice roller in a terminal"
        --include ${WORK}/vellum-man.h2m --output ${OUTPUT} ${VELLUM}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed")
endif()
