# Compresses INPUT into OUTPUT with GZIP, as Debian wants its documents: the most, and
# without a time stamp, so that the same input gives the same bytes. Run with cmake -P, so
# that no shell splits the paths; OUTPUT appears whole or not at all.
#   cmake -DGZIP=... -DINPUT=... -DOUTPUT=... -P gzip_file.cmake
execute_process(COMMAND "${GZIP}" -9nc "${INPUT}"
                OUTPUT_FILE "${OUTPUT}.part"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}.part")
    message(FATAL_ERROR "gzip ${INPUT}: ${status}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
