# kestrum_probe_wine(): judges whether Wine runs this build's Windows programs by running
# one, a program that does nothing, built with the cross compiler and started through the
# build tree's wine-run.sh, which makes the prefix as it does for every test. Asking Wine
# for its version proves nothing: Debian's wine script answers it with 64-bit Wine alone.
# Where the program does not run, KESTRUM_WINE_UNUSABLE is set in the caller and
# wine-probe.txt in the build tree holds why, in one line, for the tests that are then
# reported as skipped and for scripts/run.sh; where it runs, the file is empty.
function(kestrum_probe_wine)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(program ${CMAKE_BINARY_DIR}/wine-probe.exe)
  try_compile(built SOURCE_FROM_CONTENT wine_probe.cpp "int main() { return 0; }"
              LINK_OPTIONS -static COPY_FILE ${program} OUTPUT_VARIABLE log)
  if(NOT built)
    message(FATAL_ERROR "the cross compiler cannot build a program that does nothing:\n${log}")
  endif()
  # Wine's hints and errors are shown, which wine-run.sh hides from the tests.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=fixme-all
                          ${CMAKE_BINARY_DIR}/wine-run.sh ${program}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output
                  TIMEOUT 600)
  if(status STREQUAL "0")
    file(WRITE ${CMAKE_BINARY_DIR}/wine-probe.txt "")
    return()
  endif()
  # Debian's wine script says this where only 64-bit Wine is installed; the kernel's
  # ENOEXEC is what a kernel without 32-bit support answers to Wine's 32-bit loader.
  if(output MATCHES "wine32 is missing")
    set(cause "32-bit Wine is not installed (Debian's wine32:i386)")
  elseif(output MATCHES "Exec format error")
    set(cause "the kernel refuses ${bits}-bit code")
  else()
    string(REGEX MATCH "[^\n]+" first "${output}")
    if(NOT first)
      set(first "exit status ${status}")
    endif()
    set(cause "Wine fails to start: ${first}")
  endif()
  set(cause "${bits}-bit Windows programs do not run under Wine here: ${cause}")
  file(WRITE ${CMAKE_BINARY_DIR}/wine-probe.txt "${cause}\n")
  set(KESTRUM_WINE_UNUSABLE ON PARENT_SCOPE)
  message(WARNING "${cause}. The tests under Wine are built and reported as skipped.")
endfunction()
