# cmake -DARQUIVO=<file> -DPROIBIDOS=<a;b;...> -P SemTextos.cmake: fails when the file holds
# any of the strings (a test that code meant for test builds stayed out of a shipped binary).
foreach(_texto IN LISTS PROIBIDOS)
  file(STRINGS "${ARQUIVO}" _achados REGEX "${_texto}")
  if(_achados)
    message(FATAL_ERROR "${ARQUIVO} holds \"${_texto}\"")
  endif()
endforeach()
message(STATUS "${ARQUIVO}: none of ${PROIBIDOS}")
