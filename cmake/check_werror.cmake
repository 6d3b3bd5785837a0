# cmake -DDB=compile_commands.json -DWERROR=ON|OFF -P check_werror.cmake
# Fails unless -Werror reaches the compile commands exactly when
# MORVANE_WERROR is on: a default build must survive a new compiler's warning.
file(READ "${DB}" db)
string(FIND "${db}" " -Wall" wall)
if(wall EQUAL -1)
  message(FATAL_ERROR "${DB} holds no command with the project's warning flags")
endif()
string(REGEX MATCH "-Werror[ \"]" werror "${db}")
if(WERROR AND NOT werror)
  message(FATAL_ERROR "MORVANE_WERROR is on, but no compile command has -Werror")
elseif(NOT WERROR AND werror)
  message(FATAL_ERROR "MORVANE_WERROR is off, but a compile command has -Werror")
endif()
