# Cross-builds for s390x, a big-endian machine, with Debian's cross compiler
# (g++-s390x-linux-gnu). The libraries the build finds come from TETRAKON_S390X_SYSROOT,
# where tools/check-big-endian.sh unpacks Debian's s390x packages; the C and C++ runtime
# is the cross compiler's own, in /usr/s390x-linux-gnu. The programs run under qemu, which
# the configuring command names as CMAKE_CROSSCOMPILING_EMULATOR: build steps (the model
# conversion) and ctest put it before them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE s390x-linux-gnu)

# The compiler checks read this file again in a project of their own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TETRAKON_S390X_SYSROOT)
if(NOT TETRAKON_S390X_SYSROOT)
    message(FATAL_ERROR "set TETRAKON_S390X_SYSROOT to the unpacked s390x packages")
endif()

set(CMAKE_FIND_ROOT_PATH ${TETRAKON_S390X_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# libjpeg's jconfig.h lies in the multiarch include folder, which only the native
# compiler searches by itself.
set(CMAKE_C_FLAGS_INIT "-isystem ${TETRAKON_S390X_SYSROOT}/usr/include/s390x-linux-gnu")
set(CMAKE_CXX_FLAGS_INIT "-isystem ${TETRAKON_S390X_SYSROOT}/usr/include/s390x-linux-gnu")
