# Shared build settings for both builds (native and i686 MinGW-w64).

add_compile_options(-Wall -Wextra -Werror)
if(WIN32)
  # A bare workstation has no MinGW runtime DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
# The program and the engine library, loaded at every start: with each section at a page
# boundary of the file, Wine maps the sections instead of reading and copying them, about 3 ms
# less per megabyte of image (Windows loads either layout).
function(tav_imagem_paginada ALVO)
  if(WIN32)
    target_link_options(${ALVO} PRIVATE -Wl,--file-alignment,4096)
  endif()
endfunction()
if(TAV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# One static library of every .cpp directly in FOLDER (not in its sub-folders).
function(tav_folder_library NAME FOLDER)
  if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${FOLDER})
    message(FATAL_ERROR "${NAME}: the folder ${FOLDER} does not exist")
  endif()
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${FOLDER}/*.cpp)
  if(_src)
    add_library(${NAME} STATIC ${_src})
    target_include_directories(${NAME} PUBLIC ${CMAKE_SOURCE_DIR})
    if(ARGN)
      target_link_libraries(${NAME} PUBLIC ${ARGN})
    endif()
  else()
    add_library(${NAME} INTERFACE)
    target_include_directories(${NAME} INTERFACE ${CMAKE_SOURCE_DIR})
    if(ARGN)
      target_link_libraries(${NAME} INTERFACE ${ARGN})
    endif()
  endif()
endfunction()


