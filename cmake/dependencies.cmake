# zlib from libz-mingw-w64-dev; minizip's unzip side compiled from Debian's source package.
find_library(XPBOOT_ZLIB NAMES libz.a z REQUIRED)
find_path(XPBOOT_ZLIB_INCLUDE zlib.h REQUIRED)

if(NOT EXISTS "${XPBOOT_MINIZIP_DIR}/unzip.c")
  message(FATAL_ERROR "minizip sources not found in ${XPBOOT_MINIZIP_DIR}: run scripts/setup.sh")
endif()

add_library(minizip_unzip STATIC
    ${XPBOOT_MINIZIP_DIR}/unzip.c
    ${XPBOOT_MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip_unzip SYSTEM PUBLIC ${XPBOOT_MINIZIP_DIR} ${XPBOOT_ZLIB_INCLUDE})
# The archive is read through our own Win32 file functions, never fopen64.
target_compile_definitions(minizip_unzip PUBLIC NOUNCRYPT USE_FILE32API)
target_compile_options(minizip_unzip PRIVATE -w)
target_link_libraries(minizip_unzip PUBLIC ${XPBOOT_ZLIB})

# minizip's zip side, for mkboot1. Its output file goes through the Win32 file functions
# (iowin32.c) so that any path the user names can be written.
add_library(minizip_zip STATIC
    ${XPBOOT_MINIZIP_DIR}/zip.c
    ${XPBOOT_MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip_zip SYSTEM PUBLIC ${XPBOOT_MINIZIP_DIR} ${XPBOOT_ZLIB_INCLUDE})
target_compile_definitions(minizip_zip PUBLIC NOCRYPT)
target_compile_options(minizip_zip PRIVATE -w)
target_link_libraries(minizip_zip PUBLIC minizip_unzip ${XPBOOT_ZLIB})
