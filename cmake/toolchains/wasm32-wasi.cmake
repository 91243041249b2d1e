# WebAssembly for the browser page: Debian's clang with wasi-libc and libc++ for wasm32. The
# module is a library the page calls (a WASI reactor): no start routine, no imports.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(KESTRUM_WEB_ONLY ON CACHE BOOL "Build only the browser page" FORCE)
