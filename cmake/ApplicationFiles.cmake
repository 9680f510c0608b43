# The application folder's delivered files, under the names the program opens them by. The C++
# code names them in src/store/ApplicationFolder.h; every CMake file and script takes them from
# here.
set(PONENCIAS_DATA_FILE_NAME "Ponencias.mdb")
set(PONENCIAS_WORKBOOK_FILE_NAME "Ponencias.xls")
set(PONENCIAS_GLOSSARY_FILE_NAME "Glosario de términos.pdf")
set(PONENCIAS_TYPOLOGY_FILE_NAME "Tipología de Variables.pdf")
set(PONENCIAS_DELIVERED_FILES "${PONENCIAS_DATA_FILE_NAME}" "${PONENCIAS_WORKBOOK_FILE_NAME}"
    "${PONENCIAS_GLOSSARY_FILE_NAME}" "${PONENCIAS_TYPOLOGY_FILE_NAME}")
