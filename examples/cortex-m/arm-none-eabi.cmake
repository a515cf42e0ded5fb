# Cross compiling for a bare Cortex-M with Debian's gcc-arm-none-eabi: no
# operating system, no C library (the firmware links with -nostdlib).
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-none-eabi-gcc)
# Without a C library no test program links: the compiler is checked on a
# static library instead.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_C_FLAGS_INIT "-mcpu=cortex-m4 -mthumb")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mcpu=cortex-m4 -mthumb -nostdlib")
# Programs (sfmaker among them) run on the build machine; the firmware has no
# libraries or headers to find elsewhere.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
