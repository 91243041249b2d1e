# kestrum_crt_free(target): builds a GUI program with no C runtime: its own entry point,
# no heap, no exceptions or RTTI, importing only the system DLLs it names.
function(kestrum_crt_free target)
  target_compile_options(${target} PRIVATE ${KESTRUM_BARE_OPTIONS})
  target_link_options(${target} PRIVATE -nostdlib -mwindows -Wl,--subsystem,windows:4.0
                      -Wl,--gc-sections -s)
  target_link_libraries(${target} PRIVATE -lkernel32 -luser32 -lcomdlg32 -lgcc)
endfunction()
