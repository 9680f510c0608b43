# Configures a second build folder with PONENCIAS_DATA_FILE naming a small non-sample file, builds
# only the application folder's data, and checks what the folder holds. Also: a missing file
# stops the configure step naming it, a file that is not a proposals database stops the build
# with the store's message, and a changed file rebuilds only what derives from it. Built like the
# calling build (compiler, type, sanitizers), so the compiler cache serves most of it.
#
# cmake -DSOURCE_DIR= -DWORK_DIR= -DMAKE_STORE= -DNOT_PROPOSALS= -DAPPLICATION_FILES=
#       -DGENERATOR= -DBUILD_TYPE= -DWERROR= -DSANITIZE= -DCXX= -DCC= -P CheckDataFileBuild.cmake

include(${APPLICATION_FILES})

set(build ${WORK_DIR}/build)
set(bin ${build}/bin)
file(MAKE_DIRECTORY ${WORK_DIR})
file(REMOVE_RECURSE ${bin})

function(run)
    cmake_parse_arguments(ARG "FAIL" "OUTPUT" "COMMAND" ${ARGN})
    execute_process(COMMAND ${ARG_COMMAND} WORKING_DIRECTORY ${WORK_DIR}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(ARG_FAIL AND status EQUAL 0)
        message(FATAL_ERROR "expected a failure from: ${ARG_COMMAND}\n${out}${err}")
    elseif(NOT ARG_FAIL AND NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARG_COMMAND}\n${out}${err}")
    endif()
    if(ARG_OUTPUT)
        set(${ARG_OUTPUT} "${out}${err}" PARENT_SCOPE)
    endif()
endfunction()

function(configure data_file)
    run(${ARGN} COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G ${GENERATOR}
        -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_C_COMPILER=${CC}
        -DPONENCIAS_WERROR=${WERROR} -DPONENCIAS_SANITIZE=${SANITIZE} -DPONENCIAS_BUILD_TESTS=OFF -DPONENCIAS_BUILD_BENCH=OFF
        -DPONENCIAS_DATA_FILE=${data_file})
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(expect_in text needle what)
    string(FIND "${text}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what}: «${needle}» not found in:\n${text}")
    endif()
endfunction()

run(COMMAND ${MAKE_STORE} ${WORK_DIR}/otra-base.db)

# A missing file, given relatively: the configure step stops and names it as resolved.
configure(no-existe.mdb FAIL OUTPUT output)
expect_in("${output}" "${WORK_DIR}/no-existe.mdb" "missing data file")

# An Access file without PONENCIAS: the build stops with the store's numbered message.
configure(${NOT_PROPOSALS})
run(FAIL OUTPUT output COMMAND ${CMAKE_COMMAND} --build ${build} --target application_data)
expect_in("${output}" "Error 3078: " "not a proposals database")
expect_in("${output}" "${NOT_PROPOSALS}" "not a proposals database")
if(EXISTS ${bin}/${PONENCIAS_DATA_FILE_NAME})
    message(FATAL_ERROR "a file that is not a proposals database was delivered")
endif()

# The small non-sample file, by a path relative to the configuring folder.
configure(otra-base.db)
run(COMMAND ${CMAKE_COMMAND} --build ${build} --target application_data)
file(SHA256 ${WORK_DIR}/otra-base.db given)
file(SHA256 ${bin}/${PONENCIAS_DATA_FILE_NAME} delivered)
if(NOT given STREQUAL delivered)
    message(FATAL_ERROR "bin/Ponencias.mdb is not the data file byte for byte")
endif()
foreach(name "${PONENCIAS_WORKBOOK_FILE_NAME}" "${PONENCIAS_GLOSSARY_FILE_NAME}"
        "${PONENCIAS_TYPOLOGY_FILE_NAME}")
    if(NOT EXISTS "${bin}/${name}")
        message(FATAL_ERROR "missing from bin: ${name}")
    endif()
endforeach()

# The workbook holds the file's rows and none of the sample's.
file(REMOVE_RECURSE ${WORK_DIR}/xlsx)
file(MAKE_DIRECTORY ${WORK_DIR}/xlsx)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${bin}/${PONENCIAS_WORKBOOK_FILE_NAME}"
    WORKING_DIRECTORY ${WORK_DIR}/xlsx RESULT_VARIABLE status)
file(GLOB parts ${WORK_DIR}/xlsx/xl/worksheets/sheet1.xml ${WORK_DIR}/xlsx/xl/sharedStrings.xml)
set(sheet "")
foreach(part ${parts})
    file(READ ${part} text)
    string(APPEND sheet "${text}")
endforeach()
foreach(value "Título único de Zoë" "Islas Ñúblicas" "Pingüinos d&apos;Aragón")
    string(FIND "${sheet}" "${value}" at)
    if(at EQUAL -1)
        string(REPLACE "&apos;" "'" value "${value}")
        expect_in("${sheet}" "${value}" "Ponencias.xls")
    endif()
endforeach()
string(FIND "${sheet}" "Aguascalientes" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "Ponencias.xls holds the sample's rows")
endif()

# The typology names the file's values.
run(OUTPUT typology COMMAND pdftotext -enc UTF-8 "${bin}/${PONENCIAS_TYPOLOGY_FILE_NAME}" -)
expect_in("${typology}" "Ultramaría" "Tipología de Variables.pdf")

# Nothing to do while the data file stays; once it changes, the copy, the workbook and the
# typology are made again, the glossary is not.
run(COMMAND ${CMAKE_COMMAND} --build ${build} --target application_data OUTPUT unchanged)
string(FIND "${unchanged}" "Deriving" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "an unchanged data file rebuilt documents:\n${unchanged}")
endif()
set(documents ${PONENCIAS_DELIVERED_FILES})
foreach(name ${documents})
    file(TIMESTAMP "${bin}/${name}" before_${name} "%s")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
file(TOUCH ${WORK_DIR}/otra-base.db)
run(COMMAND ${CMAKE_COMMAND} --build ${build} --target application_data)
foreach(name ${documents})
    file(TIMESTAMP "${bin}/${name}" after "%s")
    if(name STREQUAL PONENCIAS_GLOSSARY_FILE_NAME AND NOT after STREQUAL before_${name})
        message(FATAL_ERROR "a change of the data file rebuilt the glossary")
    elseif(NOT name STREQUAL PONENCIAS_GLOSSARY_FILE_NAME AND after STREQUAL before_${name})
        message(FATAL_ERROR "a change of the data file did not rebuild ${name}")
    endif()
endforeach()

# The consultation's own glossary, given in PONENCIAS_DOCUMENTS_DIR, is delivered as it is; the
# documents it lacks are still derived from the data file.
file(MAKE_DIRECTORY ${WORK_DIR}/documentos)
file(WRITE "${WORK_DIR}/documentos/${PONENCIAS_GLOSSARY_FILE_NAME}" "%PDF-1.4 glosario de la consulta\n")
configure(otra-base.db)
run(COMMAND ${CMAKE_COMMAND} -DPONENCIAS_DOCUMENTS_DIR=documentos ${build})
run(COMMAND ${CMAKE_COMMAND} --build ${build} --target application_data)
file(SHA256 "${WORK_DIR}/documentos/${PONENCIAS_GLOSSARY_FILE_NAME}" given)
file(SHA256 "${bin}/${PONENCIAS_GLOSSARY_FILE_NAME}" delivered)
if(NOT given STREQUAL delivered)
    message(FATAL_ERROR "the glossary of PONENCIAS_DOCUMENTS_DIR was not delivered as it is")
endif()
run(OUTPUT typology COMMAND pdftotext -enc UTF-8 "${bin}/${PONENCIAS_TYPOLOGY_FILE_NAME}" -)
expect_in("${typology}" "Ultramaría" "Tipología de Variables.pdf beside a given glossary")
run(COMMAND ${CMAKE_COMMAND} -UPONENCIAS_DOCUMENTS_DIR ${build})
message(STATUS "the application folder follows PONENCIAS_DATA_FILE")
