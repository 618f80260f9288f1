# Installs the build into a scratch prefix and checks that the program and
# its manual page arrive.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P install_check.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(installed bin/fravlin share/man/man1/fravlin.1)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "${installed} was not installed")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
