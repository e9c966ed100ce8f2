# The compilers of the posix thread model give std::mutex and friends; -static
# leaves no runtime DLL beside the program.
set(CMAKE_C_COMPILER ${TARVO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVO_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
