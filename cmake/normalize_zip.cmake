# Run by CPack after packing: the zip's time fields (modification, access and change times)
# all become the release date, so that the archive's bytes depend on its files alone.
set(release_date_epoch 1796947200)  # 2026-12-11 00:00 UTC
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND strip-nondeterminism --type zip --timestamp ${release_date_epoch}
                            ${package}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
    endif()
endforeach()
