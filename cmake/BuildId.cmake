# The build as a bug report names it: the commit's short hash (as `git rev-parse --short HEAD`
# prints it) and its date, so that two builds of one version can be told apart. Sets
#   ZAVOTA_BUILD_ID         the hash, or "not a git checkout"
#   ZAVOTA_PACKAGE_VERSION  2.10.0+git<yyyymmdd>.<hash>, or 2.10.0 outside a checkout
#   ZAVOTA_VERSION_LINE     what --version says after the program's name
#   ZAVOTA_BUILD_SOURCE     what the changelog's entry for the build says it was built from
#   ZAVOTA_BUILD_DATE       the commit's time as Debian's changelog writes it (else the build's)
# A commit reconfigures the build, so the hash never lags behind.
set(ZAVOTA_BUILD_ID "not a git checkout")
set(ZAVOTA_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(ZAVOTA_VERSION_LINE "${ZAVOTA_PACKAGE_VERSION} (not a git checkout)")
set(ZAVOTA_BUILD_SOURCE "a source tree outside a git checkout")
string(TIMESTAMP ZAVOTA_BUILD_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

find_package(Git QUIET)
if(GIT_FOUND)
  # Only this source tree's own repository: a tarball unpacked inside another checkout is not one.
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE top RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${CMAKE_SOURCE_DIR}" source)
  endif()
  if(NOT failed AND top STREQUAL source)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short HEAD
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE hash RESULT_VARIABLE failed
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # The commit's time in UTC with English names, whatever the builder's zone and locale.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC LC_ALL=C
        ${GIT_EXECUTABLE} log -1 --format=%cd "--date=format-local:%Y%m%d|%a, %d %b %Y %H:%M:%S +0000" HEAD
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE dates RESULT_VARIABLE failedDate
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT failed AND NOT failedDate AND hash MATCHES "^[0-9a-f]+$")
      string(REPLACE "|" ";" dates "${dates}")
      list(GET dates 0 day)
      list(GET dates 1 ZAVOTA_BUILD_DATE)
      set(ZAVOTA_BUILD_ID ${hash})
      set(ZAVOTA_PACKAGE_VERSION ${PROJECT_VERSION}.0+git${day}.${hash})
      set(ZAVOTA_VERSION_LINE ${ZAVOTA_PACKAGE_VERSION})
      set(ZAVOTA_BUILD_SOURCE "commit ${hash}")
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path logs/HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      foreach(file ${log} ${head})
        if(NOT IS_ABSOLUTE "${file}")
          set(file ${CMAKE_SOURCE_DIR}/${file})
        endif()
        if(EXISTS "${file}")
          set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
        endif()
      endforeach()
    endif()
  endif()
endif()
message(STATUS "Zavota build: ${ZAVOTA_VERSION_LINE}")
