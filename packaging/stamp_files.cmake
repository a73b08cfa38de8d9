# Run by CPack after it has installed into its staging folder and before it packs: every file and
# folder gets the time of SOURCE_DATE_EPOCH (scripts/release sets it to the last commit's), so two
# releases of the same sources are the same bytes.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
if(staged)
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${CPACK_TEMPORARY_INSTALL_DIRECTORY} ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
