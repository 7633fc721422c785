# The catalogues of the windows' texts, resources/translations/quorvale_<lang>.ts, kept in step
# with the sources by lupdate. Run as a script:
#   cmake -DLUPDATE=<lupdate> -DSOURCE_ROOT=<tree> -P cmake/Translations.cmake
# brings every catalogue up to date in place (the build's target quorvale_translations does
# that); with -DCHECK_DIR=<folder> it updates copies there instead and fails, naming the texts,
# when a text of the sources has no finished translation or a catalogue holds one the sources
# no longer have. A new language: an empty quorvale_<lang>.ts (<TS version="2.1"
# language="xx_XX"></TS>), this script, then its translations.
#
# The engine has no Qt: its texts are marked with its own TRANSLATABLE(context, text),
# which lupdate is told to read as QT_TRANSLATE_NOOP.
file(GLOB catalogues ${SOURCE_ROOT}/resources/translations/*.ts)
set(folders app controls engine platform printing update)
list(TRANSFORM folders PREPEND ${SOURCE_ROOT}/)
set(faults "")
foreach(catalogue ${catalogues})
    set(target ${catalogue})
    if(CHECK_DIR)
        get_filename_component(name ${catalogue} NAME)
        set(target ${CHECK_DIR}/${name})
        file(COPY_FILE ${catalogue} ${target})
    endif()
    execute_process(
        COMMAND ${LUPDATE} -silent -locations none -extensions cpp,h -I ${SOURCE_ROOT}
                -tr-function-alias QT_TRANSLATE_NOOP+=TRANSLATABLE ${folders} -ts ${target}
        COMMAND_ERROR_IS_FATAL ANY)
    if(CHECK_DIR)
        file(READ ${target} text)
        string(REGEX MATCHALL "<source>([^<]|<byte value=\"x[0-9a-f]+\"/>)*</source>[^<]*<translation type=\"(unfinished|obsolete|vanished)\""
               open "${text}")
        foreach(entry ${open})
            string(REGEX REPLACE "<source>(.*)</source>.*type=\"([a-z]+)\"" "\\2: \\1" entry "${entry}")
            string(APPEND faults "  ${name}: ${entry}\n")
        endforeach()
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "Texts without a finished translation, or no longer in the sources "
                        "(cmake --build <build> --target quorvale_translations, then translate):\n${faults}")
endif()
